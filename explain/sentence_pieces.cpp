#include "explain/sentence_pieces.h"

namespace marlint {
namespace {

constexpr std::size_t kEntriesShown = 3;

// "one of the 32 unit names, such as "NONE", "AMPERE", "CELSIUS"".
void appendVocabulary(std::string& out, const NameList& names, std::string_view what) {
  out.append("one of the ");
  appendDecimal(out, names.size());
  out.append(" ");
  out.append(what);
  out.append(", such as ");
  for (std::size_t index = 0; index < names.size() && index < kEntriesShown; ++index) {
    if (index > 0) {
      out.append(", ");
    }
    appendQuotedForPeople(out, names[index]);
  }
}

}  // namespace

void Piece::appendTo(Sentence& sentence) const {
  std::string& out = sentence.out;
  switch (kind_) {
    case Kind::kNone: return;
    case Kind::kText: out.append(text_); return;
    case Kind::kQuoted: appendQuotedForPeople(out, text_); return;
    case Kind::kNumber: appendDecimal(out, lowest_); return;
    case Kind::kRange:
      appendDecimal(out, lowest_);
      out.append(" to ");
      appendDecimal(out, highest_);
      return;
    case Kind::kAlternatives:
      appendAlternatives(out, NameList(words_, static_cast<std::size_t>(lowest_)));
      return;
    case Kind::kVocabulary: appendVocabulary(out, names_(), text_); return;
    case Kind::kPart: part_(sentence); return;
  }
}

void Pieces::appendTo(Sentence& sentence) const {
  for (std::size_t i = 0; i < count_; ++i) {
    pieces_[i].appendTo(sentence);
  }
}

}  // namespace marlint
