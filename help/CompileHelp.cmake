# Compiles the help project in a scratch copy (chmcmd writes beside the
# project file) and fails the build on an error. chmcmd leaves an empty
# file behind after some errors while still ending with 0, so an empty
# result counts as a failure too.
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/ DESTINATION ${WORK} PATTERN "*.cmake" EXCLUDE PATTERN "CMakeLists.txt" EXCLUDE)
execute_process(COMMAND ${CHMCMD} Vellumio.hhp WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(chm ${WORK}/Vellumio.chm)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "chmcmd failed (${result}):\n${output}")
endif()
if(NOT EXISTS ${chm})
  message(FATAL_ERROR "chmcmd made no Vellumio.chm:\n${output}")
endif()
file(SIZE ${chm} size)
if(size EQUAL 0)
  file(REMOVE ${chm})
  message(FATAL_ERROR "chmcmd left an empty Vellumio.chm:\n${output}")
endif()
file(COPY_FILE ${chm} ${OUT})
