#include "vocab/name_set.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace marlint {
namespace {

// The largest set of names a header gives, and sets whose names crowd the
// same slots, must each find every name and nothing else.
TEST(NameSet, FindsExactlyItsNames) {
  NameSet largest{"Device", "Controller", "Path"};
  for (int i = 2; i <= 10; ++i) {
    largest.add("Path" + std::to_string(i));
  }
  NameSet crowded;
  for (int i = 0; i < 64; ++i) {
    // Same length, first and last byte: no multiplier separates them.
    crowded.add("N" + std::to_string(1000 + i) + "N");
  }
  for (const NameSet* set : {&largest, &crowded}) {
    for (const std::string& name : set->names()) {
      EXPECT_TRUE(set->contains(name)) << name;
    }
  }
  EXPECT_EQ(largest.names().size(), 12u);
  EXPECT_EQ(largest.names()[2], "Path");
  for (const char* text : {"Path1", "Path11", "path", "Path ", " Path", "Device\r", "", "P"}) {
    EXPECT_FALSE(largest.contains(text)) << text;
  }
  EXPECT_FALSE(crowded.contains("N0999N"));
  EXPECT_FALSE(crowded.contains("N1064N"));
  EXPECT_THROW(crowded.add("More"), std::length_error);
}

}  // namespace
}  // namespace marlint
