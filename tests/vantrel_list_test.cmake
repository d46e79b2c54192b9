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
