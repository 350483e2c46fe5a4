#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "marlint/marlint.h"
#include "tests/support/point_file.h"

// Fixing a file: each kind of fix, where it must be certain, maybe or
// missing; then, over generated files with slips injected, the properties
// every fix holds to.

namespace marlint::testing {
namespace {

// "H\nR1\nR2\n" from a header line and rows.
std::string fileOf(std::initializer_list<std::string> lines, std::string_view lineEnd = "\n") {
  std::string file;
  for (const std::string& line : lines) {
    file.append(line).append(lineEnd);
  }
  return file;
}

std::string header() {
  return kHeader;
}

// `text`, ASCII or UTF-8 of two or three bytes a character, as UTF-16: low
// byte first or not, after a byte-order mark or not.
std::string utf16Of(std::string_view text, bool lowByteFirst, bool mark = true) {
  std::u16string units = mark ? u"\ufeff" : u"";
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      units.push_back(byte);
    } else if (byte < 0xe0) {
      units.push_back(static_cast<char16_t>((byte & 0x1f) << 6 | (text[++at] & 0x3f)));
    } else {
      const auto second = static_cast<unsigned char>(text[++at]);
      units.push_back(
          static_cast<char16_t>((byte & 0x0f) << 12 | (second & 0x3f) << 6 | (text[++at] & 0x3f)));
    }
  }
  std::string bytes;
  for (const char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xff);
    const char high = static_cast<char>(unit >> 8);
    bytes.push_back(lowByteFirst ? low : high);
    bytes.push_back(lowByteFirst ? high : low);
  }
  return bytes;
}

// How the first fault of the input is fixed, as its report says.
enum class Offered { kNone, kCertain, kMaybe };

struct FixCase {
  std::string name;
  std::string input;
  Offered firstFault;  // the first fault's fixes: none, one certain, or maybe only
  std::string fixed;   // what fixBytes gives; "" for the input unchanged
};

Offered offeredFor(const Fault& fault) {
  if (fault.fixes.empty()) {
    return Offered::kNone;
  }
  const bool certain = std::any_of(fault.fixes.begin(), fault.fixes.end(), [](const Fix& fix) {
    return fix.applicability == Applicability::kCertain;
  });
  return certain ? Offered::kCertain : Offered::kMaybe;
}

const std::string kDeviceRow2 = "D,ReadMode_2,,,,,,,,,,,,";

