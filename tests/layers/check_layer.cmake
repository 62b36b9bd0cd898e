# Builds one layer probe and checks that it builds, or that it fails for
# want of the header that it includes.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(EXPECTED STREQUAL "built")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET} should build:\n${output}")
  endif()
elseif(result EQUAL 0)
  message(FATAL_ERROR "${TARGET} built, so its layer sees ${HEADER} of a layer above it")
elseif(NOT output MATCHES "${HEADER}")
  message(FATAL_ERROR "${TARGET} failed for another reason than ${HEADER}:\n${output}")
endif()
