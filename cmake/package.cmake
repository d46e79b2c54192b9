# Makes the Windows package: cmake -DBIN=<build>/bin -DSOURCE=<repository>
# -DVERSION=<x.y> -DOUT=<folder> [-DSTRIP=<strip program>] -P cmake/package.cmake
# writes OUT/vantrel-VERSION-win64.zip holding one folder of that name.
foreach(var BIN SOURCE VERSION OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package: ${var} is not set")
  endif()
endforeach()
set(name vantrel-${VERSION}-win64)
set(stage ${OUT}/${name}.stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/${name})
foreach(f ${BIN}/vantrel.dll ${BIN}/vantrel-host.exe ${SOURCE}/resources/vantrelcb.png
          ${SOURCE}/resources/vantrelpo.png ${SOURCE}/examples/sample.vrl
          ${SOURCE}/examples/outlook-store.txt)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "package: ${f} is missing (build the windows preset first)")
  endif()
  file(COPY ${f} DESTINATION ${stage}/${name})
endforeach()
# The build keeps its debug information; the package does not need it.
if(STRIP)
  foreach(f vantrel.dll vantrel-host.exe)
    execute_process(COMMAND ${STRIP} --strip-debug ${stage}/${name}/${f} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "package: ${f} could not be stripped")
    endif()
  endforeach()
endif()
# Windows readers expect CR LF.
file(READ ${SOURCE}/packaging/README-windows.txt readme)
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE ${stage}/${name}/README-windows.txt "${readme}")
file(REMOVE ${OUT}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${name}.zip --format=zip ${name}
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
file(REMOVE_RECURSE ${stage})
if(failed)
  message(FATAL_ERROR "package: the zip could not be written")
endif()
message(STATUS "package: ${OUT}/${name}.zip")
