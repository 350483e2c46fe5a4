#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Finds the accepted words a faulty column text was probably meant to be,
// for the "did you mean" of a report. Cheap enough to run for every fault of
// a file with millions of them: a word is only compared when the lengths
// allow a match, and then only along the diagonal band the allowed number
// of slips covers.

namespace marlint {

class CloseWords {
 public:
  static constexpr std::size_t kMostSuggestions = 3;
  // Accepted words are short; a longer one is never suggested.
  static constexpr std::size_t kLongestWord = 63;
  // How often the bytes of a text occur, in 64 buckets.
  using ByteCounts = std::array<std::int16_t, 64>;

  explicit CloseWords(std::string_view text);

  // Weighs one accepted word. It is close when it equals the text ignoring
  // ASCII case, surrounding blanks and wrapping double quotes, or, for a
  // word of four characters or more, when at most a quarter of its length
  // in typing slips (a byte inserted, dropped or changed, or two neighbours
  // swapped; case ignored) turns the text into it.
  void consider(std::string_view word);

  // The closest words considered, in the order they were considered, at most
  // kMostSuggestions; none when no word was close.
  std::vector<std::string> closest() const;

 private:
  // The text in upper case, when it is short enough to be close to a word.
  std::array<char, kLongestWord + kLongestWord / 4> foldedText_;
  std::size_t foldedSize_ = 0;
  bool tooLong_ = false;
  ByteCounts textCounts_{};
  std::size_t closestDistance_;
  std::array<std::string_view, kMostSuggestions> closest_;
  std::size_t closestCount_ = 0;
};

// The word a text was probably meant to be compared as: without blanks
// around it and without the double quotes that wrap a quoted field.
std::string_view withoutWrapping(std::string_view text);

// The closest words of `vocabulary` (any range of texts) to `text`.
template <typename Vocabulary>
std::vector<std::string> closeWordsIn(std::string_view text, const Vocabulary& vocabulary) {
  CloseWords close(text);
  for (const auto& word : vocabulary) {
    close.consider(word);
  }
  return close.closest();
}

}  // namespace marlint