const FixCase kFixCases[] = {
    // A word in other case, a usual unit spelling, two swapped letters.
    {"UnitInOtherCase", fileOf({header(), withField(kSampleRow, 5, "millimeter")}),
     Offered::kCertain, fileOf({header(), kSampleRow})},
    {"UnitAsPeopleWriteIt", fileOf({header(), withField(kSampleRow, 5, "mm")}), Offered::kCertain,
     fileOf({header(), kSampleRow})},
    {"SwappedLetters", fileOf({"2,3,Flase", kSampleRow}), Offered::kCertain,
     fileOf({header(), kSampleRow})},
    {"MethodNameInOtherCase", fileOf({header(), "D,readmode_1,,,,,,,,,,,,"}), Offered::kCertain,
     fileOf({header(), kDeviceRow})},
    {"PathOneIsPath", fileOf({header(), withField(kSampleRow, 6, "Path1")}), Offered::kCertain,
     fileOf({header(), kSampleRow})},
    // Maybe: a larger distance; several close words.
    {"TwoSlipsAway", fileOf({header(), withField(kSampleRow, 5, "MILIMETR")}), Offered::kMaybe, ""},
    {"ThreeCloseDataPaths", fileOf({header(), withField(kEventRow, 7, "CNC path")}),
     Offered::kMaybe, ""},
    // Blanks around a word are a second change.
    {"UnitSpellingWithBlanks", fileOf({header(), withField(kSampleRow, 5, " mm")}), Offered::kMaybe,
     ""},
    // Never offered: a path past the header's count, a name an earlier row
    // has.
    {"PathPastTheCount", fileOf({header(), withField(kSampleRow, 6, "Path4")}), Offered::kNone, ""},
    {"NameOfAnEarlierRow", fileOf({header(), kDeviceRow, "D,readmode_1,,,,,,,,,,,,"}),
     Offered::kNone, ""},
    // A name a later row has is not suggested, so not offered.
    {"NameOfALaterRow", fileOf({header(), "D,readmode_1,,,,,,,,,,,,", kDeviceRow}), Offered::kNone,
     ""},
    // A fix that would show a fault the row hides is not offered: the
    // point type "sample" hides that a SAMPLE point needs a unit.
    {"FixThatShowsAHiddenFault",
     fileOf({header(), withField(withField(kSampleRow, 2, "sample"), 5, "")}), Offered::kNone, ""},
    // Row repairs: the one edit that gives the row its fields.
    {"ThousandsSeparator", fileOf({header(), withField(kCncSampleRow, 4, "1,000")}),
     Offered::kCertain, fileOf({header(), withField(kCncSampleRow, 4, "1000")})},
    {"CodesSeparatedByAComma", fileOf({header(), withField(kConditionRow, 3, "1000,2999")}),
     Offered::kCertain, fileOf({header(), kConditionRow})},
    {"CommaAtTheEndOfARow", fileOf({header(), std::string(kSampleRow) + ","}), Offered::kCertain,
     fileOf({header(), kSampleRow})},
    {"TwoFieldsTooMany", fileOf({header(), std::string(kSampleRow) + ",,"}), Offered::kNone, ""},
    // The file as a whole.
    {"ByteOrderMark", "\xef\xbb\xbf" + fileOf({header(), kSampleRow}), Offered::kCertain,
     fileOf({header(), kSampleRow})},
    {"MarkQuotesAndCrLf",
     "\xef\xbb\xbf" + fileOf({"\"2\",\"3\",\"False\"",
                              "\"C\",\"Temp1\",\"SAMPLE\",\"\",\"500\",\"MILLIMETER\",\"Path\","
                              "\"PMC path 2\",\"6\",\"String\",\"R\",\"D\",\"100\",\"\""},
                             "\r\n"),
     Offered::kNone, fileOf({header(), kSampleRow}, "\r\n")},
    {"QuotesHidingAUnitInOtherCase",
     fileOf({"2,3,False",
             "\"C\",\"Temp1\",\"SAMPLE\",,\"500\",\"millimeter\",\"Path\","
             "\"PMC path 2\",\"6\",\"String\",\"R\",\"D\",\"100\","}),
     Offered::kNone, fileOf({header(), kSampleRow})},
    {"DoubledQuoteInAField",
     fileOf({header(),
             "\"C\",\"Te\"\"mp1\",\"SAMPLE\",,\"500\",\"NONE\",\"Path\",,\"1\","
             "\"String\",\"R\",,\"100\","}),
     Offered::kNone, ""},
    {"Semicolons", fileOf({"2;3;False", "C;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;"}),
     Offered::kNone, fileOf({header(), kCncSampleRow})},
    {"SemicolonInOneFieldOfACommaFile",
     fileOf({header(), withField(kSampleRow, 1, "Temp;1"), kCncSampleRow}), Offered::kNone, ""},
    {"Tabs",
     fileOf({"2\t3\tFalse", "C\tTemp2\tSAMPLE\t\t500\tNONE\tPath\t\t1\tString\tR\t\t100\t"}),
     Offered::kNone, fileOf({header(), kCncSampleRow})},
    {"PaddedHeader", fileOf({"2,3,False,,,,,,,,,,,", kSampleRow}), Offered::kNone,
     fileOf({header(), kSampleRow})},
    {"TrailingCommas",
     fileOf({header(), std::string(kSampleRow) + ",", std::string(kEventRow) + ","}),
     Offered::kCertain, fileOf({header(), kSampleRow, kEventRow})},
    // UTF-16 text, in either byte order, with or without its mark, is saved
    // as UTF-8, and so is a character beyond ASCII after the rows.
    {"Utf16LowByteFirst", utf16Of(fileOf({header(), kSampleRow}, "\r\n"), true), Offered::kNone,
     fileOf({header(), kSampleRow}, "\r\n")},
    {"Utf16HighByteFirstWithoutMark", utf16Of(fileOf({header(), kSampleRow}), false, false),
     Offered::kNone, fileOf({header(), kSampleRow})},
    // An empty line of UTF-16 text reads as a row "\0"; saved as UTF-8 it
    // would end the rows and leave the lines after it unread.
    {"Utf16EmptyLineBeforeMoreLines",
     utf16Of(fileOf({header(), kSampleRow, "", "\xc3\xa9t\xc3\xa9"}), true), Offered::kNone, ""},
    {"Utf16WithTabs",
     utf16Of(
         fileOf({"2\t3\tFalse", "C\tTemp2\tSAMPLE\t\t500\tNONE\tPath\t\t1\tString\tR\t\t100\t"}),
         true),
     Offered::kNone, fileOf({header(), kCncSampleRow})},
    // Half a surrogate pair reads as no one text.
    {"Utf16WithHalfASurrogatePair",
     utf16Of(fileOf({header(), kSampleRow}), true) + std::string("\x00\xd8\x0a\x00", 4),
     Offered::kNone, ""},
    // Lines that end in CR alone read as one line; CR CR LF leaves a CR at
    // the end of each line.
    {"CrOnlyLineEnds", fileOf({header(), kSampleRow, kEventRow}, "\r"), Offered::kNone,
     fileOf({header(), kSampleRow, kEventRow}, "\r\n")},
    {"CrOnlyLineEndsAndSemicolons",
     fileOf({"2;3;False", "C;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;"}, "\r"), Offered::kNone,
     fileOf({header(), kCncSampleRow}, "\r\n")},
    {"CrOnlyLineEndsRevealingAnUnfixableFault",
     fileOf({header(), withField(kSampleRow, 4, "99")}, "\r"), Offered::kNone, ""},
    {"DoubledCr", fileOf({header(), kSampleRow, kEventRow}, "\r\r\n"), Offered::kMaybe,
     fileOf({header(), kSampleRow, kEventRow}, "\r\n")},
    {"DoubledCrOnOneRow", fileOf({header(), kSampleRow + std::string("\r"), kEventRow}, "\r\n"),
     Offered::kNone, fileOf({header(), kSampleRow, kEventRow}, "\r\n")},
    // No whole-file fix may leave a row unread: a line that it would leave
    // empty would end the rows before the lines after it.
    {"CrOnlyEmptyLineBeforeMoreRows",
     "2,3,False\r" + std::string(kSampleRow) + "\r\r" + kEventRow + "\r", Offered::kNone, ""},
    {"DoubledCrOnALineOfItsOwn", fileOf({header(), kSampleRow, "", kEventRow}, "\r\r\n"),
     Offered::kMaybe, ""},
    {"QuotedEmptyFieldOnALineOfItsOwn",
     fileOf({"\"2\",\"3\",\"False\"",
             "\"C\",\"Temp2\",\"SAMPLE\",\"\",\"500\",\"NONE\",\"Path\",\"\",\"1\",\"String\","
             "\"R\",\"\",\"100\",\"\"",
             "\"\"",
             "\"C\",\"Temp3\",\"SAMPLE\",\"\",\"500\",\"NONE\",\"Path\",\"\",\"1\",\"String\","
             "\"R\",\"\",\"100\",\"\""}),
     Offered::kNone, ""},
    // Lines after the rows, and bytes that are not UTF-8 in them, are kept.
    {"LinesAfterTheRowsKept",
     fileOf({header(), withField(kSampleRow, 5, "millimeter"), "", "x\xe9;\"y\""}),
     Offered::kCertain, fileOf({header(), kSampleRow, "", "x\xe9;\"y\""})},
};

