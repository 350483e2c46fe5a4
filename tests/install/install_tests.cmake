# Tests of the installed program and its manual page, run with the rest of
# the suite: both take a second or less. The package tests need a release
# build and run from .ci/run (tests/install/package_test.sh).
if(MARLINT_BUILD_TESTS)
  add_test(NAME Install.IntoTemporaryPrefix
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${PROJECT_BINARY_DIR} ${CMAKE_COMMAND})
  add_test(NAME Install.ManualPageMatchesProgram
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/manual_check.sh $<TARGET_FILE:marlint>
                   ${PROJECT_SOURCE_DIR}/doc/marlint.1 ${PROJECT_SOURCE_DIR})
endif()
