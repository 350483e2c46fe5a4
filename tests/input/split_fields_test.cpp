#include "input/split_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
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

using SplitInto = std::size_t (*)(std::string_view, char, std::string_view*, std::size_t);

// Both block splitters agree with the one-field-at-a-time split on texts of
// every length around the 16-byte blocks and the 64-byte chunks, with
// delimiters at every place a block can have them, and on hostile lines. Each text is copied into a
// buffer of its exact size, so a read past its end is caught by the sanitizers.
TEST(SplitFieldsInto, BlockSplittersAgreeWithThePlainSplit) {
  std::vector<std::pair<std::string, char>> texts;
  for (std::size_t length = 0; length <= 140; ++length) {
    std::string text(length, 'a');
    texts.emplace_back(text, ',');
    for (std::size_t i = 0; i < length; i += 3) {
      text[i] = ',';
    }
    texts.emplace_back(text, ',');
    texts.emplace_back(std::string(length, ','), ',');
    texts.emplace_back(std::string(length, '\xFF'), '\xFF');
  }
  texts.emplace_back("C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100,", ',');
  texts.emplace_back("1000 1001  2999 ", ' ');
  texts.emplace_back(std::string(2'000'001, ','), ',');
  texts.emplace_back(std::string(2'000'000, 'x') + ",", ',');

  std::vector<std::pair<const char*, SplitInto>> splitters = {
      {"portable", splitFieldsIntoPortable}};
#if defined(MARLINT_HAS_SSE2_SPLIT)
  splitters.emplace_back("SSE2", splitFieldsIntoSse2);
#endif
  for (const auto& [text, delimiter] : texts) {
    const std::unique_ptr<char[]> exact(new char[text.size()]);
    std::copy(text.begin(), text.end(), exact.get());
    const std::string_view view(exact.get(), text.size());
    const Fields expected = splitFields(view, delimiter);
    for (const auto& [name, split] : splitters) {
      SCOPED_TRACE(std::string(name) + " on " + std::to_string(text.size()) +
                   " bytes: " + text.substr(0, 64));
      for (const std::size_t capacity : {std::size_t{1}, std::size_t{14}, std::size_t{64}}) {
        std::vector<std::string_view> fields(capacity);
        const std::size_t count = split(view, delimiter, fields.data(), capacity);
        ASSERT_EQ(count, std::min(expected.size(), capacity + 1));
        fields.resize(std::min(count, capacity));
        EXPECT_EQ(fields, Fields(expected.begin(), expected.begin() + fields.size()));
      }
    }
  }
}

}  // namespace
}  // namespace marlint
