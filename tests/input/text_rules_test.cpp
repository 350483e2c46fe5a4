#include "input/text_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>

namespace marlint {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(ReadLeadingInt, FollowsTheLenientDecimalRule) {
  const struct {
    std::string text;
    std::int32_t value;
  } cases[] = {
      {"3", 3},
      {" 3", 3},
      {"\t\n\v\f\r 3", 3},
      {"+3", 3},
      {"-3", -3},
      {"3x", 3},
      {"3.9", 3},
      {"0x3", 0},
      {"x3", 0},
      {"", 0},
      {"+", 0},
      {"- 3", 0},
      {"+-3", 0},
      {"007", 7},
      {"00000000001000", 1000},
      {std::string(40, '0') + "100", 100},
      {std::string(60, '0') + "2147483647", kMax},
      {std::string(60, '0') + "2147483648", kMax},
      {"-" + std::string(40, '0') + "2147483648", kMin},
      {"-" + std::string(40, '0') + "2147483647", -kMax},
      {std::string(40, ' ') + "\t+0000000000007x", 7},
      {std::string(11, '0'), 0},
      {"-" + std::string(11, '0') + " 1", 0},
      {"000000000021474836470", kMax},
      {"1000000000", 1000000000},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"2147483648", kMax},
      {"-2147483649", kMin},
      {"4294967296", kMax},
      {"123456789012345678901234567890", kMax},
      {"-123456789012345678901234567890", kMin},
      {std::string("\0"
                   "3",
                   2),
       0},
      {"\xA0"
       "3",
       0},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(readLeadingInt(text), value) << '"' << text << '"';
  }
}

// Random texts of digits, runs of zeros, white space, signs and other bytes
// against the C library's reading of the same text, saturated to 32 bits.
TEST(ReadLeadingInt, AgreesWithTheCLibraryOnRandomTexts) {
  const std::string pieces[] = {
      "0", "0000000000",         "1",   "7", "9", " ", "\t", "\n", "+", "-", "x",
      ".", std::string(1, '\0'), "\xFF"};
  std::mt19937 random(15);
  for (int round = 0; round < 300'000; ++round) {
    const std::size_t length = random() % 81;
    std::string text;
    while (text.size() < length) {
      text += pieces[random() % std::size(pieces)];
    }
    text.resize(length);
    const long long reference = std::strtoll(text.c_str(), nullptr, 10);
    const auto expected = static_cast<std::int32_t>(std::clamp<long long>(reference, kMin, kMax));
    ASSERT_EQ(readLeadingInt(text), expected) << '"' << text << '"';
    ASSERT_EQ(readLeadingIntByFullRule(text), expected) << '"' << text << '"';
  }
}

TEST(ReadAllDigits, AcceptsOnlyDigitsAndSaturates) {
  EXPECT_EQ(readAllDigits(""), 0u);
  EXPECT_EQ(readAllDigits("0100"), 100u);
  EXPECT_EQ(readAllDigits("4294967295"), 4294967295u);
  EXPECT_EQ(readAllDigits("4294967296"), 4294967295u);
  EXPECT_EQ(readAllDigits("000000000000000000000000000001"), 1u);
  EXPECT_EQ(readAllDigits(std::string(60, '0') + "4294967295"), 4294967295u);
  EXPECT_EQ(readAllDigits(std::string(60, '0') + "4294967296"), 4294967295u);
  for (const char* text : {"+1", "-1", " 1", "1 ", "12a", "\xD9\xA3"}) {
    EXPECT_EQ(readAllDigits(text), std::nullopt) << text;
  }
}

// Texts of every length around the word size, equal and differing in one
// byte at every place.
TEST(SameText, ComparesEveryByte) {
  for (std::size_t size = 0; size <= 20; ++size) {
    const std::string text(size, 'a');
    EXPECT_TRUE(sameText(text, std::string(size, 'a')));
    EXPECT_FALSE(sameText(text, text + "a"));
    for (std::size_t at = 0; at < size; ++at) {
      std::string other = text;
      other[at] = '\xE1';
      EXPECT_FALSE(sameText(text, other)) << size << " " << at;
    }
  }
}

