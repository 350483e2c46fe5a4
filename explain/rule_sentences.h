#pragma once

#include "explain/sentence_pieces.h"
#include "run/rule.h"

// The sentence of each rule: one row per rule in `rule_sentences.cpp`.

namespace marlint {

// Writes the sentence of `rule` about `sentence.fault`, up to, not
// including, the suggestions and causes, and fills `sentence.suggestions`
// with the accepted words close to the fault's text.
void appendRuleSentence(Sentence& sentence, Rule rule);

}  // namespace marlint