class Fixes : public ::testing::TestWithParam<FixCase> {};

TEST_P(Fixes, AreOfferedAndAppliedOnlyWhereRight) {
  const FixCase& c = GetParam();
  CheckOptions options;
  options.scope = Scope::kEveryFault;
  const CheckResult checked = checkBytes(c.input, options);
  ASSERT_FALSE(checked.faults.empty());
  EXPECT_EQ(offeredFor(checked.faults.front()), c.firstFault);
  const FixResult result = fixBytes(c.input);
  EXPECT_EQ(result.bytes, c.fixed.empty() ? c.input : c.fixed);
  EXPECT_EQ(result.applied.empty(), c.fixed.empty());
  if (!c.fixed.empty()) {
    EXPECT_EQ(checkBytes(result.bytes).resultText, "OK");
  }
}

INSTANTIATE_TEST_SUITE_P(EachKind, Fixes, ::testing::ValuesIn(kFixCases),
                         [](const auto& info) { return info.param.name; });

// Of two rows that would both become one name, the first gets it and the
// second keeps its fault: the fixed file has no repeated name.
TEST(Fixes, NeverGiveTwoRowsOneName) {
  const FixResult result =
      fixBytes(fileOf({header(), "D,readmode_1,,,,,,,,,,,,", "D,READMODE_1,,,,,,,,,,,,"}));
  EXPECT_EQ(result.bytes, fileOf({header(), kDeviceRow, "D,READMODE_1,,,,,,,,,,,,"}));
  ASSERT_EQ(result.applied.size(), 1u);
  ASSERT_FALSE(result.remaining.empty());
  EXPECT_EQ(result.remaining.front().line, 3u);
  EXPECT_EQ(result.remaining.front().rule, "method-name");
}

