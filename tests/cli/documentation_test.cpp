#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_options.h"
#include "explain/file_causes.h"
#include "marlint/version.h"
#include "tests/support/process_runner.h"
#include "vocab/vocabularies.h"

// The README, the manual page and the public header against the program:
// the lists they give are the tables the program uses, and every README
// example that shows output is what the built binary writes for the input
// the example shows.

namespace marlint::testing {
namespace {

std::string sourceFile(const std::string& name) {
  const std::optional<std::string> text =
      readWholeFile(std::string(MARLINT_SOURCE_DIR) + "/" + name);
  EXPECT_TRUE(text.has_value()) << "cannot read " << name;
  return text.value_or("");
}

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The characters the roff escapes of the page print.
std::string decodeRoff(std::string text) {
  text = replaceAll(text, "\\-", "-");
  text = replaceAll(text, "\\(ha", "^");
  text = replaceAll(text, "\\(aq", "'");
  text = replaceAll(text, "\\&", "");
  return replaceAll(text, "\\e", "\\");
}

// The lines between the page's comments '.\" MARK: begin' and '.\" MARK: end',
// without the macro lines.
std::string markedBlock(const std::string& page, const std::string& mark) {
  std::string block;
  bool inside = false;
  for (const std::string& line : linesOf(page)) {
    if (line == ".\\\" " + mark + ": begin" || line == ".\\\" " + mark + ": end") {
      inside = !inside;
    } else if (inside && !startsWith(line, ".")) {
      block += line + "\n";
    }
  }
  return block;
}

// The names in two columns, the first column filled first; the second
// column starts three blanks after the longest name of the first.
std::string twoColumns(NameList names) {
  const std::size_t rows = (names.size() + 1) / 2;
  std::size_t width = 0;
  for (std::size_t row = 0; row < rows; ++row) {
    width = std::max(width, names[row].size());
  }
  std::string block;
  for (std::size_t row = 0; row < rows; ++row) {
    std::string line(names[row]);
    if (row + rows < names.size()) {
      line.resize(width + 3, ' ');
      line.append(names[row + rows]);
    }
    block += line + "\n";
  }
  return block;
}

TEST(ManualPage, ListsTheMethodAndUnitNamesOfTheTables) {
  const std::string page = sourceFile("doc/marlint.1");
  const std::pair<const char*, NameList> lists[] = {{"method names", methodNames()},
                                                    {"unit names", unitNames()}};
  for (const auto& [mark, names] : lists) {
    const std::string expected = twoColumns(names);
    EXPECT_EQ(decodeRoff(markedBlock(page, mark)), expected)
        << "doc/marlint.1 lists other " << mark << " than vocab/vocabularies.cpp; between '.\\\" "
        << mark << ": begin' and its end the .EX block should read:\n"
        << replaceAll(expected, "^", "\\(ha");
  }
}

// "G F Y X ...", as the README's column table and the page's column list
// spell the address letters.
TEST(ManualPageAndReadme, ListTheAddressLettersOfTheTable) {
  std::string spaced;
  for (const char letter : addressLetters()) {
    spaced += std::string(spaced.empty() ? "" : " ") + letter;
  }
  EXPECT_NE(sourceFile("README.md").find("one of `" + spaced + "`"), std::string::npos) << spaced;
  EXPECT_NE(sourceFile("doc/marlint.1").find(".BR \"" + spaced + "\""), std::string::npos)
      << spaced;
}

// The causes a report names, one item each, in the order and words of the
// table in explain/file_causes.cpp: the list under "### The report" in
// README.md, the one between '.\" likely causes: begin' and its end in
// doc/marlint.1, and the one in the comment on Fault::detail in
// include/marlint/marlint.h. Prose may end an item in ';' or '.'.
TEST(ManualPageReadmeAndHeader, ListTheLikelyCausesOfTheTable) {
  std::vector<std::string> table;
  for (const LikelyCauseEntry& entry : likelyCauseEntries()) {
    table.emplace_back(entry.description);
  }
  const auto item = [](std::string text) {
    if (!text.empty() && (text.back() == ';' || text.back() == '.')) {
      text.pop_back();
    }
    return text;
  };
  std::vector<std::string> readme;
  std::string heading;
  for (const std::string& line : linesOf(sourceFile("README.md"))) {
    heading = startsWith(line, "#") ? line : heading;
    if (heading == "### The report" && startsWith(line, "- ")) {
      readme.push_back(item(line.substr(2)));
    }
  }
  std::vector<std::string> page;
  for (const std::string& line :
       linesOf(decodeRoff(markedBlock(sourceFile("doc/marlint.1"), "likely causes")))) {
    page.push_back(item(line));
  }
  // The "  //   - " lines of the comment right above `std::string detail;`.
  std::vector<std::string> comment;
  std::vector<std::string> header;
  for (const std::string& line : linesOf(sourceFile("include/marlint/marlint.h"))) {
    if (startsWith(line, "  //   - ")) {
      comment.push_back(item(line.substr(9)));
    } else if (!startsWith(line, "  //")) {
      header = line == "  std::string detail;" ? comment : header;
      comment.clear();
    }
  }
  std::string expected;
  for (const std::string& description : table) {
    expected += "  " + description + "\n";
  }
  EXPECT_EQ(readme, table) << "the list under \"### The report\" in README.md should read:\n"
                           << expected;
  EXPECT_EQ(page, table) << "the list between '.\\\" likely causes: begin' and its end in "
                            "doc/marlint.1 should read, one .IP item each:\n"
                         << expected;
  EXPECT_EQ(header, table) << "the list in the comment on Fault::detail in "
                              "include/marlint/marlint.h should read:\n"
                           << expected;
  // The `causes` row of the README's member table names every stable name,
  // in the table's order.
  std::string names;
  for (const LikelyCauseEntry& entry : likelyCauseEntries()) {
    names += std::string(names.empty() ? "" : ", ") + "`" + std::string(entry.name) + "`";
  }
  std::string causesRow;
  for (const std::string& line : linesOf(sourceFile("README.md"))) {
    causesRow = startsWith(line, "| `causes` |") ? line : causesRow;
  }
  EXPECT_NE(causesRow.find("(the names of the list above, in its order: " + names + ")"),
            std::string::npos)
      << "the causes row of the JSON member table in README.md should list: " << names;
}

// Each option's spellings, blanks left out: "-h,--help", "--version".
TEST(Options, HelpManualPageAndReadmeListTheOptionTable) {
  std::vector<std::string> table;
  for (const std::string& spelling : optionSpellings()) {
    table.push_back(replaceAll(spelling, " ", ""));
  }
  std::vector<std::string> help;
  for (const std::string& line : linesOf(std::string(helpText()))) {
    if (startsWith(line, "  -") || startsWith(line, "      --")) {
      const std::size_t start = line.find('-');
      help.push_back(replaceAll(line.substr(start, line.find("  ", start) - start), " ", ""));
    }
  }
  // The tag line of a .TP paragraph under OPTIONS: ".BR \-h ", " \-\-help".
  std::vector<std::string> page;
  std::string heading;
  std::string previous;
  for (const std::string& line : linesOf(sourceFile("doc/marlint.1"))) {
    heading = startsWith(line, ".SH ") ? line : heading;
    if (heading == ".SH OPTIONS" && previous == ".TP") {
      const std::string tag = decodeRoff(line.substr(line.find(' ') + 1));
      page.push_back(replaceAll(replaceAll(tag, "\"", ""), " ", ""));
    }
    previous = line;
  }
  std::vector<std::string> readme;
  for (const std::string& line : linesOf(sourceFile("README.md"))) {
    heading = startsWith(line, "#") ? line : heading;
    if (heading == "### Options" && startsWith(line, "| `-")) {
      const std::string cell = line.substr(2, line.find(" |", 2) - 2);
      readme.push_back(replaceAll(replaceAll(cell, "`", ""), " ", ""));
    }
  }
  EXPECT_EQ(help, table) << "--help";
  EXPECT_EQ(page, table) << "the .TP tags under OPTIONS in doc/marlint.1";
  EXPECT_EQ(readme, table) << "the table under \"### Options\" in README.md";
}

// A README block that starts with "$ " is a shell session in a scratch
// folder: "$ cat FILE" shows a file, the lines up to the next "$ " line;
// "$ marlint ARGUMENTS" shows what the program writes on standard output.
TEST(Readme, ExamplesShowWhatTheProgramWrites) {
  TemporaryDirectory folder;
  ProcessOptions options;
  options.workingDirectory = folder.path();
  int commandsRun = 0;
  const std::vector<std::string> lines = linesOf(sourceFile("README.md"));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!startsWith(lines[i], "```") || i + 1 >= lines.size() || !startsWith(lines[i + 1], "$ ")) {
      continue;
    }
    for (++i; i < lines.size() && !startsWith(lines[i], "```");) {
      const std::string command = lines[i].substr(2);
      std::string shown;
      for (++i; i < lines.size() && !startsWith(lines[i], "$ ") && !startsWith(lines[i], "```");
           ++i) {
        shown += lines[i] + "\n";
      }
      std::vector<std::string> words;
      std::istringstream stream(command);
      for (std::string word; stream >> word;) {
        words.push_back(word);
      }
      if (words.size() == 2 && words[0] == "cat") {
        folder.writeFile(words[1], shown);
      } else {
        ASSERT_EQ(words.front(), "marlint") << "a README session runs only cat and marlint";
        words.erase(words.begin());
        EXPECT_EQ(runMarlintProcess(words, options).standardOutput, shown)
            << "README.md shows other output for: " << command;
        ++commandsRun;
      }
    }
  }
  EXPECT_GE(commandsRun, 2) << "the README's report examples were not found";
}

