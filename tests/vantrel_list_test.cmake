# Runs vantrel-list on a small data file: its listing, its re-save and its
# errors. Called by CTest with LIST (the program), SOURCE (tests/data) and
# WORK (a scratch folder).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(expect_output name expected_file)
  execute_process(COMMAND ${LIST} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit ${rc}: ${err}")
  endif()
  file(READ ${expected_file} expected)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "${name}: got\n${out}\nexpected\n${expected}")
  endif()
endfunction()

function(expect_failure name rc_expected stderr_expected)
  execute_process(COMMAND ${LIST} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL ${rc_expected})
    message(FATAL_ERROR "${name}: exit ${rc}, expected ${rc_expected}")
  endif()
  string(FIND "${err}" "${stderr_expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name}: stderr lacks '${stderr_expected}': ${err}")
  endif()
endfunction()

expect_output(all ${SOURCE}/list_all.txt --now "2013-11-02 09:00" --filter 0
              --save ${WORK}/saved.vrl ${SOURCE}/list_input.vrl)
# The re-saved file is in the standard order and lists the same.
expect_output(saved ${SOURCE}/list_all.txt --now "2013-11-02 09:00" --filter 0 ${WORK}/saved.vrl)
file(READ ${WORK}/saved.vrl saved HEX)
file(READ ${SOURCE}/list_saved.vrl expected HEX)
if(NOT saved STREQUAL expected)
  message(FATAL_ERROR "saved file differs from list_saved.vrl")
endif()
# Tag filter through --set, from-now filter by default.
expect_output(tag ${SOURCE}/list_tag.txt --now "2013-11-02 09:00" --filter 10
              --set "FilterTag=仕事" ${SOURCE}/list_input.vrl)
expect_output(from_now ${SOURCE}/list_from_now.txt --now "2013-11-02 09:00"
              ${SOURCE}/list_input.vrl)

expect_failure(missing 1 "Can't open '${WORK}/none.vrl'" ${WORK}/none.vrl)
expect_failure(bad_setting 2 "usage:" --set NoSuchSetting=1 ${SOURCE}/list_input.vrl)
expect_failure(bad_option 2 "usage:" --filter 13 ${SOURCE}/list_input.vrl)

# iCalendar. The test runs with TZ=JST-9, so the UTC times in the files
# are fixed.
function(run_list name out_var err_var)
  execute_process(COMMAND ${LIST} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: exit ${rc}: ${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
endfunction()

function(expect_contains name text part)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name}: lacks '${part}':\n${text}")
  endif()
endfunction()

function(expect_same_bytes name got_file expected_file)
  file(READ ${got_file} got HEX)
  file(READ ${expected_file} expected HEX)
  if(NOT got STREQUAL expected)
    message(FATAL_ERROR "${name}: ${got_file} differs from ${expected_file}")
  endif()
endfunction()

# The export lists as before and writes the fixed calendar (the same UIDs
# on every run).
expect_output(ics ${SOURCE}/list_all.txt --now "2013-11-02 09:00" --filter 0
              --ics ${WORK}/all.ics ${SOURCE}/list_input.vrl)
expect_same_bytes(ics_file ${WORK}/all.ics ${SOURCE}/list_all.ics)
# Back from it alone, without a data file: the same view, the same saved file.
run_list(from_own_ics out err --now "2013-11-02 09:00" --filter 0 --from-ics ${WORK}/all.ics
         --save ${WORK}/from_ics.vrl)
file(READ ${SOURCE}/list_all.txt expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "from_own_ics: got\n${out}\nexpected\n${expected}")
endif()
expect_contains(from_own_ics "${err}" "4 entries added; 0 recurring events")
expect_same_bytes(from_own_ics_saved ${WORK}/from_ics.vrl ${SOURCE}/list_saved.vrl)

# Only what the filter shows is exported.
run_list(ics_tag out err --now "2013-11-02 09:00" --filter 10 --set "FilterTag=仕事"
         --ics ${WORK}/tag.ics ${SOURCE}/list_input.vrl)
file(READ ${WORK}/tag.ics tagged)
string(REGEX MATCHALL "BEGIN:VEVENT" events "${tagged}")
list(LENGTH events count)
if(NOT count EQUAL 2 OR tagged MATCHES "BEGIN:VTODO")
  message(FATAL_ERROR "ics_tag: ${count} events in\n${tagged}")
endif()

# A calendar of another program: a weekly series with a skipped Monday, a
# time in another zone, three all-day days, an open and a completed to-do.
expect_output(from_calendar ${SOURCE}/list_from_ics.txt --now "2013-11-02 09:00" --filter 0
              --from-ics ${SOURCE}/list_calendar.ics)
run_list(from_calendar_count out err --now "2013-11-02 09:00" --from-ics
         ${SOURCE}/list_calendar.ics)
expect_contains(from_calendar_count "${err}" "5 entries added; 1 recurring events")
# Added to a data file's entries, then saved with them.
run_list(added out err --now "2013-11-02 09:00" --filter 0 --from-ics ${SOURCE}/list_calendar.ics
         --save ${WORK}/added.vrl ${SOURCE}/list_input.vrl)
file(READ ${WORK}/added.vrl added HEX)
string(REGEX MATCHALL ".." bytes "${added}")
list(FILTER bytes INCLUDE REGEX "^0a$")
list(LENGTH bytes count)
if(NOT count EQUAL 9)
  message(FATAL_ERROR "added: ${count} records saved, expected 9")
endif()

# A character Shift_JIS has no form for is named, not lost in silence.
file(WRITE ${WORK}/emoji.ics "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
     "BEGIN:VEVENT\r\nUID:e\r\nDTSTAMP:20131101T000000Z\r\nDTSTART;VALUE=DATE:20131105\r\n"
     "SUMMARY:乾杯🍺\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
run_list(emoji out err --now "2013-11-02 09:00" --filter 0 --from-ics ${WORK}/emoji.ics)
expect_contains(emoji "${err}" "U+1F37A not in Shift_JIS")
expect_contains(emoji "${out}" "乾杯?")

# A calendar that cannot be read stops everything before any save.
expect_failure(missing_ics 1 "Can't open '${WORK}/none.ics'" --from-ics ${WORK}/none.ics
               --save ${WORK}/not_written.vrl ${SOURCE}/list_input.vrl)
expect_failure(not_ics 1 "holds no iCalendar data" --from-ics ${SOURCE}/list_input.vrl
               --save ${WORK}/not_written.vrl ${SOURCE}/list_input.vrl)
if(EXISTS ${WORK}/not_written.vrl)
  message(FATAL_ERROR "a failed import saved the list")
endif()
expect_failure(no_file 2 "usage:" --ics ${WORK}/x.ics)

# What the reader cuts of a file is said on stderr, record by record.
string(REPEAT "x" 600 long_title)
file(WRITE ${WORK}/long.vrl "2013/11/05,,${long_title},,,\r\n,,a,,,1,2013/11/01 10:00,x,y\r\n")
run_list(cuts out err --now "2013-11-02 09:00" --filter 0 ${WORK}/long.vrl)
expect_contains(cuts "${err}" "vantrel-list: ${WORK}/long.vrl: record 1: title cut from 600 to 511 bytes\n")
expect_contains(cuts "${err}"
                "vantrel-list: ${WORK}/long.vrl: record 2: 2 fields beyond the known ones dropped\n")