TEST(Fixes, NameTheBytesTheyReplaceAndWhereTheFaultWas) {
  const std::string input = fileOf({header(), withField(kSampleRow, 5, "millimeter")});
  const FixResult result = fixBytes(input);
  ASSERT_EQ(result.applied.size(), 1u);
  const Fault& fixed = result.applied.front();
  EXPECT_EQ(fixed.severity, Severity::kFixed);
  EXPECT_EQ(std::tie(fixed.line, fixed.column, fixed.rule),
            std::make_tuple(std::size_t{2}, std::size_t{21}, std::string("unit-name")));
  EXPECT_EQ(fixed.detail, "unit \"millimeter\": write \"MILLIMETER\"");
  ASSERT_EQ(fixed.fixes.size(), 1u);
  ASSERT_EQ(fixed.fixes.front().edits.size(), 1u);
  const Edit& edit = fixed.fixes.front().edits.front();
  EXPECT_EQ(input.substr(edit.offset, edit.length), "millimeter");
  EXPECT_EQ(edit.replacement, "MILLIMETER");
  EXPECT_TRUE(result.remaining.empty());
}

TEST(Fixes, LeaveTheFaultsTheyCannotFixWhereTheyStandInTheFixedBytes) {
  const FixResult result =
      fixBytes("\xef\xbb\xbf" + fileOf({header(), withField(kSampleRow, 4, "99")}));
  ASSERT_EQ(result.remaining.size(), 1u);
  EXPECT_EQ(result.remaining.front().rule, "cycle");
  EXPECT_EQ(result.remaining.front().column, 17u);
  EXPECT_EQ(result.applied.size(), 1u);
}

// A character beyond ASCII is written in its UTF-8 bytes, one beyond the
// first 65536 from its surrogate pair; an ASCII character only loses its
// NUL half, so its byte is no part of an edit.
TEST(Fixes, SaveUtf16TextAsUtf8BeyondAscii) {
  const std::string utf8 = fileOf({header(), withField(kSampleRow, 1, "Temp\xc3\xa9\xe2\x82\xac")});
  const std::string pair = "\xf0\x9f\x98\x80";
  std::string input = utf16Of(utf8, true);
  input.insert(input.find(std::string("\xac\x20", 2)) + 2, std::string("\x3d\xd8\x00\xde", 4));
  std::string expected = utf8;
  expected.insert(expected.find("\xe2\x82\xac") + 3, pair);
  const FixResult result = fixBytes(input);
  EXPECT_EQ(result.bytes, expected);
  ASSERT_EQ(result.applied.size(), 1u);
  EXPECT_EQ(result.applied.front().rule, "utf16-text");
  for (const Edit& edit : result.applied.front().fixes.front().edits) {
    const std::string replaced = input.substr(edit.offset, edit.length);
    const bool beyondAscii =
        !edit.replacement.empty() &&
        std::all_of(edit.replacement.begin(), edit.replacement.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
    EXPECT_TRUE(replaced == std::string(1, '\0') || replaced == "\xff\xfe" || beyondAscii)
        << edit.offset;
  }
  ASSERT_EQ(result.remaining.size(), 1u);
  EXPECT_EQ(result.remaining.front().line, 2u);
  EXPECT_EQ(result.remaining.front().field, 1);
}

// Generated files: good rows, then slips that each have one right change,
// at most one to a row, and some that have none.

struct Slip {
  std::size_t field;
  const char* good;
  const char* slipped;
};

// Each certain slip, on a row that holds the good text.
const Slip kCertainSlips[] = {
    {2, "SAMPLE", "sample"}, {5, "MILLIMETER", "mm"},       {5, "NONE", "none"},
    {6, "Path", "Path1"},    {9, "String", "Strnig"},       {10, "R", "r"},
    {4, "1000", "1,000"},    {3, "1000 2999", "1000,2999"},
};

// Slips with no certain fix: they stay, and no fault may join them.
const Slip kOtherSlips[] = {
    {4, "500", "99"}, {5, "MILLIMETER", "MILIMETR"}, {13, "3", "8"}, {4, "1000", "5O0"}};

const char* const kRows[] = {
    "C,Temp{},SAMPLE,,500,MILLIMETER,Path,PMC path 2,6,String,R,D,100,",
    "C,Speed{},SAMPLE,,1000,NONE,Path,,1,String,R,,100,",
    "C,Door{},SAMPLE,,500,NONE,Device,PMC path 1,7,String,R,X,10,3",
    "C,Alarm{},CONDITION,1000 2999,800,,Path2,,,,,,,",
    "C,State{},EVENT,RUNNING,1000,,Controller,,,,,,,",
};

std::string rowNumbered(const char* pattern, std::size_t number) {
  std::string row(pattern);
  row.replace(row.find("{}"), 2, std::to_string(number));
  return row;
}

// `row` with `slip` applied when it holds the good text in that field.
bool applySlip(std::string& row, const Slip& slip) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = row.find(',', start);
    fields.push_back(row.substr(start, comma - start));
    if (comma == std::string::npos) {
      break;
    }
    start = comma + 1;
  }
  if (fields.size() <= slip.field || fields[slip.field] != slip.good) {
    return false;
  }
  row = withField(row, slip.field, slip.slipped);
  return true;
}

