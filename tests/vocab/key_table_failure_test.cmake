# A lookup table whose keys repeat, or cannot each have a slot, stops the
# build with the keys in the compiler's message.
# Usage: cmake -DCXX=COMPILER -DSOURCE_DIR=DIR -P key_table_failure_test.cmake
foreach(case "-DREPEATED_KEY;\"VOLT\"" "-DCOLLIDING_KEYS;\"BA\".*\"AA\"")
  list(GET case 0 definition)
  list(GET case 1 keys)
  execute_process(
    COMMAND ${CXX} -std=c++17 -fsyntax-only ${definition} -I${SOURCE_DIR}
            ${SOURCE_DIR}/tests/vocab/key_table_failure.cpp
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(status EQUAL 0)
    message(FATAL_ERROR "${definition}: the table compiled")
  endif()
  if(NOT output MATCHES "${keys}")
    message(FATAL_ERROR "${definition}: the message does not name ${keys}:\n${output}")
  endif()
  message(STATUS "${definition}: the build stops naming ${keys}")
endforeach()