// Both letter-and-digit tests agree on texts of every length around the
// 16-byte blocks, with one byte at every place replaced by one at a range
// edge. Each text sits in a buffer of its exact size, so a read past its end
// is caught by the sanitizers.
TEST(CharacterClasses, BlockAndByteTestsAgree) {
  const std::string edges("/09:@AZ[`az{_ \0\x7F\x80\xC1\xDA\xFF", 21);
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      for (const char edge : edges) {
        std::string text(size, 'q');
        if (at < size) {
          text[at] = edge;
        }
        const std::unique_ptr<char[]> exact(new char[size]);
        std::copy(text.begin(), text.end(), exact.get());
        const std::string_view view(exact.get(), size);
        const bool expected = std::all_of(text.begin(), text.end(), isAsciiAlnum);
        EXPECT_EQ(isAllAlnumPortable(view), expected) << size << " " << at << " " << int{edge};
#if defined(MARLINT_HAS_SSE2_ALNUM)
        EXPECT_EQ(isAllAlnumSse2(view), expected) << size << " " << at << " " << int{edge};
#endif
      }
    }
  }
}

// Every length around the eight-byte steps, the byte at every place, among
// bytes that differ from it by one bit or only in the high bit.
TEST(CountByte, MatchesAPlainCount) {
  for (const char byte : {',', '\0', '\x80', '\xFF'}) {
    const std::string others{static_cast<char>(byte ^ 1), static_cast<char>(byte ^ '\x80'), 'a'};
    for (std::size_t size = 0; size <= 26; ++size) {
      for (std::size_t at = 0; at <= size; ++at) {
        std::string text(size, others[size % others.size()]);
        for (std::size_t i = at; i < size; i += 3) {
          text[i] = byte;
        }
        const std::size_t expected =
            static_cast<std::size_t>(std::count(text.begin(), text.end(), byte));
        EXPECT_EQ(countByte(text, byte), expected) << size << " " << at << " " << int{byte};
      }
    }
  }
}

// Every length around the 16-byte steps, the byte first at every place or
// nowhere, among bytes that differ from it by one bit or only in the high
// bit; each text in a buffer of its own length, so a read past it is caught.
TEST(FindByte, MatchesMemchr) {
  for (const char byte : {'\n', '\0', '\x80', '\xFF'}) {
    const std::string others{static_cast<char>(byte ^ 1), static_cast<char>(byte ^ '\x80'), 'a'};
    for (std::size_t size = 0; size <= 50; ++size) {
      for (std::size_t at = 0; at <= size; ++at) {
        const std::unique_ptr<char[]> text(new char[size]);
        for (std::size_t i = 0; i < size; ++i) {
          text[i] = i < at ? others[i % others.size()] : byte;
        }
        const std::string_view view(text.get(), size);
        const std::optional<std::size_t> expected =
            at < size ? std::optional<std::size_t>(at) : std::nullopt;
        EXPECT_EQ(findByte(view, byte), expected) << size << " " << at << " " << int{byte};
#if defined(MARLINT_HAS_SSE2_FIND_BYTE)
        EXPECT_EQ(findByteSse2(view, byte), expected) << size << " " << at << " " << int{byte};
#endif
      }
    }
  }
}

TEST(CharacterClasses, AreAsciiOnly) {
  EXPECT_TRUE(isAllAlnum(""));
  EXPECT_TRUE(isAllAlnum("azAZ09"));
  EXPECT_TRUE(isAllDigits(""));
  EXPECT_TRUE(isAllDigits("0123456789"));
  for (const char* text : {"a_b", "a b", "a-b", "\xC3\xA4", "\x80", "\xFF"}) {
    EXPECT_FALSE(isAllAlnum(text)) << text;
  }
  for (const char* text : {"1a", "+1", "1 ", "\xB2"}) {
    EXPECT_FALSE(isAllDigits(text)) << text;
  }
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    EXPECT_FALSE(isAsciiAlnum(static_cast<char>(byte))) << byte;
  }
}

// A view's place in a buffer: from its first byte to just past its last,
// and nothing for a view elsewhere, empty or not.
TEST(OffsetWithin, FindsViewsThatStartInTheBuffer) {
  const std::string_view whole = "2,3,False\nC,Temp1";
  const std::string other = "2,3,False";
  EXPECT_EQ(offsetWithin(whole.substr(0, 1), whole), 0u);
  EXPECT_EQ(offsetWithin(whole.substr(10, 5), whole), 10u);
  EXPECT_EQ(offsetWithin(whole.substr(whole.size()), whole), whole.size());
  EXPECT_EQ(offsetWithin(whole, whole.substr(1)), std::nullopt);
  EXPECT_EQ(offsetWithin(whole.substr(12), whole.substr(0, 10)), std::nullopt);
  EXPECT_EQ(offsetWithin(other, whole), std::nullopt);
  EXPECT_EQ(offsetWithin(std::string_view(), whole), std::nullopt);
  EXPECT_EQ(offsetWithin(whole, std::string_view()), std::nullopt);
}

}  // namespace
}  // namespace marlint