struct GeneratedFile {
  std::string good;       // before the slips
  std::string slipped;    // with them
  bool onlyCertainSlips;  // every slip has one right change
};

// How a generated file ends its lines: as it is fixed, and as written.
struct LineEnds {
  const char* fixed;
  const char* written;
};
const LineEnds kLineEnds[] = {
    {"\n", "\n"}, {"\r\n", "\r\n"}, {"\n", "\n"}, {"\r\n", "\r"}, {"\r\n", "\r\r\n"}};

GeneratedFile generate(std::mt19937& random) {
  const bool quoted = random() % 4 == 0;
  const bool utf16 = random() % 6 == 0;
  const bool mark = !utf16 && random() % 4 == 0;
  const bool semicolons = !quoted && random() % 5 == 0;
  const LineEnds& lineEnds = kLineEnds[random() % std::size(kLineEnds)];
  std::vector<std::string> goodRows = {header()};
  std::vector<std::string> slippedRows = {header()};
  bool onlyCertain = true;
  const std::size_t rowCount = 1 + random() % 12;
  for (std::size_t i = 0; i < rowCount; ++i) {
    const std::string good = rowNumbered(kRows[random() % std::size(kRows)], i + 1);
    std::string slipped = good;
    if (random() % 2 == 0) {
      const Slip& slip = kCertainSlips[random() % std::size(kCertainSlips)];
      // A comma inside a value is more than one change in a file that
      // quotes or splits at semicolons.
      const bool addsComma = std::string_view(slip.slipped).find(',') != std::string_view::npos;
      if (!addsComma || !(quoted || semicolons)) {
        applySlip(slipped, slip);
      }
    } else if (random() % 8 == 0) {
      onlyCertain =
          !applySlip(slipped, kOtherSlips[random() % std::size(kOtherSlips)]) && onlyCertain;
    }
    goodRows.push_back(good);
    slippedRows.push_back(slipped);
  }
  GeneratedFile file{"", "", onlyCertain};
  for (std::size_t i = 0; i < goodRows.size(); ++i) {
    std::string line = slippedRows[i];
    if (quoted || semicolons) {
      if (quoted) {
        std::string wrapped = "\"";
        for (const char c : line) {
          wrapped.append(c == ',' ? "\",\"" : std::string(1, c));
        }
        line = wrapped + "\"";
      } else {
        std::replace(line.begin(), line.end(), ',', ';');
      }
    }
    file.good.append(goodRows[i]).append(lineEnds.fixed);
    file.slipped.append(line).append(lineEnds.written);
  }
  if (mark) {
    file.slipped.insert(0, "\xef\xbb\xbf");
  }
  if (utf16) {
    file.slipped = utf16Of(file.slipped, random() % 2 == 0, random() % 2 == 0);
  }
  return file;
}

struct FaultKey {
  std::size_t line;
  int field;
  std::string rule;
  bool operator<(const FaultKey& other) const {
    return std::tie(line, field, rule) < std::tie(other.line, other.field, other.rule);
  }
};

std::multiset<FaultKey> keysOf(std::string_view bytes) {
  CheckOptions options;
  options.scope = Scope::kEveryFault;
  std::multiset<FaultKey> keys;
  for (const Fault& fault : checkBytes(bytes, options).faults) {
    keys.insert({fault.line, fault.field, fault.rule});
  }
  return keys;
}

