#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "checks/accepted_values.h"
#include "explain/escaped_text.h"
#include "explain/fault_detail.h"
#include "marlint/marlint.h"
#include "run/run_state.h"
#include "vocab/vocabularies.h"

// The pieces a fault's sentence is written from. Most are fixed: a text, a
// number or a range the checks compare with, a quoted word, a list of
// words. The rest read what the run knows, such as the names the header
// line gives, through a function.

namespace marlint {

// One sentence being written, with what it may say about the fault.
struct Sentence {
  std::string& out;
  std::vector<std::string>& suggestions;
  const Fault& fault;
  const RunState& run;
  const FaultSurroundings& around;
  // The fault's likely causes are named after the sentence: a row's own
  // explanation then gives only what they do not say.
  bool causesNamed = false;
};

// A part of a sentence that reads the fault or the run, or that chooses
// the suggestions.
using SentencePart = void (*)(Sentence& sentence);

class Piece {
 public:
  constexpr Piece() = default;
  constexpr Piece(const char* text) : kind_(Kind::kText), text_(text) {}
  constexpr Piece(std::string_view text) : kind_(Kind::kText), text_(text) {}
  template <typename Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
  constexpr Piece(Integer number)
      : kind_(Kind::kNumber), lowest_(static_cast<std::int64_t>(number)) {}
  // "100 to 199".
  template <typename Number, Number kLowest, Number kHighest>
  constexpr Piece(Range<Number, kLowest, kHighest> /*range*/)
      : kind_(Kind::kRange), lowest_(kLowest), highest_(kHighest) {}
  constexpr Piece(SentencePart part) : kind_(Kind::kPart), part_(part) {}

  // "C", in double quotes.
  static constexpr Piece quoted(std::string_view word) {
    Piece piece(word);
    piece.kind_ = Kind::kQuoted;
    return piece;
  }

  // "True" or "False"; "EVENT", "SAMPLE" or "CONDITION".
  template <std::size_t N>
  static constexpr Piece alternatives(const std::array<std::string_view, N>& words) {
    Piece piece;
    piece.kind_ = Kind::kAlternatives;
    piece.words_ = words.data();
    piece.lowest_ = static_cast<std::int64_t>(N);
    return piece;
  }

  // "one of the 32 unit names, such as "NONE", "AMPERE", "CELSIUS"": the
  // size of a vocabulary, what its entries are, and its first entries.
  static constexpr Piece vocabulary(NameList (*names)(), std::string_view what) {
    Piece piece(what);
    piece.kind_ = Kind::kVocabulary;
    piece.names_ = names;
    return piece;
  }

  void appendTo(Sentence& sentence) const;

 private:
  enum class Kind : std::uint8_t {
    kNone,
    kText,
    kQuoted,
    kNumber,
    kRange,
    kAlternatives,
    kVocabulary,
    kPart,
  };

  Kind kind_ = Kind::kNone;
  std::string_view text_;
  std::int64_t lowest_ = 0;  // also the number, and the count of `words_`
  std::int64_t highest_ = 0;
  const std::string_view* words_ = nullptr;
  NameList (*names_)() = nullptr;
  SentencePart part_ = nullptr;
};

// The pieces of one part of a sentence, written one after the other.
class Pieces {
 public:
  static constexpr std::size_t kMostPieces = 9;

  constexpr Pieces() = default;
  constexpr Pieces(std::initializer_list<Piece> pieces) {
    if (pieces.size() > kMostPieces) {
      throw "a sentence part has more than kMostPieces pieces";
    }
    for (const Piece& piece : pieces) {
      pieces_[count_++] = piece;
    }
  }

  void appendTo(Sentence& sentence) const;

 private:
  std::array<Piece, kMostPieces> pieces_{};
  std::size_t count_ = 0;
};

constexpr Piece quoted(std::string_view word) {
  return Piece::quoted(word);
}
template <std::size_t N>
constexpr Piece alternatives(const std::array<std::string_view, N>& words) {
  return Piece::alternatives(words);
}
constexpr Piece vocabulary(NameList (*names)(), std::string_view what) {
  return Piece::vocabulary(names, what);
}

// "A", "B" or "C"; each word quoted.
template <typename Words>
void appendAlternatives(std::string& out, const Words& words) {
  const std::size_t count = std::size(words);
  std::size_t index = 0;
  for (const auto& word : words) {
    if (index > 0) {
      out.append(index + 1 == count ? " or " : ", ");
    }
    appendQuotedForPeople(out, word);
    ++index;
  }
}

}  // namespace marlint
