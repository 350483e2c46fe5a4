#include "checks/constant_value.h"

#include <algorithm>
#include <array>

#include "checks/accepted_values.h"
#include "input/split_fields.h"
#include "input/text_rules.h"

namespace marlint {
namespace {

constexpr std::string_view kIllegalConstantValue = "Illegal constant value.";

bool checkEventValue(RunState& run, std::string_view text, PointRecord& record) {
  if (text.empty()) {
    return false;
  }
  if (text.size() > kMaxEventValueLength || !isAllAlnum(text)) {
    return run.failWithSentence(Rule::kEventValue, text, kIllegalConstantValue);
  }
  record.constantValues.emplace_back(text);
  return false;
}

// Keeps the first of equal words, in their order of first appearance, and
// returns the end of the kept ones.
template <typename Iterator>
Iterator dropRepeatedWords(Iterator first, Iterator last) {
  Iterator keptEnd = first;
  for (Iterator word = first; word != last; ++word) {
    if (std::find(first, keptEnd, *word) == keptEnd) {
      *keptEnd++ = *word;
    }
  }
  return keptEnd;
}

bool checkConditionCodes(RunState& run, std::string_view text, PointRecord& record) {
  // Words are counted as written, repeats included, before repeats are dropped.
  std::array<std::string_view, kMaxConditionCodes> words;
  const std::size_t wordCount = splitFieldsInto(text, ' ', words);
  if (wordCount > words.size()) {
    return run.failWithSentence(Rule::kConditionWordCount, text, kIllegalConstantValue);
  }
  const auto distinctEnd = dropRepeatedWords(words.begin(), words.begin() + wordCount);
  for (auto word = words.begin(); word != distinctEnd; ++word) {
    // An empty word (from doubled, leading or trailing blanks) reads as 0
    // and so fails the range.
    if (!isAllAlnum(*word)) {
      return run.failWithSentence(Rule::kConditionCode, *word, kIllegalConstantValue);
    }
    const std::int32_t code = readLeadingInt(*word);
    if (!kConditionCodes.contains(code)) {
      return run.failWithSentence(Rule::kConditionCode, *word, kIllegalConstantValue);
    }
    record.constantValues.emplace_back(*word);
  }
  return false;
}

}  // namespace

bool checkConstantValue(RunState& run, std::string_view text, PointRecord& record) {
  switch (record.pointType) {
    case point_type::kEvent: return checkEventValue(run, text, record);
    case point_type::kSample:
      return text.empty() ? false
                          : run.failWithSentence(Rule::kSampleValue, text, kIllegalConstantValue);
    case point_type::kCondition: return checkConditionCodes(run, text, record);
    default: return run.failWithSentence(Rule::kSampleValue, text, kIllegalConstantValue);
  }
}

}  // namespace marlint
