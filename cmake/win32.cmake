# Win32 build: the module, the host and the tests that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# No mingw runtime DLLs to ship or find under Wine.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# Win32 bindings of the core's seams: texts, registry, code page, files,
# message boxes and file dialogs (src/win32/bindings/).
add_library(vantrel_win32 STATIC
  src/win32/bindings/debug_trace.cpp
  src/win32/bindings/local_now.cpp
  src/win32/bindings/local_zone.cpp
  src/win32/bindings/module_text_table.cpp
  src/win32/bindings/win32_registry.cpp
  src/win32/bindings/win32_codec.cpp
  src/win32/bindings/win32_file_access.cpp
  src/win32/bindings/win32_prompt.cpp
)
target_include_directories(vantrel_win32 PUBLIC src)
target_link_libraries(vantrel_win32 PUBLIC vantrel_core
                      PRIVATE vantrel_warnings advapi32 comdlg32 user32)

# The device substitutes: the shell services, the Pocket Outlook objects and
# their replacement store (src/platform/).
add_library(vantrel_platform STATIC
  src/platform/shell.cpp
  src/platform/poom_store/poom_objects.cpp
  src/platform/poom_store/poom_display.cpp
)
target_link_libraries(vantrel_ical PUBLIC vantrel_win32)
target_link_libraries(vantrel_platform PUBLIC vantrel_win32 vantrel_ics_store
                      PRIVATE vantrel_warnings user32 gdi32 msimg32 ole32 oleaut32 uuid
                      windowscodecs)

# The Outlook session over the object model (src/win32/outlook/).
add_library(vantrel_outlook STATIC src/win32/outlook/outlook_session.cpp)
target_link_libraries(vantrel_outlook PUBLIC vantrel_platform
                      PRIVATE vantrel_warnings ole32 oleaut32 uuid)

# The module the Today screen loads: the item's window and dialogs and the
# options sheet (src/win32/item/, src/win32/options/).
add_library(vantrel SHARED
  src/win32/item/item_entry.cpp
  src/win32/item/item_window.cpp
  src/win32/item/item_paint.cpp
  src/win32/item/item_commands.cpp
  src/win32/item/edit_dialog.cpp
  src/win32/item/tag_dialog.cpp
  src/win32/options/options_entry.cpp
  src/win32/options/option_controls.cpp
  src/win32/options/basic_page.cpp
  src/win32/options/display_pages.cpp
  src/win32/options/day_range_page.cpp
  src/win32/options/colour_page.cpp
  src/win32/options/operation_pages.cpp
  src/win32/options/colour_chooser_dialog.cpp
  resources/vantrel.rc
  resources/vantrel.def
)
set_target_properties(vantrel PROPERTIES PREFIX "" OUTPUT_NAME vantrel)
target_link_libraries(vantrel PRIVATE vantrel_outlook vantrel_warnings gdi32 msimg32 comctl32 comdlg32)
# windres writes no dependency file: what vantrel.rc includes.
set(rc_includes strings.inc options_dialogs.rc resource_ids.h)
list(TRANSFORM rc_includes PREPEND ${CMAKE_SOURCE_DIR}/resources/)
set_source_files_properties(resources/vantrel.rc PROPERTIES OBJECT_DEPENDS "${rc_includes}")
target_include_directories(vantrel PRIVATE resources)

