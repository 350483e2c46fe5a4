#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/process_runner.h"

// GoogleTest takes its own flags; the words left after them, when there are
// any, are the command that starts marlint in place of the native build.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    marlint::testing::setMarlintCommand(std::vector<std::string>(argv + 1, argv + argc));
  }
  return RUN_ALL_TESTS();
}