// Every result text the README's table of messages shows as an example is
// the result of a faulty example file, examples/faulty/NAME.csv, which the
// process tests run for NAME.expected.
TEST(Readme, MessageExamplesAreResultsOfTheFaultyExamples) {
  std::set<std::string> results;
  for (const auto& entry : std::filesystem::directory_iterator(MARLINT_EXAMPLES_DIR "/faulty")) {
    if (entry.path().extension() == ".expected") {
      results.insert(readWholeFile(entry.path().string()).value_or(""));
    }
  }
  int examples = 0;
  std::string heading;
  for (const std::string& row : linesOf(sourceFile("README.md"))) {
    heading = startsWith(row, "#") ? row : heading;
    const std::size_t cell = row.find("` | ");
    if (heading != "## Result messages" || !startsWith(row, "|") || cell == std::string::npos) {
      continue;
    }
    for (std::size_t at = row.find('`', cell + 4); at != std::string::npos;
         at = row.find('`', row.find('`', at + 1) + 1)) {
      const std::string example = row.substr(at + 1, row.find('`', at + 1) - at - 1);
      if (example.back() == '.') {
        EXPECT_EQ(results.count(example), 1u) << "no faulty example gives '" << example << "'";
        ++examples;
      }
    }
  }
  EXPECT_GE(examples, 18) << "the README's table of messages was not found";
}

