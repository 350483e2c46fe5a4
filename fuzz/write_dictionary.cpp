#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "vocab/vocabularies.h"

// Writes the fuzzer's dictionary: the hand-written entries of
// fuzz/point_file.dict, then every name of the vocabularies, so that the
// dictionary cannot miss a name the tables gain.
//
// Usage: write_dictionary HAND_WRITTEN OUTPUT

namespace {

void writeEntry(std::ostream& out, const std::string& name, std::string_view value) {
  out << name << "=\"";
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || byte < 0x20 || byte >= 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      out << escaped;
    } else {
      out << c;
    }
  }
  out << "\"\n";
}

template <typename Names>
void writeEntries(std::ostream& out, std::string_view heading, const std::string& prefix,
                  const Names& names) {
  out << "\n# " << heading << ", from vocab/\n";
  int number = 0;
  for (const std::string_view name : names) {
    writeEntry(out, prefix + std::to_string(++number), name);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: write_dictionary HAND_WRITTEN OUTPUT\n";
    return 2;
  }
  std::ifstream handWritten(argv[1], std::ios::binary);
  std::ostringstream dictionary;
  dictionary << handWritten.rdbuf();
  if (!handWritten) {
    std::cerr << "write_dictionary: cannot read " << argv[1] << '\n';
    return 1;
  }
  writeEntries(dictionary, "method names", "method", marlint::methodNames());
  writeEntries(dictionary, "unit names", "unit", marlint::unitNames());
  writeEntries(dictionary, "XML location names of every run", "location",
               marlint::kStartupXmlLocationNames);
  dictionary << "\n# address letters, from vocab/\n";
  writeEntry(dictionary, "letters", marlint::addressLetters());
  std::ofstream output(argv[2], std::ios::binary);
  output << dictionary.str();
  if (!output.flush()) {
    std::cerr << "write_dictionary: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
