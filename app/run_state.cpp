#include "app/run_state.h"

#include "vocab/vocabularies.h"

namespace marlint {

RunState::RunState()
    : xmlLocationNames(std::begin(kStartupXmlLocationNames), std::end(kStartupXmlLocationNames)) {}

bool RunState::fail(std::string_view offending, std::string_view suffix) {
  resultText.assign(offending);
  resultText.append(suffix);
  return true;
}

bool RunState::fail(std::string_view sentence) {
  resultText.assign(sentence);
  return true;
}

}  // namespace marlint
