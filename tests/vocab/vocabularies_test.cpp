#include "vocab/vocabularies.h"

#include <gtest/gtest.h>

namespace marlint {
namespace {

TEST(Vocabularies, Placeholder) {
  EXPECT_EQ(lookupUnitNumber("PH"), 24);
}

}  // namespace
}  // namespace marlint
