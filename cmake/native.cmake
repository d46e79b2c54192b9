# Native Linux build: unit tests, benchmarks and fuzz targets of the core.
find_package(GTest REQUIRED)
include(GoogleTest)

# Native bindings of the seams (src/native/): iconv for Shift_JIS, POSIX
# files.
add_library(vantrel_native STATIC
  src/native/iconv_codec.cpp
  src/native/std_file_access.cpp
  src/native/local_zone.cpp
)
target_link_libraries(vantrel_native PUBLIC vantrel_core PRIVATE vantrel_warnings)

# The host's time zone for the iCalendar engine: the C library's.
target_link_libraries(vantrel_ical PUBLIC vantrel_native)

# Own entries as iCalendar and back, over libical, in the C library's time
# zone. Only here: vantrel-list is the one user, and it is native.
add_library(vantrel_ics STATIC src/storage/ics_entries.cpp)
target_link_libraries(vantrel_ics PUBLIC vantrel_native vantrel_ical PRIVATE vantrel_warnings)

# The desktop companion: lists a data file's view, re-saves it, exports it
# as iCalendar or adds a calendar's events and to-dos.
add_executable(vantrel-list tools/vantrel_list.cpp)
target_link_libraries(vantrel-list PRIVATE vantrel_native vantrel_ics vantrel_warnings)

# What the store and vantrel-list show of a calendar at given moments, for
# the comparison with an independent engine.
add_executable(vantrel-ics-probe tools/vantrel_ics_probe.cpp)
target_link_libraries(vantrel-ics-probe PRIVATE vantrel_native vantrel_ics vantrel_ics_store
                      vantrel_warnings)

add_executable(vantrel_tests
  tests/date_time_test.cpp
  tests/date_parse_test.cpp
  tests/normalize_dates_test.cpp
  tests/item_list_test.cpp
  tests/tag_index_test.cpp
  tests/text_table_test.cpp
  tests/settings_store_test.cpp
  tests/settings_defaults_test.cpp
  tests/evaluate_item_test.cpp
  tests/standard_order_test.cpp
  tests/view_list_test.cpp
  tests/shift_jis_test.cpp
  tests/vrl_file_test.cpp
  tests/morvik_import_test.cpp
  tests/data_file_test.cpp
  tests/file_safety_test.cpp
  tests/record_merge_test.cpp
  tests/file_replace_test.cpp
  tests/recurrence_test.cpp
  tests/appointment_window_test.cpp
  tests/outlook_store_model_test.cpp
  tests/ics_store_test.cpp
  tests/ics_recurrence_test.cpp
  tests/today_layout_test.cpp
  tests/today_commands_test.cpp
  tests/edit_form_test.cpp
  tests/colour_chooser_test.cpp
  tests/option_rules_test.cpp
  tests/resource_ids_test.cpp
  tests/ics_entries_test.cpp
  tests/zone_names_test.cpp
  tests/ical_engine_test.cpp
  tests/ical_series_test.cpp
)
target_link_libraries(vantrel_tests PRIVATE vantrel_native vantrel_ics_store vantrel_ics vantrel_ical
                      vantrel_warnings
                      GTest::gtest_main)
target_include_directories(vantrel_tests PRIVATE tests resources)
# The resource ids test reads the .rc and .def files themselves.
target_compile_definitions(vantrel_tests PRIVATE VANTREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(vantrel_tests DISCOVERY_TIMEOUT 60)

# Seed corpora of the fuzz targets replay as ordinary tests. With clang,
# -DVANTREL_LIBFUZZER=ON builds the real libFuzzer targets instead.
foreach(target date_parse vrl_reader morvik_import outlook_store ics_store)
  if(VANTREL_LIBFUZZER)
    add_executable(${target}_fuzz fuzz/${target}_fuzz.cpp)
    target_compile_options(${target}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${target}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    add_executable(${target}_fuzz fuzz/${target}_fuzz.cpp fuzz/replay_main.cpp)
    file(GLOB seeds ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target}/*)
    add_test(NAME ${target}_fuzz_seeds COMMAND ${target}_fuzz ${seeds})
  endif()
  target_link_libraries(${target}_fuzz PRIVATE vantrel_native vantrel_ics_store vantrel_warnings)
  target_include_directories(${target}_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(vantrel_bench bench/calendar_bench.cpp bench/evaluate_item_bench.cpp
    bench/refresh_bench.cpp bench/vrl_file_bench.cpp)
  target_link_libraries(vantrel_bench PRIVATE vantrel_native vantrel_warnings benchmark::benchmark_main)
endif()

# The .ics store against libical's own parse: figures, not a test.
add_executable(vantrel_ics_bench bench/ics_store_bench.cpp)
target_link_libraries(vantrel_ics_bench PRIVATE vantrel_native vantrel_ics_store vantrel_warnings)
target_include_directories(vantrel_ics_bench PRIVATE ${CMAKE_SOURCE_DIR})

# The companion end to end: run it on a small file and compare its output.
add_test(NAME vantrel_list_end_to_end
  COMMAND ${CMAKE_COMMAND} -DLIST=$<TARGET_FILE:vantrel-list>
          -DSOURCE=${CMAKE_SOURCE_DIR}/tests/data -DWORK=${CMAKE_CURRENT_BINARY_DIR}/list_test
          -P ${CMAKE_SOURCE_DIR}/tests/vantrel_list_test.cmake)
# A fixed zone without daylight saving, for the iCalendar times.
set_tests_properties(vantrel_list_end_to_end PROPERTIES ENVIRONMENT TZ=JST-9)

# vantrel-list --save against awkward targets, and killed during saves.
add_test(NAME vantrel_list_save_safety
  COMMAND ${CMAKE_SOURCE_DIR}/tests/list_save_test.sh $<TARGET_FILE:vantrel-list>
          ${CMAKE_CURRENT_BINARY_DIR}/list_save_test 100)

# The reference the iCalendar engine is compared with, checked by hand.
add_test(NAME vantrel_ics_reference_selftest
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/ics_differential/selftest.py)

# The iCalendar engine against an independent one (recurring_ical_events):
# a few hundred generated calendars and the exporters' samples, each seen
# from three host zones at several moments.
if(TARGET vantrel-ics-probe)
  add_test(NAME vantrel_ics_differential
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/ics_differential/run.py
            $<TARGET_FILE:vantrel-ics-probe> ${CMAKE_BINARY_DIR}/ics-differential)
  set_tests_properties(vantrel_ics_differential PROPERTIES TIMEOUT 300)
endif()
