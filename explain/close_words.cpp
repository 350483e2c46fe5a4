#include "explain/close_words.h"

#include <algorithm>
#include <cstdint>

namespace marlint {
namespace {

constexpr std::size_t kLongestWord = CloseWords::kLongestWord;

constexpr char foldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::size_t lengthDifference(std::size_t a, std::size_t b) {
  return a > b ? a - b : b - a;
}

// The edit distance between `text` and `word`, both folded to upper case,
// when it is at most `limit`; otherwise limit + 1. Two swapped neighbours
// count as one slip, as typing makes them ("Flase"), unless a byte between
// them is changed too. Only the cells within `limit` of the diagonal can
// stay within the limit, so only they are computed; a row whose every cell
// is beyond the limit ends the search, since a swap reaching back past it
// costs more.
std::size_t boundedDistance(std::string_view text, std::string_view word, std::size_t limit) {
  const std::size_t beyond = limit + 1;
  if (word.size() > kLongestWord || lengthDifference(text.size(), word.size()) > limit) {
    return beyond;
  }
  std::array<std::size_t, kLongestWord + 1> rowA;
  std::array<std::size_t, kLongestWord + 1> rowB;
  std::array<std::size_t, kLongestWord + 1> rowC;
  std::size_t* beforePrevious = rowC.data();
  std::size_t* previous = rowA.data();
  std::size_t* current = rowB.data();
  const std::size_t columns = word.size();
  for (std::size_t j = 0; j <= columns; ++j) {
    previous[j] = std::min(j, beyond);
  }
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const std::size_t first = i > limit ? i - limit : 1;
    const std::size_t last = std::min(columns, i + limit);
    // The cells next to the band read as beyond the limit.
    current[first - 1] = first == 1 ? std::min(i, beyond) : beyond;
    if (last < columns) {
      current[last + 1] = beyond;
    }
    std::size_t rowLowest = current[first - 1];
    const char textByte = text[i - 1];
    for (std::size_t j = first; j <= last; ++j) {
      const char wordByte = word[j - 1];
      const std::size_t change = textByte == wordByte ? 0 : 1;
      std::size_t best = std::min({previous[j - 1] + change, previous[j] + 1, current[j - 1] + 1});
      // A swap is rare, so this test is nearly always guessed right; with
      // equal bytes it offers nothing the diagonal does not.
      if (i > 1 && j > 1 && textByte == word[j - 2] && text[i - 2] == wordByte) {
        best = std::min(best, beforePrevious[j - 2] + 1);
      }
      current[j] = std::min(best, beyond);
      rowLowest = std::min(rowLowest, current[j]);
    }
    if (rowLowest >= beyond) {
      return beyond;
    }
    std::swap(beforePrevious, previous);
    std::swap(previous, current);
  }
  return previous[columns];
}

// Each slip changes the bytes a text holds by at most one added and one
// removed (a swap by none), so the larger of the bytes only the text has and
// those only the word has is at most their distance. Bytes are counted in 64
// buckets: bytes that share one only make the bound lower.
std::size_t byteCountDifference(const CloseWords::ByteCounts& textCounts, std::string_view word) {
  CloseWords::ByteCounts counts = textCounts;
  for (const char byte : word) {
    --counts[static_cast<unsigned char>(byte) % counts.size()];
  }
  std::size_t onlyInText = 0;
  std::size_t onlyInWord = 0;
  for (const std::int16_t count : counts) {
    onlyInText += count > 0 ? static_cast<std::size_t>(count) : 0;
    onlyInWord += count < 0 ? static_cast<std::size_t>(-count) : 0;
  }
  return std::max(onlyInText, onlyInWord);
}

}  // namespace

std::string_view withoutWrapping(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

CloseWords::CloseWords(std::string_view text)
    : foldedText_(), closestDistance_(static_cast<std::size_t>(-1)) {
  const std::string_view word = withoutWrapping(text);
  tooLong_ = word.size() > foldedText_.size();
  if (!tooLong_) {
    foldedSize_ = word.size();
    std::transform(word.begin(), word.end(), foldedText_.begin(), foldCase);
    for (std::size_t i = 0; i < foldedSize_; ++i) {
      ++textCounts_[static_cast<unsigned char>(foldedText_[i]) % textCounts_.size()];
    }
  }
}

void CloseWords::consider(std::string_view word) {
  // Only words whose length is within the slips allowed can be close.
  const std::size_t limit = word.size() / 4;
  if (tooLong_ || word.size() > kLongestWord ||
      lengthDifference(foldedSize_, word.size()) > limit) {
    return;
  }
  std::array<char, kLongestWord> foldedWord;
  std::transform(word.begin(), word.end(), foldedWord.begin(), foldCase);
  const std::string_view text(foldedText_.data(), foldedSize_);
  const std::string_view folded(foldedWord.data(), word.size());
  std::size_t distance = 0;
  if (text != folded) {
    if (limit == 0) {
      return;
    }
    if (byteCountDifference(textCounts_, folded) > limit) {
      return;
    }
    distance = boundedDistance(text, folded, limit);
    if (distance > limit) {
      return;
    }
  }
  if (distance < closestDistance_) {
    closestDistance_ = distance;
    closestCount_ = 0;
  }
  if (distance == closestDistance_ && closestCount_ < closest_.size()) {
    closest_[closestCount_++] = word;
  }
}

std::vector<std::string> CloseWords::closest() const {
  return std::vector<std::string>(closest_.begin(), closest_.begin() + closestCount_);
}

}  // namespace marlint
