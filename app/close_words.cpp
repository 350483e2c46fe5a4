#include "app/close_words.h"

#include <algorithm>

namespace marlint {
namespace {

// Accepted words are short; a longer one is never suggested.
constexpr std::size_t kLongestWord = 63;

constexpr char foldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return foldCase(x) == foldCase(y);
         });
}

std::size_t lengthDifference(std::size_t a, std::size_t b) {
  return a > b ? a - b : b - a;
}

// The edit distance between `text` and `word`, case ignored, when it is at
// most `limit`; otherwise limit + 1. Two swapped neighbours count as one
// slip, as typing makes them ("Flase"), unless a byte between them is
// changed too. Only the cells within `limit` of the diagonal can stay within
// the limit, so only they are computed; a row whose every cell is beyond the
// limit ends the search, since a swap reaching back past it costs more.
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
    const char textByte = foldCase(text[i - 1]);
    for (std::size_t j = first; j <= last; ++j) {
      const char wordByte = foldCase(word[j - 1]);
      const std::size_t change = textByte == wordByte ? 0 : 1;
      std::size_t best = std::min({previous[j - 1] + change, previous[j] + 1, current[j - 1] + 1});
      if (i > 1 && j > 1 && change == 1 && textByte == foldCase(word[j - 2]) &&
          foldCase(text[i - 2]) == wordByte) {
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
    : text_(withoutWrapping(text)), closestDistance_(static_cast<std::size_t>(-1)) {}

void CloseWords::consider(std::string_view word) {
  std::size_t distance = 0;
  if (!equalIgnoringCase(text_, word)) {
    const std::size_t limit = word.size() / 4;
    if (limit == 0) {
      return;
    }
    distance = boundedDistance(text_, word, limit);
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
