#include "explain/close_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace marlint::testing {
namespace {

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The plain, unbounded distance with swaps of neighbours (optimal string
// alignment), case ignored: what the banded search must agree with.
std::size_t referenceDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) {
    for (std::size_t j = 0; j <= b.size(); ++j) {
      if (i == 0 || j == 0) {
        d[i][j] = i + j;
        continue;
      }
      const std::size_t change = upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j - 1] + change, d[i - 1][j] + 1, d[i][j - 1] + 1});
      if (i > 1 && j > 1 && upper(a[i - 1]) == upper(b[j - 2]) &&
          upper(a[i - 2]) == upper(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// Random words from a few letters, so that close pairs, swaps and repeated
// letters are common: a word is suggested exactly when the reference
// distance is within a quarter of its length.
TEST(CloseWords, AgreeWithThePlainDistance) {
  std::mt19937 random(7);
  const std::string letters = "ABCab";
  const auto randomWord = [&](std::size_t size) {
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
      word.push_back(letters[random() % letters.size()]);
    }
    return word;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string word = randomWord(4 + random() % 12);
    std::string text = word;
    for (unsigned slips = random() % 5; slips > 0 && !text.empty(); --slips) {
      const std::size_t at = random() % text.size();
      switch (random() % 4) {
        case 0: text.erase(at, 1); break;
        case 1: text.insert(at, 1, letters[random() % letters.size()]); break;
        case 2: text[at] = letters[random() % letters.size()]; break;
        default:
          if (at + 1 < text.size()) {
            std::swap(text[at], text[at + 1]);
          }
      }
    }
    SCOPED_TRACE(text + " / " + word);
    const bool close = referenceDistance(text, word) <= word.size() / 4;
    EXPECT_EQ(closeWordsIn(text, std::vector<std::string>{word}).size(), close ? 1u : 0u);
  }
}

}  // namespace
}  // namespace marlint::testing