// Thousands of rows, each with a slip, in UTF-16 with tabs between the
// fields: every fix maps its place and edits back to the input past
// thousands of earlier edits.
TEST(FixProperties, HoldOnALargeUtf16FileWithASlipOnEachRow) {
  std::string good = header() + "\r\n";
  std::string slipped = "2\t3\tFalse\r\n";
  for (std::size_t i = 1; i <= 3000; ++i) {
    const std::string row = rowNumbered(kRows[i % std::size(kRows)], i);
    std::string withSlip = row;
    applySlip(withSlip, kCertainSlips[i % 3]);
    good.append(row).append("\r\n");
    std::replace(withSlip.begin(), withSlip.end(), ',', '\t');
    slipped.append(withSlip).append("\r\n");
  }
  const std::string input = utf16Of(slipped, true);
  const FixResult result = fixBytes(input);
  EXPECT_EQ(result.bytes, good);
  EXPECT_TRUE(result.remaining.empty());
  std::vector<Edit> edits;
  std::size_t line = 1;
  std::size_t counted = 0;
  for (const Fault& applied : result.applied) {
    edits.insert(edits.end(), applied.fixes.front().edits.begin(),
                 applied.fixes.front().edits.end());
    // In offset order: the lines before each are counted once.
    const std::size_t offset = applied.fixes.front().edits.front().offset;
    ASSERT_GE(offset, counted);
    line += static_cast<std::size_t>(
        std::count(input.begin() + static_cast<std::ptrdiff_t>(counted),
                   input.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    counted = offset;
    EXPECT_EQ(applied.line, line);
  }
  std::stable_sort(edits.begin(), edits.end(),
                   [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
  std::string rebuilt;
  std::size_t copied = 0;
  for (const Edit& edit : edits) {
    ASSERT_GE(edit.offset, copied);
    rebuilt.append(input, copied, edit.offset - copied).append(edit.replacement);
    copied = edit.offset + edit.length;
  }
  rebuilt.append(input, copied);
  EXPECT_EQ(rebuilt, good);
}

TEST(FixProperties, HoldOnGeneratedFilesWithSlips) {
  std::mt19937 random(20240601);
  std::size_t fixedWhole = 0;
  for (int i = 0; i < 600; ++i) {
    const GeneratedFile file = generate(random);
    SCOPED_TRACE(file.slipped);
    const FixResult result = fixBytes(file.slipped);
    // The edits reported, applied to the input in offset order, give the
    // fixed bytes: no byte outside them changed, and they never overlap.
    std::vector<Edit> edits;
    for (const Fault& applied : result.applied) {
      ASSERT_EQ(applied.fixes.size(), 1u);
      edits.insert(edits.end(), applied.fixes.front().edits.begin(),
                   applied.fixes.front().edits.end());
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
    std::string rebuilt;
    std::size_t copied = 0;
    for (const Edit& edit : edits) {
      ASSERT_GE(edit.offset, copied);
      rebuilt.append(file.slipped, copied, edit.offset - copied).append(edit.replacement);
      copied = edit.offset + edit.length;
    }
    rebuilt.append(file.slipped, copied);
    EXPECT_EQ(rebuilt, result.bytes);
    // Fixing twice is fixing once.
    const FixResult again = fixBytes(result.bytes);
    EXPECT_EQ(again.bytes, result.bytes);
    EXPECT_TRUE(again.applied.empty());
    if (file.onlyCertainSlips) {
      // The fixed file checks as the file before the slips did.
      EXPECT_EQ(result.bytes, file.good);
      EXPECT_TRUE(result.remaining.empty());
      ++fixedWhole;
    } else if (file.slipped.compare(0, 3, "\xef\xbb\xbf") != 0 &&
               file.slipped.find('\n') != std::string::npos &&
               file.slipped.find('\0') == std::string::npos) {
      // Lines and columns stay where they were: no fault joins the ones the
      // file had.
      const std::multiset<FaultKey> before = keysOf(file.slipped);
      for (const FaultKey& key : keysOf(result.bytes)) {
        EXPECT_EQ(before.count(key) > 0, true) << key.line << " " << key.rule;
      }
    }
  }
  EXPECT_GT(fixedWhole, 300u);
}

}  // namespace
}  // namespace marlint::testing
