#include <fstream>
#include <iostream>
#include <string_view>

#include "vocab/vocabularies.h"

// Writes the fuzzer's dictionary: the hand-written entries of
// fuzz/point_file.dict, then every name of the vocabularies, so that the
// dictionary cannot miss a name the tables gain.
//
// Usage: write_dictionary HAND_WRITTEN OUTPUT

template <typename Names>
void writeEntries(std::ostream& out, std::string_view prefix, const Names& names) {
  int number = 0;
  for (const std::string_view name : names) {
    out << prefix << ++number << "=\"";
    for (const char c : name) {
      out << (c == '"' || c == '\\' ? "\\" : "") << c;
    }
    out << "\"\n";
  }
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: write_dictionary HAND_WRITTEN OUTPUT\n";
    return 2;
  }
  std::ifstream handWritten(argv[1], std::ios::binary);
  std::ofstream out(argv[2], std::ios::binary);
  out << handWritten.rdbuf() << "\n# the names of the vocabularies in vocab/\n";
  writeEntries(out, "method", marlint::methodNames());
  writeEntries(out, "unit", marlint::unitNames());
  writeEntries(out, "location", marlint::kStartupXmlLocationNames);
  out << "letters=\"" << marlint::addressLetters() << "\"\n";
  if (!handWritten || !out.flush()) {
    std::cerr << "write_dictionary: cannot copy " << argv[1] << " to " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
