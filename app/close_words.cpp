#include "app/close_words.h"

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
  using Cell = std::uint8_t;  // at most limit + 1, and the limit is below 16
  const auto beyond = static_cast<Cell>(limit + 1);
  if (word.size() > kLongestWord || lengthDifference(text.size(), word.size()) > limit) {
    return beyond;
  }
  std::array<Cell, kLongestWord + 2> rowA;
  std::array<Cell, kLongestWord + 2> rowB;
  std::array<Cell, kLongestWord + 2> rowC;
  Cell* beforePrevious = rowC.data();
  Cell* previous = rowA.data();
  Cell* current = rowB.data();
  const std::size_t columns = word.size();
  for (std::size_t j = 0; j <= columns; ++j) {
    previous[j] = static_cast<Cell>(std::min<std::size_t>(j, beyond));
  }
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const std::size_t first = i > limit ? i - limit : 1;
    const std::size_t last = std::min(columns, i + limit);
    // The cells next to the band read as beyond the limit.
    current[first - 1] = first == 1 ? static_cast<Cell>(std::min<std::size_t>(i, beyond)) : beyond;
    if (last < columns) {
      current[last + 1] = beyond;
    }
    Cell rowLowest = current[first - 1];
    const char textByte = text[i - 1];
    const char textBefore = i > 1 ? text[i - 2] : '\0';
    for (std::size_t j = first; j <= last; ++j) {
      const char wordByte = word[j - 1];
      Cell best;
      if (textByte == wordByte) {
        best = previous[j - 1];
      } else {
        best = static_cast<Cell>(std::min({previous[j - 1], previous[j], current[j - 1]}) + 1);
        if (i > 1 && j > 1 && textByte == word[j - 2] && textBefore == wordByte) {
          best = std::min(best, static_cast<Cell>(beforePrevious[j - 2] + 1));
        }
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
