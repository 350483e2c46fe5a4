#include "input/split_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace marlint {
namespace {

using Fields = std::vector<std::string_view>;

TEST(SplitFields, EveryDelimiterSplits) {
  const struct {
    std::string text;
    char delimiter;
    Fields fields;
  } cases[] = {
      {"", ',', {""}},
      {",", ',', {"", ""}},
      {"x,y,", ',', {"x", "y", ""}},
      {",x", ',', {"", "x"}},
      {"x,,y", ',', {"x", "", "y"}},
      {"x y", ' ', {"x", "y"}},
      {"x  y", ' ', {"x", "", "y"}},
      {" x", ' ', {"", "x"}},
      {"\"x,y\"", ',', {"\"x", "y\""}},
      {" a , b ", ',', {" a ", " b "}},
  };
  for (const auto& [text, delimiter, fields] : cases) {
    EXPECT_EQ(splitFields(text, delimiter), fields) << '"' << text << '"';
  }
}

TEST(SplitFieldsInto, CountsOneFieldPastCapacity) {
  std::array<std::string_view, 3> fields;
  EXPECT_EQ(splitFieldsInto("a,b,c", ',', fields), 3u);
  EXPECT_EQ(fields[0], "a");
  EXPECT_EQ(fields[2], "c");
  EXPECT_EQ(splitFieldsInto("a,b", ',', fields), 2u);
  EXPECT_EQ(splitFieldsInto("a,b,c,d", ',', fields), 4u);
  EXPECT_EQ(splitFieldsInto(std::string(100000, ','), ',', fields), 4u);
  EXPECT_EQ(splitFieldsInto("", ',', fields), 1u);
  EXPECT_EQ(fields[0], "");
}

}  // namespace
}  // namespace marlint