# GoogleTest from the distribution's sources, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Wine runs every test process in the build tree's private prefix; the
# scripts prepare it (null display driver) and keep a wineserver running.
set(VANTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VANTREL_WINE_ENV "WINEPREFIX=${VANTREL_WINEPREFIX}" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")

add_executable(vantrel_win32_tests
  tests/win32/string_table_win32_test.cpp
  tests/win32/settings_registry_win32_test.cpp
  tests/win32/data_file_win32_test.cpp
  tests/win32/outlook_win32_test.cpp
  tests/win32/today_window_win32_test.cpp
  tests/win32/item_commands_win32_test.cpp
  tests/win32/options_win32_test.cpp
  tests/win32/option_pages_win32_test.cpp
  tests/win32/colour_page_win32_test.cpp
  tests/win32/item_menus_win32_test.cpp
  tests/win32/sheet_layout_win32_test.cpp
  tests/win32/screen_density_win32_test.cpp
  tests/win32/host_scenario_win32_test.cpp
  tests/win32/file_dialog_win32_test.cpp
  tests/win32/glyph_win32_test.cpp
)
target_link_libraries(vantrel_win32_tests PRIVATE vantrel_outlook vantrel_warnings gtest_main gdi32 comctl32)
target_include_directories(vantrel_win32_tests PRIVATE tests resources)
add_dependencies(vantrel_win32_tests vantrel vantrel-host gsgetfile_standin)

# A stand-in for the outside file-dialog library, in a folder of its own:
# only the tests that put that folder on their DLL search path find it.
add_library(gsgetfile_standin SHARED tests/win32/gsgetfile_standin.cpp)
set_target_properties(gsgetfile_standin PROPERTIES PREFIX "" OUTPUT_NAME gsgetfile
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/standin)
target_link_libraries(gsgetfile_standin PRIVATE vantrel_warnings)
# The item's module keeps one window state per process: the suites that
# drive the item's window get a process of their own. All share the
# prefix's registry and files.
set(VANTREL_ITEM_SUITES "ItemCommandTest.*:OptionsTest.*:OptionPagesTest.*:ColourPageTest.*:ItemMenuTest.*:SheetLayoutTest.*:ScreenDensityTest.*")
# Wine gives a process the zone of the Unix TZ it inherits, and a Windows
# parent cannot set that for its children: the suites that need a device in
# Tokyo get a process started with it.
set(VANTREL_TOKYO_SUITES "HostScenarioInTokyo.*")
add_test(NAME win32_tests
         COMMAND vantrel_win32_tests --gtest_filter=-${VANTREL_ITEM_SUITES}:${VANTREL_TOKYO_SUITES}
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_test(NAME win32_command_tests COMMAND vantrel_win32_tests --gtest_filter=${VANTREL_ITEM_SUITES}
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(win32_tests win32_command_tests PROPERTIES
  ENVIRONMENT "${VANTREL_WINE_ENV}" TIMEOUT 600 RESOURCE_LOCK wineprefix)
add_test(NAME win32_tokyo_tests COMMAND vantrel_win32_tests --gtest_filter=${VANTREL_TOKYO_SUITES}
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(win32_tokyo_tests PROPERTIES
  ENVIRONMENT "${VANTREL_WINE_ENV};TZ=Asia/Tokyo" TIMEOUT 120 RESOURCE_LOCK wineprefix)

# The cross-built libical: parsing, time zones and recurrence under Wine.
add_executable(vantrel_libical_win32_test tests/win32/libical_win32_test.cpp)
target_link_libraries(vantrel_libical_win32_test PRIVATE vantrel_libical vantrel_warnings gtest_main)
add_test(NAME win32_libical COMMAND vantrel_libical_win32_test WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(win32_libical PROPERTIES
  ENVIRONMENT "${VANTREL_WINE_ENV}" TIMEOUT 120 RESOURCE_LOCK wineprefix)

# The Outlook import benchmark (run under Wine by hand; it reports, it does not test).
add_executable(vantrel_outlook_bench bench/win32/outlook_import_bench.cpp)
target_link_libraries(vantrel_outlook_bench PRIVATE vantrel_outlook vantrel_warnings)
target_include_directories(vantrel_outlook_bench PRIVATE ${CMAKE_SOURCE_DIR})

# The substitute Today screen, with the image strips beside it (it installs
# them where the item looks for them).
add_executable(vantrel-host host/vantrel_host.cpp host/host_script.cpp)
target_link_options(vantrel-host PRIVATE -municode)
target_link_libraries(vantrel-host PRIVATE vantrel_warnings windowscodecs ole32 gdi32 user32 comctl32)
target_include_directories(vantrel-host PRIVATE src resources)
add_dependencies(vantrel-host vantrel)
foreach(image vantrelcb.png vantrelpo.png)
  configure_file(${CMAKE_SOURCE_DIR}/resources/${image} ${CMAKE_BINARY_DIR}/bin/${image} COPYONLY)
endforeach()

# The package as a user unpacks it: made, unzipped into an empty folder and
# run from there (scripts/package makes the same zip into build/).
find_program(WINE_PROGRAM wine)
add_test(NAME win32_package
         COMMAND ${CMAKE_COMMAND} -DBIN=${CMAKE_BINARY_DIR}/bin -DSOURCE=${CMAKE_SOURCE_DIR}
                 -DVERSION=${PROJECT_VERSION} -DWORK=${CMAKE_BINARY_DIR}/package-test
                 -DWINE=${WINE_PROGRAM} -DSTRIP=${CMAKE_STRIP} -P ${CMAKE_SOURCE_DIR}/tests/package_test.cmake)
set_tests_properties(win32_package PROPERTIES
  ENVIRONMENT "${VANTREL_WINE_ENV}" TIMEOUT 300 RESOURCE_LOCK wineprefix)
