# Checks the Windows zip as a user gets it: the files in it, that the
# marlint.exe in it needs no DLL but Windows' own, and that it runs.
#
#   cmake -D ZIP=... -D SOURCE_DIR=... -D PAGE=... -D WINE=... -D OBJDUMP=...
#         -D SCRATCH=... -P check_zip.cmake
#
# The licence and the page belong in the zip exactly when LICENSE and PAGE
# exist.

foreach(variable ZIP SOURCE_DIR PAGE WINE OBJDUMP SCRATCH)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_zip.cmake needs -D ${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${SCRATCH}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${ZIP} does not unpack")
endif()

# One folder named after the zip, holding everything.
get_filename_component(folder ${ZIP} NAME_WLE)
file(GLOB_RECURSE unpacked LIST_DIRECTORIES false RELATIVE ${SCRATCH} ${SCRATCH}/*)
file(GLOB_RECURSE examples LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/examples/*)
set(expected marlint.exe README.md ${examples})
if(EXISTS ${SOURCE_DIR}/LICENSE)
  list(APPEND expected LICENSE.txt)
endif()
if(EXISTS ${PAGE})
  list(APPEND expected marlint.html)
endif()
list(TRANSFORM expected PREPEND ${folder}/)
list(SORT expected)
list(SORT unpacked)
if(NOT unpacked STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${unpacked})
  set(extra ${unpacked})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "${ZIP}: missing [${missing}], not expected [${extra}]")
endif()
file(SHA256 ${SOURCE_DIR}/README.md readme)
file(SHA256 ${SCRATCH}/${folder}/README.md packed_readme)
if(NOT readme STREQUAL packed_readme)
  message(FATAL_ERROR "the README in the zip is not README.md")
endif()

# Statically linked: only DLLs that every Windows has.
execute_process(COMMAND ${OBJDUMP} -p ${SCRATCH}/${folder}/marlint.exe OUTPUT_VARIABLE headers
                RESULT_VARIABLE status)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
list(TRANSFORM imports REPLACE "DLL Name: " "")
set(unexpected ${imports})
list(REMOVE_ITEM unexpected KERNEL32.dll msvcrt.dll)
if(NOT status EQUAL 0 OR NOT imports OR unexpected)
  message(FATAL_ERROR "marlint.exe needs DLLs beside Windows' own: [${unexpected}]")
endif()

execute_process(COMMAND ${WINE} marlint.exe examples/points.csv
                WORKING_DIRECTORY ${SCRATCH}/${folder} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE error)
if(NOT status EQUAL 0 OR NOT output STREQUAL "" OR NOT error STREQUAL "OK")
  message(FATAL_ERROR "marlint.exe examples/points.csv in the zip gave status ${status}, "
                      "standard output [${output}], standard error [${error}]")
endif()
string(REGEX MATCH "^marlint-([^-]+)-" version ${folder})
execute_process(COMMAND ${WINE} marlint.exe --version WORKING_DIRECTORY ${SCRATCH}/${folder}
                OUTPUT_VARIABLE output)
if(NOT output STREQUAL "marlint ${CMAKE_MATCH_1}\n")
  message(FATAL_ERROR "marlint.exe --version in ${folder}.zip says: ${output}")
endif()
message(STATUS "${folder}.zip: ${unpacked}")