// The example under "Use from C++" is the program the consumer tests build
// and run against the installed library, which print what the README says.
TEST(Readme, UseFromCppIsTheConsumerExample) {
  const std::string readme = sourceFile("README.md");
  const std::size_t start = readme.find("```cpp\n", readme.find("## Use from C++")) + 7;
  const std::string example = readme.substr(start, readme.find("```\n", start) - start);
  EXPECT_EQ(example, sourceFile("tests/consumer/example.cpp"));
}

// The README's member table names the members of the JSON record in the
// order the program writes them.
TEST(Readme, MemberTableListsTheJsonRecord) {
  const std::string line = runMarlintProcess({"--json", "/nonexistent/points.csv"}).standardOutput;
  std::vector<std::string> written;
  const nlohmann::ordered_json record = nlohmann::ordered_json::parse(line);
  for (const auto& member : record.items()) {
    written.push_back(member.key());
  }
  std::vector<std::string> listed;
  bool inside = false;
  for (const std::string& row : linesOf(sourceFile("README.md"))) {
    inside = row == "| Member | Value |" || (inside && startsWith(row, "|"));
    for (std::size_t at = row.find('`'); inside && at < row.find(" | ");
         at = row.find('`', row.find('`', at + 1) + 1)) {
      listed.push_back(row.substr(at + 1, row.find('`', at + 1) - at - 1));
    }
  }
  EXPECT_EQ(listed, written) << "the member table under \"The report\" in README.md";
}

// The version is kept once, in CMake; --version, the manual page, the README,
// the npm package and the newest release in the changelog all say it.
TEST(Version, IsTheSameEverywhere) {
  const std::string version = MARLINT_VERSION;
  EXPECT_EQ(versionText(), "marlint " + version + "\n");
  const std::string page = sourceFile("doc/marlint.1");
  EXPECT_NE(page.find(" \"marlint " + version + "\" \"User Commands\""), std::string::npos)
      << "the manual page's title line";
  EXPECT_NE(page.find(".BR \"marlint " + version + "\""), std::string::npos)
      << "the manual page's --version";
  EXPECT_NE(sourceFile("README.md").find("prints `marlint " + version + "`"), std::string::npos)
      << "the README's --version";
  EXPECT_NE(sourceFile("web/npm/package.json.in").find("\"version\": \"@PROJECT_VERSION@\""),
            std::string::npos)
      << "the npm package takes its version from CMake";
  std::string newestRelease;
  for (const std::string& line : linesOf(sourceFile("CHANGELOG.md"))) {
    if (startsWith(line, "## [") && !startsWith(line, "## [Unreleased]")) {
      newestRelease = line.substr(4, line.find(']') - 4);
      break;
    }
  }
  EXPECT_EQ(newestRelease, version) << "the newest release in CHANGELOG.md";
}

}  // namespace
}  // namespace marlint::testing
