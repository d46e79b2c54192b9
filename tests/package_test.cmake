# The Windows package as someone unpacks it: made into an empty folder,
# unzipped there, and the host renders a frame from the unpacked files
# under Wine (the tests' prefix). Run by CTest with -DBIN -DSOURCE -DVERSION
# -DWORK -DWINE [-DSTRIP].
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -DBIN=${BIN} -DSOURCE=${SOURCE} -DVERSION=${VERSION}
                        -DOUT=${WORK} -DSTRIP=${STRIP} -P ${SOURCE}/cmake/package.cmake RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the package could not be made")
endif()
set(name vantrel-${VERSION}-win64)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${WORK}/${name}.zip
                WORKING_DIRECTORY ${WORK}/unpacked RESULT_VARIABLE failed)
set(folder ${WORK}/unpacked/${name})
foreach(f vantrel.dll vantrel-host.exe vantrelcb.png vantrelpo.png sample.vrl
          outlook-store.txt README-windows.txt)
  if(NOT EXISTS ${folder}/${f})
    message(FATAL_ERROR "the package lacks ${f}")
  endif()
endforeach()
file(GLOB entries RELATIVE ${WORK}/unpacked ${WORK}/unpacked/*)
if(NOT entries STREQUAL name)
  message(FATAL_ERROR "the package unpacks to ${entries}, not one folder ${name}")
endif()
execute_process(COMMAND ${WINE} vantrel-host.exe --data sample.vrl --store outlook-store.txt
                        --now "2026-12-08 09:00" --screenshot frame.png
                WORKING_DIRECTORY ${folder} RESULT_VARIABLE failed TIMEOUT 120)
if(failed OR NOT EXISTS ${folder}/frame.png)
  message(FATAL_ERROR "the unpacked host rendered no frame (${failed})")
endif()
file(SIZE ${folder}/frame.png size)
if(size LESS 2000)
  message(FATAL_ERROR "the unpacked host's frame is empty (${size} bytes)")
endif()
message(STATUS "frame from the unpacked package: ${size} bytes")
file(REMOVE_RECURSE ${WORK})
