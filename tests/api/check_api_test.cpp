#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "explain/file_causes.h"
#include "explain/unit_spellings.h"
#include "marlint/marlint.h"
#include "tests/support/point_file.h"
#include "vocab/vocabularies.h"

namespace marlint::testing {
namespace {

// Where a fault is and what it is about, as a caller of the API sees it,
// and what it says to people (the detail is checked when given).
struct Where {
  std::size_t line;
  std::size_t column;
  int field;
  std::string rule;
  std::string text;
  std::size_t firstLine = 0;
  std::vector<std::string> suggestions = {};
  std::string detail = {};
  Severity severity = Severity::kError;
};

// A likely cause a row is about, by its stable name: the first fault's
// detail names it, or the row lies just outside its evidence and the detail
// must not name it.
struct CauseEdge {
  std::string cause;
  bool named;
};

CauseEdge named(std::string cause) {
  return {std::move(cause), true};
}
CauseEdge notNamed(std::string cause) {
  return {std::move(cause), false};
}

struct ApiCase {
  std::string name;
  std::string file;
  Scope scope;
  std::string resultText;
  std::vector<Where> faults;
  bool includeNotes = false;
  std::vector<CauseEdge> causes = {};
};

std::string rows(const std::vector<std::string>& lines) {
  std::string file = std::string(kHeader) + "\n";
  for (const std::string& line : lines) {
    file += line + "\n";
  }
  return file;
}

// Rows that pass, then rows with a comma at their end: the first fault lies
// past the first 64 KiB, and what the file shows is read from there on.
std::string lateTrailingCommas() {
  std::vector<std::string> lines;
  for (int i = 0; i < 1500; ++i) {
    lines.push_back(withField(kSampleRow, 1, "Temp" + std::to_string(i)));
  }
  for (int i = 0; i < 3; ++i) {
    lines.push_back(withField(kSampleRow, 1, "Late" + std::to_string(i)) + ",");
  }
  return rows(lines);
}

// The header, then a row whose point name holds `count` control bytes (\x01
// up: neither tab, LF nor CR), then a line of "x" up to `size` bytes in all.
std::string withControlBytes(std::size_t count, std::size_t size) {
  std::string name = "P";
  for (std::size_t i = 1; i <= count; ++i) {
    name.push_back(static_cast<char>(i));
  }
  std::string file = rows({withField(kSampleRow, 1, name)});
  if (file.size() < size) {
    file += std::string(size - file.size() - 1, 'x') + "\n";
  }
  return file;
}

// A CONDITION row whose `count` codes, from 1000 up, are separated by commas.
std::string codesSeparatedByCommas(int count) {
  std::string row = "C,Alarm1,CONDITION,";
  for (int code = 1000; code < 1000 + count; ++code) {
    row += std::to_string(code) + ",";
  }
  return row + "800,,Path2,,,,,,,";
}

// Rows that pass, then a line of NULs past the first 64 KiB, as a file cut
// short in a crash may end: only the bytes from that line on are counted.
std::string lateNuls() {
  std::vector<std::string> lines;
  for (int i = 0; i < 1500; ++i) {
    lines.push_back(withField(kSampleRow, 1, "Temp" + std::to_string(i)));
  }
  lines.push_back(std::string(16, '\0'));
  return rows(lines);
}

// `text`, ASCII, as UTF-16 in little-endian order: each byte, then a NUL.
std::string utf16(std::string_view text) {
  std::string bytes;
  for (const char byte : text) {
    bytes.push_back(byte);
    bytes.push_back('\0');
  }
  return bytes;
}

// The start of a program, as the header line: no LF, but CRs inside and
// tabs, which a text would show as line ends and separators.
const std::string kProgramStart(
    "\x7f"
    "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0\t\t\t\rx\r\0\0",
    32);

const std::string kBadUnitRow = withField(kSampleRow, 5, "MILLIMETRE");
const std::string kBadCodeRow = withField(kConditionRow, 3, "1000 3000");

// `row` with several fields replaced, by field number.
std::string withFields(std::string row,
                       const std::vector<std::pair<std::size_t, std::string>>& changes) {
  for (const auto& [field, value] : changes) {
    row = withField(row, field, value);
  }
  return row;
}

// A SAMPLE point on CNC path 1 with five faults: cycle, unit, XML location,
// data type and return type.
// A method point of the name `name`.
std::string methodRow(const std::string& name) {
  return "D," + name + ",,,,,,,,,,,,";
}

const std::string kFiveFaultRow = withFields(
    kCncSampleRow, {{4, "50"}, {5, "MILIMETER"}, {6, "Controler"}, {8, "9"}, {9, "string"}});

const std::vector<ApiCase> kApiCases = {
    {"Acceptable", rows({kSampleRow, kDeviceRow}), Scope::kFirstFault, "OK", {}},
    {"EmptyFile",
     "",
     Scope::kFirstFault,
     " is illegal format.",
     {{0, 0, -1, "empty-file", "", 0, {}, "the file is empty"}}},
    {"HeaderFieldCount",
     "1,1\n",
     Scope::kFirstFault,
     "1,1 is illegal format.",
     {{1, 1, -1, "header-field-count", "1,1"}}},
    {"HeaderPointsAtItsField",
     "1,11,True\n",
     Scope::kFirstFault,
     "1,11,True is illegal CNC path num.",
     {{1, 3, 1, "cnc-path-count", "11"}}},
    {"ColumnFault",
     rows({kSampleRow, kBadUnitRow}),
     Scope::kFirstFault,
     "MILLIMETRE is illegal unit.",
     {{3,
       21,
       5,
       "unit-name",
       "MILLIMETRE",
       0,
       {"MILLIMETER"},
       "unit \"MILLIMETRE\" is not accepted; a SAMPLE point names one of the 32 unit names, "
       "such as \"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit); did you mean "
       "\"MILLIMETER\"?"}}},
    {"ConditionWord",
     rows({kBadCodeRow}),
     Scope::kFirstFault,
     "Illegal constant value.",
     {{2, 25, 3, "condition-code", "3000"}}},
    {"RowFieldCount",
     rows({"C,Temp1"}),
     Scope::kFirstFault,
     "C,Temp1 is illegal format.",
     {{2, 1, -1, "row-field-count", "C,Temp1"}}},
    // The result names the earliest point whose name occurs again (P1),
    // located at the first repeat of that name.
    {"RepeatedNames",
     rows({withField(kSampleRow, 1, "P1"), withField(kSampleRow, 1, "P2"),
           withField(kSampleRow, 1, "P2"), withField(kSampleRow, 1, "P1")}),
     Scope::kFirstFault,
     "P1 is duplicate point name.",
     {{5,
       3,
       1,
       "duplicate-name",
       "P1",
       2,
       {},
       "point name \"P1\" is repeated; it first appears on line 2"}}},
    {"EveryRepeatInLineOrder",
     rows({withField(kSampleRow, 1, "P1"), withField(kSampleRow, 1, "P2"),
           withField(kSampleRow, 1, "P2"), withField(kSampleRow, 1, "P1")}),
     Scope::kEveryFault,
     "P1 is duplicate point name.",
     {{4, 3, 1, "duplicate-name", "P2", 3}, {5, 3, 1, "duplicate-name", "P1", 2}}},
    // A faulty row wins over a repeated name, even one further up; the name
    // of a row that fails a later column still takes part.
    {"EveryFaultWithRepeats",
     rows({kSampleRow, kSampleRow, "x", withField(kBadUnitRow, 1, "Temp1")}),
     Scope::kEveryFault,
     "x is illegal format.",
     {{3, 3, 1, "duplicate-name", "Temp1", 2},
      {4, 1, -1, "row-field-count", "x"},
      {5, 3, 1, "duplicate-name", "Temp1", 2},
      {5, 21, 5, "unit-name", "MILLIMETRE", 0, {"MILLIMETER"}}}},
    // After a faulty header line the rows are still checked: no row reads
    // the DCS ladder, and a count the line does not give in its place and
    // range is taken as the largest, so a path is a fault only when no
    // count would accept it. The header's fault stays the result.
    {"RowsAfterAFaultyDcsLadder",
     "2,3,false\n" + withField(kSampleRow, 5, "CELSUIS") + "\n",
     Scope::kEveryFault,
     "2,3,false is illegal DCS Ladder.",
     {{1, 5, 2, "dcs-ladder", "false", 0, {"False"}},
      {2, 21, 5, "unit-name", "CELSUIS", 0, {"CELSIUS"}}}},
    {"RowsAfterAFaultyCountTakeTheLargest",
     "0,3,False\n" + withField(kSampleRow, 7, "PMC path 5") + "\n" +
         withFields(kSampleRow, {{1, "Temp2"}, {6, "Path4"}, {7, "PMC path 6"}}) + "\n",
     Scope::kEveryFault,
     "0,3,False is illegal PMC path num.",
     {{1, 1, 0, "pmc-path-count", "0"},
      {3, 32, 6, "xml-location", "Path4"},
      {3, 38, 7, "data-path", "PMC path 6"}}},
    {"RowsAfterAHeaderWithAFieldTooManyKeepItsCounts",
     "2,3,False,\n" + withField(kSampleRow, 6, "Path3") + "\n" +
         withFields(kSampleRow, {{1, "Temp2"}, {6, "Path4"}, {7, "PMC path 3"}}) + "\n",
     Scope::kEveryFault,
     "2,3,False, is illegal format.",
     {{1, 1, -1, "header-field-count", "2,3,False,"},
      {3, 32, 6, "xml-location", "Path4"},
      {3, 38, 7, "data-path", "PMC path 3"}}},
    // Every column of a row that does not depend on a faulty one is checked,
    // and the row's faults come in column order.
    {"FiveFaultsOfOneRowInColumnOrder",
     rows({kFiveFaultRow}),
     Scope::kEveryFault,
     "50 is illegal cycle.",
     {{2, 17, 4, "cycle", "50"},
      {2, 20, 5, "unit-name", "MILIMETER", 0, {"MILLIMETER"}},
      {2, 30, 6, "xml-location", "Controler", 0, {"Controller"}},
      {2, 41, 8, "cnc-data-type", "9"},
      {2, 43, 9, "return-type", "string", 0, {"String"}}}},
    // A column whose premise failed is reported only when no reading of
    // the premise accepts it: data type "1" passes as SAMPLE (line 2),
    // address type "D" on a PMC path (line 3), cycle "x" on a "D" row
    // (line 5); a unit or return type "x" under no point type (line 2),
    // address type "D" and bit position "x" under no data type of a CNC
    // path (line 4), and a data path "x" under no constant value (line 6)
    // are faults whatever the faulty column should be.
    {"DependentColumnsAreFaultsOnlyUnderEveryReading",
     rows({withFields(kCncSampleRow, {{2, "POINT"}, {3, "5"}, {4, "5"}, {5, "x"}, {9, "x"}}),
           withFields(kSampleRow, {{7, "x"}, {8, "1"}}),
           withFields(kCncSampleRow, {{1, "Temp3"}, {8, "x"}, {11, "D"}, {12, "x"}, {13, "x"}}),
           withFields(kSampleRow, {{0, "c"}, {1, "1x"}, {4, "x"}}),
           withFields(kConstantEventRow, {{3, "A-1"}, {7, "x"}})}),
     Scope::kEveryFault,
     "POINT is illegal point type.",
     {{2, 9, 2, "point-type", "POINT"},
      {2, 17, 4, "cycle", "5"},
      {2, 19, 5, "unit-name", "x"},
      {2, 29, 9, "return-type", "x"},
      {3, 37, 7, "data-path", "x"},
      {4, 32, 8, "cnc-data-type", "x"},
      {4, 43, 11, "cnc-address-type", "D"},
      {4, 45, 12, "start-address-type-1", "x"},
      {4, 47, 13, "bit-pos-not-allowed", "x"},
      {5, 1, 0, "point-kind", "c", 0, {"C"}},
      {5, 3, 1, "point-name", "1x"},
      {6, 16, 3, "event-value", "A-1"},
      {6, 36, 7, "data-path", "x"}}},
    // Past the header's PMC paths, the address type, start address and
    // bit position are wrong on every path and every data type.
    {"WrongOnEveryPathAndDataType",
     rows({"C,V1,EVENT,,800,,Device,PMC path 3,7,String,R,Q,70000,9"}),
     Scope::kEveryFault,
     "PMC path 3 is illegal data path.",
     {{2, 25, 7, "data-path", "PMC path 3"},
      {2, 47, 11, "address-letter", "Q"},
      {2,
       49,
       12,
       "pmc-start-address",
       "70000",
       0,
       {},
       "start address \"70000\" is out of range; for data types 5 to 8 it is 0 to 59999 (empty "
       "means 0), digits only; this holds whatever the faulty data path should be"},
      {2, 55, 13, "bit-pos", "9"}}},
    // A row with a wrong number of fields still counts its name for
    // repeats where its kind and name read right (line 2), not otherwise
    // (line 4, whose kind is "X").
    {"MisshapenRowsNameCountsForRepeats",
     rows({std::string(kSampleRow) + ",,", kSampleRow, withField(kCncSampleRow, 0, "X") + ",,",
           kCncSampleRow}),
     Scope::kEveryFault,
     std::string(kSampleRow) + ",, is illegal format.",
     {{2, 1, -1, "row-field-count", std::string(kSampleRow) + ",,"},
      {3, 3, 1, "duplicate-name", "Temp1", 2},
      {4, 1, -1, "row-field-count", withField(kCncSampleRow, 0, "X") + ",,"}}},
    // A point with constant values needs no data type to be checked: every
    // data column must simply be empty.
    {"ConstantPointDataColumnsNeedNoDataType",
     rows({withFields(kConditionRow, {{8, "1"}, {12, "5"}})}),
     Scope::kEveryFault,
     "1 is illegal data type.",
     {{2, 42, 8, "constant-point-column", "1"}, {2, 47, 12, "constant-point-column", "5"}}},
    // Suggestions: the same word in other case, or a few slips away; a "D"
    // name keeps its suffix; single letters only by case.
    {"XmlLocationFewSlipsAway",
     rows({withField(kSampleRow, 6, "Controler")}),
     Scope::kFirstFault,
     "Controler is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "Controler",
       0,
       {"Controller"},
       "XML location \"Controler\" is not accepted; expected \"Device\", \"Controller\", or "
       "one \"Path\" name per CNC path: \"Path\" to \"Path3\"; did you mean \"Controller\"?"}}},
    {"MethodNameKeepsItsSuffix",
     rows({"D,readmode_1,,,,,,,,,,,,"}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "readmode_1", 0, {"ReadMode_1"}}}},
    {"PointTypeInOtherCase",
     rows({withField(kSampleRow, 2, "Event")}),
     Scope::kFirstFault,
     "Event is illegal point type.",
     {{2, 9, 2, "point-type", "Event", 0, {"EVENT"}}}},
    {"AddressLetterInOtherCase",
     rows({withField(kBitSampleRow, 11, "x")}),
     Scope::kFirstFault,
     "x is illegal address type.",
     {{2, 55, 11, "address-letter", "x", 0, {"X"}}}},
    {"QuotedFieldSuggestsTheWord",
     rows({withField(kCncSampleRow, 5, "\"NONE\"")}),
     Scope::kFirstFault,
     "\"NONE\" is illegal unit.",
     {{2,
       21,
       5,
       "unit-name",
       "\"NONE\"",
       0,
       {"NONE"},
       "unit \"\\\"NONE\\\"\" is not accepted; a SAMPLE point names one of the 32 unit names, such "
       "as \"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit); did you mean \"NONE\"? Likely "
       "cause: double quotes wrap a field, but here they are ordinary bytes that group no commas: "
       "remove them"}},
     false,
     {named("quoted-fields")}},
    // Escaped and shortened texts, and the causes plain from the bytes.
    {"ControlBytesEscaped",
     rows({withField(kSampleRow, 1, "Te\tmp")}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "Te\tmp",
       0,
       {},
       "point name \"Te\\tmp\" holds \"\\t\"; expected a letter, then letters and digits, 50 "
       "at most"}}},
    {"ByteOrderMarkBeforeHeader",
     "\xef\xbb\xbf"
     "2,3,False\n",
     Scope::kFirstFault,
     "\xef\xbb\xbf"
     "2,3,False is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       "\xef\xbb\xbf"
       "2",
       0,
       {},
       "PMC path count \"\\xef\\xbb\\xbf2\" reads as 0; expected 1 to 5. Likely cause: the file "
       "starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), which spreadsheet exports add: save "
       "it "
       "without one"}},
     false,
     {named("byte-order-mark")}},
    {"CycleWithZerosInFront",
     rows({withField(kSampleRow, 4, "0000000000000000000099")}),
     Scope::kFirstFault,
     "0000000000000000000099 is illegal cycle.",
     {{2,
       17,
       4,
       "cycle",
       "0000000000000000000099",
       0,
       {},
       "cycle \"0000000000000000000099\" reads as 99; expected 100 to 10000"}}},
    {"CrOnlyLineEnds",
     std::string(kHeader) + "\r" + kSampleRow + "\r",
     Scope::kFirstFault,
     std::string(kHeader) + "\r" + kSampleRow + "\r is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       std::string(kHeader) + "\r" + kSampleRow + "\r",
       0,
       {},
       "header line \"2,3,False\\rC,Temp1,SAMPLE,,500,MILLIMETER...\" (75 bytes) has 16 fields; "
       "expected 3 fields: PMC path count, CNC path count, DCS ladder, such as \"2,3,False\". "
       "Likely cause: the file's lines end in CR alone, so they read as one line: end lines with "
       "LF or CR LF"}},
     false,
     {named("cr-line-ends")}},
    {"SemicolonsForCommas",
     "2;3;False\n",
     Scope::kFirstFault,
     "2;3;False is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "2;3;False",
       0,
       {},
       "header line \"2;3;False\" has 1 field; expected 3 fields: PMC path count, CNC path count, "
       "DCS ladder, such as \"2,3,False\". Likely cause: fields are separated by semicolons, as "
       "spreadsheets export them in some languages: separate them with commas"}},
     false,
     {named("semicolon-separators")}},
    // Causes are named only where the file shows them.
    {"LineWithCommasAndOneSemicolon",
     rows({"C,Te;mp1,SAMPLE"}),
     Scope::kFirstFault,
     "C,Te;mp1,SAMPLE is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       "C,Te;mp1,SAMPLE",
       0,
       {},
       "point row \"C,Te;mp1,SAMPLE\" has 3 fields; expected 14 fields (13 commas)"}},
     false,
     {notNamed("semicolon-separators")}},
    {"QuoteInsideAField",
     rows({withField(kSampleRow, 1, "Te\"mp1")}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "Te\"mp1",
       0,
       {},
       "point name \"Te\\\"mp1\" holds \"\\\"\"; expected a letter, then letters and digits, 50 "
       "at most"}},
     false,
     {notNamed("quoted-fields")}},
    // A file read in blocks looks at the same bytes as one checked in
    // memory: one CR in an unended last line is no sign of CR line ends.
    {"StrayCrInTheUnendedLastLine",
     rows({kSampleRow}) + withField(kSampleRow, 1, "Te\rmp2"),
     Scope::kFirstFault,
     "Illegal point name.",
     {{3,
       3,
       1,
       "point-name",
       "Te\rmp2",
       0,
       {},
       "point name \"Te\\rmp2\" holds \"\\r\"; expected a letter, then letters and digits, 50 "
       "at most"}},
     false,
     {notNamed("cr-line-ends")}},
    {"ByteOrderMarkNotAtTheStart",
     rows({kSampleRow, std::string("\xef\xbb\xbf") + kCncSampleRow}),
     Scope::kFirstFault,
     "\xef\xbb\xbf"
     "C is illegal point kind.",
     {{3,
       1,
       0,
       "point-kind",
       "\xef\xbb\xbf"
       "C",
       0,
       {},
       "point kind \"\\xef\\xbb\\xbfC\" is not accepted; expected \"C\" (a configured point) or "
       "\"D\" (a method point)"}},
     false,
     {notNamed("byte-order-mark")}},
    {"CrAtTheEndOfTheLastLine",
     std::string(kHeader) + "\n" + kSampleRow + "\r",
     Scope::kFirstFault,
     "\r is illegal bit pos.",
     {{2,
       65,
       13,
       "bit-pos-not-allowed",
       "\r",
       0,
       {},
       "bit position \"\\r\" is not empty; only data type 7 has a bit position"}},
     false,
     {notNamed("doubled-cr")}},
    {"StrayCrInAFieldOfAnLfFile",
     rows({withField(kSampleRow, 5, "MILLI\rMETER"), kCncSampleRow}),
     Scope::kFirstFault,
     "MILLI\rMETER is illegal unit.",
     {{2,
       21,
       5,
       "unit-name",
       "MILLI\rMETER",
       0,
       {"MILLIMETER"},
       "unit \"MILLI\\rMETER\" is not accepted; a SAMPLE point names one of the 32 unit names, "
       "such as \"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit); did you mean "
       "\"MILLIMETER\"?"}},
     false,
     {notNamed("cr-line-ends")}},
    {"DoubledCrBeforeLf",
     std::string(kHeader) + "\r\n" + kSampleRow + "\r\r\n",
     Scope::kFirstFault,
     "\r is illegal bit pos.",
     {{2,
       65,
       13,
       "bit-pos-not-allowed",
       "\r",
       0,
       {},
       "bit position \"\\r\" is not empty; only data type 7 has a bit position. Likely cause: "
       "the line ends in CR CR LF, as when CR LF line ends are converted twice: end lines with "
       "LF or CR LF"}},
     false,
     {named("doubled-cr")}},
    {"SpreadsheetExport",
     "\xef\xbb\xbf\"2\",\"3\",\"False\"\r\n\"C\",\"Temp1\"\r\n",
     Scope::kFirstFault,
     "\xef\xbb\xbf\"2\",\"3\",\"False\" is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       "\xef\xbb\xbf\"2\"",
       0,
       {},
       "PMC path count \"\\xef\\xbb\\xbf\\\"2\\\"\" reads as 0; expected 1 to 5. Likely causes, "
       "most likely first: the file starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), "
       "which spreadsheet exports add: save it without one; the file wraps its fields in double "
       "quotes, as spreadsheet exports do: quotes are ordinary bytes here, so save it without "
       "them"}},
     false,
     {named("byte-order-mark"), named("quoted-fields")}},
    {"ByteOrderMarkAndSemicolons",
     "\xef\xbb\xbf"
     "2;3;False\n",
     Scope::kFirstFault,
     "\xef\xbb\xbf"
     "2;3;False is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "\xef\xbb\xbf"
       "2;3;False",
       0,
       {},
       "header line \"\\xef\\xbb\\xbf2;3;False\" has 1 field; expected 3 fields: PMC path "
       "count, CNC path count, DCS ladder, such as \"2,3,False\". Likely causes, most likely "
       "first: fields are separated by semicolons, as spreadsheets export them in some "
       "languages: separate them with commas; the file starts with a UTF-8 byte-order mark "
       "(\\xef\\xbb\\xbf), which spreadsheet exports add: save it without one"}},
     false,
     {named("semicolon-separators"), named("byte-order-mark")}},
    {"Utf16WithByteOrderMark",
     std::string("\xff\xfe"
                 "2\0,\0"
                 "3\0,\0"
                 "F\0a\0l\0s\0e\0\r\0\n\0",
                 24),
     Scope::kFirstFault,
     std::string("\xff\xfe"
                 "2\0,\0"
                 "3\0,\0"
                 "F\0a\0l\0s\0e\0\r\0",
                 22) +
         " is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       std::string("\xff\xfe"
                   "2\0",
                   4),
       0,
       {},
       "PMC path count \"\\xff\\xfe2\\x00\" reads as 0; expected 1 to 5. Likely cause: the file "
       "is UTF-16 text, as its byte-order mark shows: save it as UTF-8"}},
     false,
     {named("utf16-text"), notNamed("not-text")}},
    // Big-endian UTF-16 without a mark: a NUL before every character.
    {"Utf16WithoutByteOrderMark",
     std::string("\0"
                 "2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e\0\n",
                 18),
     Scope::kFirstFault,
     std::string("\0"
                 "2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e",
                 17) +
         " is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       std::string("\0"
                   "2\0",
                   3),
       0,
       {},
       "PMC path count \"\\x002\\x00\" reads as 0; expected 1 to 5. Likely cause: the file is "
       "UTF-16 text, with a NUL byte beside every character: save it as UTF-8"}},
     false,
     {named("utf16-text"), notNamed("not-text")}},
    {"PaddedHeader",
     "2,3,False,,,,,,,,,,,\n" + std::string(kSampleRow) + "\n",
     Scope::kFirstFault,
     "2,3,False,,,,,,,,,,, is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "2,3,False,,,,,,,,,,,",
       0,
       {},
       "header line \"2,3,False,,,,,,,,,,,\" has 14 fields; expected 3 fields: PMC path count, "
       "CNC path count, DCS ladder, such as \"2,3,False\". Likely cause: the header line is "
       "padded with empty fields to the width of the rows, as spreadsheets do: keep its first 3 "
       "fields only"}},
     false,
     {named("padded-header")}},
    {"CommaAtTheEndOfEveryRow",
     rows({kSampleRow + std::string(","), kCncSampleRow + std::string(",")}),
     Scope::kFirstFault,
     kSampleRow + std::string(", is illegal format."),
     {{2,
       1,
       -1,
       "row-field-count",
       kSampleRow + std::string(","),
       0,
       {kSampleRow},
       "point row \"C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC ...\" (65 bytes) has 15 fields; "
       "expected 14 fields (13 commas). Likely cause: "
       "every row ends in a comma, which adds a "
       "fifteenth field: remove the comma at the end of each row"}},
     false,
     {named("trailing-commas")}},
    {"CommaAtTheEndOfOneRowOnly",
     rows({kCncSampleRow, kSampleRow + std::string(",")}),
     Scope::kFirstFault,
     kSampleRow + std::string(", is illegal format."),
     {{3,
       1,
       -1,
       "row-field-count",
       kSampleRow + std::string(","),
       0,
       {kSampleRow},
       "point row \"C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC ...\" (65 bytes) has 15 fields; "
       "expected 14 fields (13 commas); the row ends in a comma too many: remove it"}},
     false,
     {notNamed("trailing-commas")}},
    {"CommaAtTheEndOfTwoRowsInThree",
     rows({kSampleRow + std::string(","), kCncSampleRow + std::string(","), kEventRow}),
     Scope::kFirstFault,
     kSampleRow + std::string(", is illegal format."),
     {{2,
       1,
       -1,
       "row-field-count",
       kSampleRow + std::string(","),
       0,
       {kSampleRow},
       "point row \"C,Temp1,SAMPLE,,500,MILLIMETER,Path,PMC ...\" (65 bytes) has 15 fields; "
       "expected 14 fields (13 commas); the row ends in a comma too many: remove it"}},
     false,
     {notNamed("trailing-commas")}},
    {"ConditionCodesSeparatedByCommas",
     rows({"C,Alarm1,CONDITION,1000,2999,800,,Path2,,,,,,,"}),
     Scope::kFirstFault,
     "C,Alarm1,CONDITION,1000,2999,800,,Path2,,,,,,, is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       "C,Alarm1,CONDITION,1000,2999,800,,Path2,,,,,,,",
       0,
       {"C,Alarm1,CONDITION,1000 2999,800,,Path2,,,,,,,"},
       "point row \"C,Alarm1,CONDITION,1000,2999,800,,Path2,,,,,,,\" has 15 fields; expected 14 "
       "fields (13 commas). Likely cause: the CONDITION codes seem separated by commas, which "
       "separate fields: separate them with single blanks"}},
     false,
     {named("comma-separated-codes")}},
    {"SecondHeaderLine",
     rows({kSampleRow, kHeader, kCncSampleRow}),
     Scope::kFirstFault,
     "2,3,False is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "2,3,False",
       0,
       {},
       "point row \"2,3,False\" has 3 fields; expected 14 fields (13 commas). Likely cause: the "
       "line looks like a second header line, as when two point files are joined: remove it"}},
     false,
     {named("second-header-line")}},
    {"LineOfBlanks",
     rows({kSampleRow, "  "}),
     Scope::kFirstFault,
     "   is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "  ",
       0,
       {},
       "point row \"  \" has 1 field; expected 14 fields (13 commas). Likely cause: the line "
       "holds only blanks, and only an empty line ends the rows: remove it"}},
     false,
     {named("blank-line")}},
    {"CausesOfAFaultPastTheFirst64KiB",
     lateTrailingCommas(),
     Scope::kFirstFault,
     withField(kSampleRow, 1, "Late0") + ", is illegal format.",
     {{1502,
       1,
       -1,
       "row-field-count",
       withField(kSampleRow, 1, "Late0") + ",",
       0,
       {withField(kSampleRow, 1, "Late0")},
       "point row \"C,Late0,SAMPLE,,500,MILLIMETER,Path,PMC ...\" (65 bytes) has 15 fields; "
       "expected 14 fields (13 commas). Likely cause: "
       "every row ends in a comma, which adds a "
       "fifteenth field: remove the comma at the end of each row"}},
     false,
     {named("trailing-commas")}},
    // Tabs are text: a file of them is no program.
    {"TabsForCommas",
     "2\t3\tFalse\nC\tTemp1\tSAMPLE\t\t500\tNONE\tPath\t\t1\tString\tR\t\t100\t\n",
     Scope::kFirstFault,
     "2\t3\tFalse is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "2\t3\tFalse",
       0,
       {},
       "header line \"2\\t3\\tFalse\" has 1 field; expected 3 fields: PMC path count, CNC path "
       "count, DCS ladder, such as \"2,3,False\". Likely cause: fields are separated by tabs: "
       "separate them with commas"}},
     false,
     {named("tab-separators"), notNamed("not-text")}},
    {"TwoTabsAmongTwoCommas",
     rows({"C,Te\tmp\t1,SAMPLE"}),
     Scope::kFirstFault,
     "C,Te\tmp\t1,SAMPLE is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       "C,Te\tmp\t1,SAMPLE",
       0,
       {},
       "point row \"C,Te\\tmp\\t1,SAMPLE\" has 3 fields; expected 14 fields (13 commas)"}},
     false,
     {notNamed("tab-separators")}},
    {"HeaderPaddedPastTheRows",
     "2,3,False,,,,,,,,,,,,\n" + std::string(kSampleRow) + "\n",
     Scope::kFirstFault,
     "2,3,False,,,,,,,,,,,, is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "2,3,False,,,,,,,,,,,,",
       0,
       {},
       "header line \"2,3,False,,,,,,,,,,,,\" has 15 fields; expected 3 fields: PMC path count, "
       "CNC path count, DCS ladder, such as \"2,3,False\""}},
     false,
     {notNamed("padded-header")}},
    {"TenConditionCodesSeparatedByCommas",
     rows({codesSeparatedByCommas(10)}),
     Scope::kFirstFault,
     codesSeparatedByCommas(10) + " is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       codesSeparatedByCommas(10),
       0,
       {},
       "point row \"C,Alarm1,CONDITION,1000,1001,1002,1003,1...\" (86 bytes) has 23 fields; "
       "expected 14 fields (13 commas). Likely cause: the CONDITION codes seem separated by "
       "commas, which separate fields: separate them with single blanks"}},
     false,
     {named("comma-separated-codes")}},
    {"ElevenConditionCodesSeparatedByCommas",
     rows({codesSeparatedByCommas(11)}),
     Scope::kFirstFault,
     codesSeparatedByCommas(11) + " is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       codesSeparatedByCommas(11),
       0,
       {},
       "point row \"C,Alarm1,CONDITION,1000,1001,1002,1003,1...\" (91 bytes) has 24 fields; "
       "expected 14 fields (13 commas)"}},
     false,
     {notNamed("comma-separated-codes")}},
    {"HeaderLikeLineInOtherCase",
     rows({kSampleRow, "2,3,false", kCncSampleRow}),
     Scope::kFirstFault,
     "2,3,false is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "2,3,false",
       0,
       {},
       "point row \"2,3,false\" has 3 fields; expected 14 fields (13 commas)"}},
     false,
     {notNamed("second-header-line")}},
    {"LineOfBlanksAndAComma",
     rows({kSampleRow, "  ,"}),
     Scope::kFirstFault,
     "  , is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "  ,",
       0,
       {},
       "point row \"  ,\" has 2 fields; expected 14 fields (13 commas)"}},
     false,
     {notNamed("blank-line")}},
    // A file that is not text explains every fault: its CRs and tabs are no
    // line ends or separators.
    {"ProgramForAPointFile",
     kProgramStart,
     Scope::kFirstFault,
     kProgramStart + " is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       kProgramStart,
       0,
       {},
       "header line "
       "\"\\x7fELF\\x02\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x03\\x00>"
       "\\x00\\x01\\x00\\x00\\x00\\t\\t\\t\\rx\\r\\x00\\x00\" has 1 field; expected 3 fields: PMC "
       "path count, CNC path count, DCS ladder, such as \"2,3,False\". Likely cause: the file is "
       "not text, as its many control bytes show: check that this is the point file, saved as "
       "comma-separated text"}},
     false,
     {named("not-text"), notNamed("cr-line-ends"), notNamed("tab-separators")}},
    // A file read in blocks counts the same bytes as one checked in memory,
    // though only its first line is whole.
    {"PictureForAPointFile",
     std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1f\xf3\xff"
                 "a",
                 34),
     Scope::kFirstFault,
     "\x89PNG is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "\x89PNG",
       0,
       {},
       "header line \"\\x89PNG\" has 1 field; expected 3 fields: PMC path count, CNC path count, "
       "DCS ladder, such as \"2,3,False\". Likely cause: the file is not text, as its many control "
       "bytes show: check that this is the point file, saved as comma-separated text"}},
     false,
     {named("not-text")}},
    {"ControlBytesOneInSixteen",
     withControlBytes(8, 128),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "P\x01\x02\x03\x04\x05\x06\x07\x08",
       0,
       {},
       "point name \"P\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\" holds \"\\x01\"; expected a "
       "letter, then letters and digits, 50 at most. Likely cause: the file is not text, as its "
       "many control bytes show: check that this is the point file, saved as comma-separated "
       "text"}},
     false,
     {named("not-text")}},
    {"ControlBytesBelowOneInSixteen",
     withControlBytes(8, 129),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "P\x01\x02\x03\x04\x05\x06\x07\x08",
       0,
       {},
       "point name \"P\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\" holds \"\\x01\"; expected a "
       "letter, then letters and digits, 50 at most"}},
     false,
     {notNamed("not-text")}},
    {"SevenControlBytes",
     withControlBytes(7, 0),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "P\x01\x02\x03\x04\x05\x06\x07",
       0,
       {},
       "point name \"P\\x01\\x02\\x03\\x04\\x05\\x06\\x07\" holds \"\\x01\"; expected a letter, "
       "then letters and digits, 50 at most"}},
     false,
     {notNamed("not-text")}},
    {"NulInAName",
     rows({withField(kSampleRow, 1, std::string("Te\0mp1", 6))}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       std::string("Te\0mp1", 6),
       0,
       {},
       "point name \"Te\\x00mp1\" holds \"\\x00\"; expected a letter, then letters and digits, 50 "
       "at most"}},
     false,
     {notNamed("not-text")}},
    // UTF-16 with three characters in twenty beyond ASCII: too few NULs
    // for UTF-16, and all of them halves of characters.
    {"Utf16BeyondAscii",
     std::string("2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e\0\xac\x20\xac\x20\xac\x20x\0x\0x\0x\0x\0x\0x\0x\0x\0",
                 40),
     Scope::kFirstFault,
     std::string("2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e\0\xac\x20\xac\x20\xac\x20x\0x\0x\0x\0x\0x\0x\0x\0x\0",
                 40) +
         " is illegal CNC path num.",
     {{1,
       4,
       1,
       "cnc-path-count",
       std::string("\0"
                   "3\0",
                   3),
       0,
       {},
       "CNC path count \"\\x003\\x00\" reads as 0; expected 1 to 10"}},
     false,
     {notNamed("utf16-text"), notNamed("not-text")}},
    {"NotTextPastTheFirst64KiB",
     lateNuls(),
     Scope::kFirstFault,
     std::string(16, '\0') + " is illegal format.",
     {{1502,
       1,
       -1,
       "row-field-count",
       std::string(16, '\0'),
       0,
       {},
       "point row "
       "\"\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\" has 1 "
       "field; expected 14 fields (13 commas). Likely cause: the file is not text, as its many "
       "control bytes show: check that this is the point file, saved as comma-separated text"}},
     false,
     {named("not-text")}},
    // A cause the file shows is named only where undoing it removes the
    // fault: a comma at the end of a row whose cycle reads "1,000" is none.
    {"CommaAtTheEndOfARowWithAThousandsSeparator",
     rows({"C,Temp1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,100,"}),
     Scope::kFirstFault,
     "C,Temp1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,100, is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       "C,Temp1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,100,",
       0,
       {"C,Temp1,SAMPLE,,1000,CELSIUS,Path,,1,String,R,,100,"},
       "point row \"C,Temp1,SAMPLE,,1,000,CELSIUS,Path,,1,String,R,,100,\" has 15 fields; "
       "expected 14 fields (13 commas); the cycle seems written as \"1,000\": write \"1000\""}},
     false,
     {notNamed("trailing-commas")}},
    // A row that would have the right number of fields but a faulty column
    // is not explained.
    {"CommaAtTheEndOfEveryRowAndAMisspelledUnit",
     rows({withField(kSampleRow, 5, "MILIMETER") + ",", kCncSampleRow + std::string(",")}),
     Scope::kFirstFault,
     withField(kSampleRow, 5, "MILIMETER") + ", is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       withField(kSampleRow, 5, "MILIMETER") + ",",
       0,
       {},
       "point row \"C,Temp1,SAMPLE,,500,MILIMETER,Path,PMC p...\" (64 bytes) has 15 fields; "
       "expected 14 fields (13 commas); its first 14 fields check but for the unit, so the field "
       "after them is one too many"}},
     false,
     {notNamed("trailing-commas")}},
    {"QuotedUnitThatStaysWrong",
     rows({withField(kCncSampleRow, 5, "\"NON\"")}),
     Scope::kFirstFault,
     "\"NON\" is illegal unit.",
     {{2,
       21,
       5,
       "unit-name",
       "\"NON\"",
       0,
       {"NONE"},
       "unit \"\\\"NON\\\"\" is not accepted; a SAMPLE point names one of the 32 unit names, such "
       "as \"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit); did you mean \"NONE\"?"}},
     false,
     {notNamed("quoted-fields")}},
    // Undoing a cause may reveal a fault that the one it explains hid, but
    // must leave an earlier fault of the row alone.
    {"ByteOrderMarkBeforeAMisspelledLadder",
     "\xef\xbb\xbf"
     "2,3,Flase\n",
     Scope::kFirstFault,
     "\xef\xbb\xbf"
     "2,3,Flase is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       "\xef\xbb\xbf"
       "2",
       0,
       {},
       "PMC path count \"\\xef\\xbb\\xbf2\" reads as 0; expected 1 to 5. Likely cause: the file "
       "starts with a UTF-8 byte-order mark (\\xef\\xbb\\xbf), which spreadsheet exports add: save "
       "it without one"}},
     false,
     {named("byte-order-mark")}},
    {"QuotedUnitBesideAWrongCycle",
     rows({withField(withField(kCncSampleRow, 4, "50"), 5, "\"NONE\"")}),
     Scope::kEveryFault,
     "50 is illegal cycle.",
     {{2, 17, 4, "cycle", "50", 0, {}, "cycle \"50\" reads as 50; expected 100 to 10000"},
      {2,
       20,
       5,
       "unit-name",
       "\"NONE\"",
       0,
       {"NONE"},
       "unit \"\\\"NONE\\\"\" is not accepted; a SAMPLE point names one of the 32 unit names, such "
       "as \"NONE\", \"AMPERE\", \"CELSIUS\" (\"NONE\" for no unit); did you mean \"NONE\"? Likely "
       "cause: double quotes wrap a field, but here they are ordinary bytes that group no commas: "
       "remove them"}}},
    // Neither the quotes nor the comma alone explain the row; both do.
    {"QuotedConditionCodesWithACommaInOneRow",
     rows({"C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,,"}),
     Scope::kFirstFault,
     "C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,, is illegal format.",
     {{2,
       1,
       -1,
       "row-field-count",
       "C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,,",
       0,
       {},
       "point row \"C,Alarm1,CONDITION,\\\"1000,1001\\\",800,,Path2,,,,,,,\" has 15 fields; "
       "expected 14 fields (13 commas). Likely causes, most likely first: double quotes wrap a "
       "field, but here they are ordinary bytes that group no commas: remove them; the CONDITION "
       "codes seem separated by commas, which separate fields: separate them with single blanks"}},
     false,
     {named("quoted-fields"), named("comma-separated-codes"), notNamed("trailing-commas")}},
    {"QuotedConditionCodesWithACommaAmongRows",
     rows({kSampleRow, "C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,,", kCncSampleRow}),
     Scope::kFirstFault,
     "C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,, is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "C,Alarm1,CONDITION,\"1000,1001\",800,,Path2,,,,,,,",
       0,
       {},
       "point row \"C,Alarm1,CONDITION,\\\"1000,1001\\\",800,,Path2,,,,,,,\" has 15 fields; "
       "expected 14 fields (13 commas). Likely causes, most likely first: double quotes wrap a "
       "field, but here they are ordinary bytes that group no commas: remove them; the CONDITION "
       "codes seem separated by commas, which separate fields: separate them with single blanks"}},
     false,
     {named("quoted-fields"), named("comma-separated-codes")}},
    {"SecondHeaderLineWithACommaAtItsEnd",
     rows({kSampleRow, "2,3,False,", kCncSampleRow}),
     Scope::kFirstFault,
     "2,3,False, is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "2,3,False,",
       0,
       {},
       "point row \"2,3,False,\" has 4 fields; expected 14 fields (13 commas). Likely cause: the "
       "line looks like a second header line, as when two point files are joined: remove it"}},
     false,
     {named("second-header-line")}},
    {"SecondHeaderLineWithACountOutOfRange",
     rows({kSampleRow, "0,3,False", kCncSampleRow}),
     Scope::kFirstFault,
     "0,3,False is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "0,3,False",
       0,
       {},
       "point row \"0,3,False\" has 3 fields; expected 14 fields (13 commas)"}},
     false,
     {notNamed("second-header-line")}},
    {"LineOfATabAndABlank",
     rows({kSampleRow, "\t "}),
     Scope::kFirstFault,
     "\t  is illegal format.",
     {{3,
       1,
       -1,
       "row-field-count",
       "\t ",
       0,
       {},
       "point row \"\\t \" has 1 field; expected 14 fields (13 commas). Likely cause: the line "
       "holds only blanks, and only an empty line ends the rows: remove it"}},
     false,
     {named("blank-line")}},
    // Beside UTF-16, what its text shows once saved as UTF-8.
    {"Utf16WithTabs",
     std::string("\xff\xfe") +
         utf16("2\t3\tFalse\r\nC\tTemp2\tSAMPLE\t\t500\tNONE\tPath\t\t1\tString\tR\t\t100\t\r\n"),
     Scope::kFirstFault,
     std::string("\xff\xfe") + utf16("2\t3\tFalse\r") + " is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       std::string("\xff\xfe") + utf16("2\t3\tFalse\r"),
       0,
       {},
       "header line "
       "\"\\xff\\xfe2\\x00\\t\\x003\\x00\\t\\x00F\\x00a\\x00l\\x00s\\x00e\\x00\\r\\x00\" "
       "has 1 field; expected 3 fields: PMC path count, CNC path count, DCS ladder, such as "
       "\"2,3,False\". Likely causes, most likely first: the file is UTF-16 text, as its "
       "byte-order mark shows: save it as UTF-8; fields are separated by tabs: separate them "
       "with commas"}},
     false,
     {named("utf16-text"), named("tab-separators")}},
    // Beside CR line ends, what the first line shows once ended.
    {"CrOnlyLineEndsAndSemicolons",
     "2;3;False\rC;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;\r",
     Scope::kFirstFault,
     "2;3;False\rC;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;\r is illegal format.",
     {{1,
       1,
       -1,
       "header-field-count",
       "2;3;False\rC;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;\r",
       0,
       {},
       "header line \"2;3;False\\rC;Temp2;SAMPLE;;500;NONE;Path;;1;String;R;;100;\\r\" has 1 "
       "field; expected 3 fields: PMC path count, CNC path count, DCS ladder, such as "
       "\"2,3,False\". Likely causes, most likely first: the file's lines end in CR alone, so "
       "they read as one line: end lines with LF or CR LF; fields are separated by semicolons, "
       "as spreadsheets export them in some languages: separate them with commas"}},
     false,
     {named("cr-line-ends"), named("semicolon-separators")}},
    // The big-endian mark is UTF-16's too, whatever follows it.
    {"BigEndianUtf16ByteOrderMark",
     "\xfe\xff"
     "2,3,False\n",
     Scope::kFirstFault,
     "\xfe\xff"
     "2,3,False is illegal PMC path num.",
     {{1,
       1,
       0,
       "pmc-path-count",
       "\xfe\xff"
       "2",
       0,
       {},
       "PMC path count \"\\xfe\\xff2\" reads as 0; expected 1 to 5. Likely cause: the file is "
       "UTF-16 text, as its byte-order mark shows: save it as UTF-8"}},
     false,
     {named("utf16-text")}},
    // Two characters in twenty beyond ASCII: nine NUL halves in ten, as
    // UTF-16 has at least.
    {"Utf16NineInTenNulHalves",
     std::string("2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e\0\xac\x20\xac\x20x\0x\0x\0x\0x\0x\0x\0x\0x\0x\0",
                 40),
     Scope::kFirstFault,
     std::string("2\0,\0"
                 "3\0,\0"
                 "T\0r\0u\0e\0\xac\x20\xac\x20x\0x\0x\0x\0x\0x\0x\0x\0x\0x\0",
                 40) +
         " is illegal CNC path num.",
     {{1,
       4,
       1,
       "cnc-path-count",
       std::string("\0"
                   "3\0",
                   3),
       0,
       {},
       "CNC path count \"\\x003\\x00\" reads as 0; expected 1 to 10. Likely cause: the file is "
       "UTF-16 text, with a NUL byte beside every character: save it as UTF-8"}},
     false,
     {named("utf16-text")}},
    // Suggestions at their limits.
    {"SwappedLetters",
     "2,3,Flase\n",
     Scope::kFirstFault,
     "2,3,Flase is illegal DCS Ladder.",
     {{1, 5, 2, "dcs-ladder", "Flase", 0, {"False"}}}},
    {"SwappedLettersInAUnit",
     rows({withField(kSampleRow, 5, "PASCLA")}),
     Scope::kFirstFault,
     "PASCLA is illegal unit.",
     {{2, 21, 5, "unit-name", "PASCLA", 0, {"PASCAL"}}}},
    {"TwoEquallyCloseWords",
     rows({withField(kSampleRow, 6, "Pat2")}),
     Scope::kFirstFault,
     "Pat2 is illegal XML location.",
     {{2, 32, 6, "xml-location", "Pat2", 0, {"Path", "Path2"}}}},
    {"OneSlipPastTheLimit",
     rows({withField(kSampleRow, 5, "MILIMTR")}),
     Scope::kFirstFault,
     "MILIMTR is illegal unit.",
     {{2, 21, 5, "unit-name", "MILIMTR", 0, {}}}},
    {"UnitAsPeopleWriteIt",
     rows({withField(kSampleRow, 5,
                     "\xc2\xb0"
                     "C")}),
     Scope::kFirstFault,
     "\xc2\xb0"
     "C is illegal unit.",
     {{2,
       21,
       5,
       "unit-name",
       "\xc2\xb0"
       "C",
       0,
       {"CELSIUS"}}}},
    {"RpmForRevolutionsPerMinute",
     rows({withField(kSampleRow, 5, "RPM")}),
     Scope::kFirstFault,
     "RPM is illegal unit.",
     {{2, 21, 5, "unit-name", "RPM", 0, {"REVOLUTION/MINUTE"}}}},
    {"PercentSign",
     rows({withField(kSampleRow, 5, "%")}),
     Scope::kFirstFault,
     "% is illegal unit.",
     {{2, 21, 5, "unit-name", "%", 0, {"PERCENT"}}}},
    {"PathOne",
     rows({withField(kSampleRow, 6, "Path1")}),
     Scope::kFirstFault,
     "Path1 is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "Path1",
       0,
       {"Path"},
       "XML location \"Path1\" is not accepted; CNC path 1 is written \"Path\"; expected "
       "\"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path3\"; "
       "did you mean \"Path\"?"}}},
    {"PathBeyondTheHeader",
     rows({withField(kSampleRow, 6, "Path4")}),
     Scope::kFirstFault,
     "Path4 is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "Path4",
       0,
       {},
       "XML location \"Path4\" is not accepted; the header line gives 3 CNC paths; expected "
       "\"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path3\""}}},
    {"DataPathBeyondTheHeader",
     rows({withField(kSampleRow, 7, "CNC path 4")}),
     Scope::kFirstFault,
     "CNC path 4 is illegal data path.",
     {{2,
       37,
       7,
       "data-path",
       "CNC path 4",
       0,
       {},
       "data path \"CNC path 4\" is not accepted; the header line gives 3 CNC paths; expected "
       "empty (CNC path 1), \"CNC path 1\" to \"CNC path 3\", \"PMC path 1\" to \"PMC path 2\" "
       "or \"DCS path 9\""}}},
    {"UsedNameNeverSuggested",
     rows({kDeviceRow, "D,ReadMod_1,,,,,,,,,,,,", "D,ReadMod_1,,,,,,,,,,,,",
           "D,ReadMod_2,,,,,,,,,,,,"}),
     Scope::kEveryFault,
     "Illegal point name.",
     {{3,
       3,
       1,
       "method-name",
       "ReadMod_1",
       0,
       {},
       "point name \"ReadMod_1\": \"ReadMod\" is not a method name; expected one of the 23 "
       "method names, such as \"ReadEmergency\", \"ReadOperatorMessages\", "
       "\"ReadNumberOfPaths\", optionally followed by \"_\" and a suffix"},
      {4, 3, 1, "method-name", "ReadMod_1", 0, {}},
      {5, 3, 1, "method-name", "ReadMod_2", 0, {"ReadMode_2"}}}},
    // A suggested point name is one no other row has where the repeat check
    // compares it, before or after: a report reads on for it, the plain
    // check reads nothing past the faulty row. The rows end at an empty
    // line, CR LF or not.
    {"SuggestedNameUsedOnlyByALaterRow",
     rows({methodRow("ReadMdoe_1"), kDeviceRow}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "ReadMdoe_1", 0, {}}},
     true},
    {"PlainCheckReadsNoRowAfterTheFault",
     rows({methodRow("ReadMdoe_1"), kDeviceRow}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "ReadMdoe_1", 0, {"ReadMode_1"}}}},
    {"NameUsedOnlyAfterTheRowsEnd",
     rows({methodRow("ReadMdoe_1"), "\r", kDeviceRow}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "ReadMdoe_1", 0, {"ReadMode_1"}}},
     true},
    // The row's own columns do not use a name, nor does another suffix or
    // none, nor a row the repeat check skips (a wrong field count or kind).
    {"NameUsedOnlyByTheRowItself",
     rows({methodRow("ReadMode"), "D,ReadMdoe_1,ReadMode_1,,,,,,,,,,,", methodRow("ReadMode_12"),
           "D,ReadMode_1", "X,ReadMode_1,,,,,,,,,,,,"}),
     Scope::kEveryFault,
     "Illegal point name.",
     {{3, 3, 1, "method-name", "ReadMdoe_1", 0, {"ReadMode_1"}},
      {5, 1, -1, "row-field-count", "D,ReadMode_1"},
      {6, 1, 0, "point-kind", "X"}}},
    // Going on after faults, a row that fails another column still has its
    // name.
    {"NameUsedByAnEarlierRowWithAnotherFault",
     rows({withFields(kSampleRow, {{1, "ReadMode"}, {4, "50"}}), methodRow("ReadMdoe")}),
     Scope::kEveryFault,
     "50 is illegal cycle.",
     {{2, 20, 4, "cycle", "50"}, {3, 3, 1, "method-name", "ReadMdoe", 0, {}}}},
    // A report offers a point name to one row only: "ReadMode1" and
    // "ReadModes" cannot both become "ReadMode". A unit may repeat.
    {"OneNameIsOfferedToOneRow",
     rows({methodRow("ReadMode1"), methodRow("ReadModes"), withField(kSampleRow, 5, "MILIMETER"),
           withFields(kSampleRow, {{1, "Temp2"}, {5, "MILIMETER"}})}),
     Scope::kEveryFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "ReadMode1", 0, {"ReadMode"}},
      {3, 3, 1, "method-name", "ReadModes", 0, {}},
      {4, 21, 5, "unit-name", "MILIMETER", 0, {"MILLIMETER"}},
      {5, 21, 5, "unit-name", "MILIMETER", 0, {"MILLIMETER"}}}},
    // A used name leaves its place to the closest free ones.
    {"FreeNamesFurtherAwayTakeAUsedOnesPlace",
     rows({methodRow("ReadSpindleName"), methodRow("ReadSpindleNames")}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2, 3, 1, "method-name", "ReadSpindleName", 0, {"ReadSpindleLoads", "ReadSpindleModes"}}},
     true},
    // A path name in other case or with other blanks gets the name it
    // writes, and only that; "path 1" is CNC path 1.
    {"PathNameInOtherCaseAtTheCount",
     rows({withField(kSampleRow, 6, "path3")}),
     Scope::kFirstFault,
     "path3 is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "path3",
       0,
       {"Path3"},
       "XML location \"path3\" is not accepted; names are case-sensitive; expected \"Device\", "
       "\"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path3\"; did you mean "
       "\"Path3\"?"}}},
    {"PathNameWithABlank",
     rows({withField(kSampleRow, 6, "Path 2")}),
     Scope::kFirstFault,
     "Path 2 is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "Path 2",
       0,
       {"Path2"},
       "XML location \"Path 2\" is not accepted; blanks count in names; expected \"Device\", "
       "\"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path3\"; did you mean "
       "\"Path2\"?"}}},
    {"PathOneInLowerCaseWithABlank",
     rows({withField(kSampleRow, 6, "path 1")}),
     Scope::kFirstFault,
     "path 1 is illegal XML location.",
     {{2, 32, 6, "xml-location", "path 1", 0, {"Path"}}}},
    {"PathPastTheHeaderInCapitals",
     rows({withField(kSampleRow, 6, "PATH4")}),
     Scope::kFirstFault,
     "PATH4 is illegal XML location.",
     {{2,
       32,
       6,
       "xml-location",
       "PATH4",
       0,
       {},
       "XML location \"PATH4\" is not accepted; the header line gives 3 CNC paths; expected "
       "\"Device\", \"Controller\", or one \"Path\" name per CNC path: \"Path\" to \"Path3\""}}},
    {"DataPathInOtherCaseWithTwoBlanks",
     rows({withField(kSampleRow, 7, "CNC Path  2")}),
     Scope::kFirstFault,
     "CNC Path  2 is illegal data path.",
     {{2,
       37,
       7,
       "data-path",
       "CNC Path  2",
       0,
       {"CNC path 2"},
       "data path \"CNC Path  2\" is not accepted; names are case-sensitive and blanks count in "
       "them; expected empty (CNC path 1), \"CNC path 1\" to \"CNC path 3\", \"PMC path 1\" to "
       "\"PMC path 2\" or \"DCS path 9\"; did you mean \"CNC path 2\"?"}}},
    {"RefusedMultiByteCharacter",
     rows({withField(kSampleRow, 1, "Te\xc2\xb0mp")}),
     Scope::kFirstFault,
     "Illegal point name.",
     {{2,
       3,
       1,
       "point-name",
       "Te\xc2\xb0mp",
       0,
       {},
       "point name \"Te\xc2\xb0mp\" holds \"\xc2\xb0\"; expected a letter, then letters "
       "and digits, 50 at most"}}},
    {"EmptyConditionValue",
     rows({withField(kConditionRow, 3, "")}),
     Scope::kFirstFault,
     "Illegal constant value.",
     {{2,
       20,
       3,
       "condition-code",
       "",
       0,
       {},
       "constant value is empty; a CONDITION point needs 1 to 10 codes, each 1000 to 2999, "
       "separated by single blanks"}}},
    {"EmptyConditionCode",
     rows({withField(kConditionRow, 3, "1000  2999")}),
     Scope::kFirstFault,
     "Illegal constant value.",
     {{2,
       25,
       3,
       "condition-code",
       "",
       0,
       {},
       "constant value \"1000  2999\" has two blanks in a row, which makes an empty code; a "
       "CONDITION code is 1000 to 2999, and codes are separated by single blanks"}}},
    // Notes, when asked for: the lines after the empty line that ends the
    // rows are counted, empty ones included; they never change the result.
    {"NoteAfterTheEmptyLine",
     rows({kSampleRow, "", "x", "", withField(kSampleRow, 4, "1")}),
     Scope::kFirstFault,
     "OK",
     {{3,
       1,
       -1,
       "unchecked-lines",
       "",
       0,
       {},
       "the 3 lines after this empty line are not read, so they may hold faults that the "
       "result does not show",
       Severity::kNote}},
     true},
    {"NoteAfterTheFaults",
     rows({withField(kSampleRow, 1, "P1"), withField(kSampleRow, 1, "P1"), "", "x"}),
     Scope::kFirstFault,
     "P1 is duplicate point name.",
     {{3, 3, 1, "duplicate-name", "P1", 2},
      {4,
       1,
       -1,
       "unchecked-lines",
       "",
       0,
       {},
       "the 1 line after this empty line is not read, so it may hold faults that the result "
       "does not show",
       Severity::kNote}},
     true},
    {"NoNoteWithoutTextAfterTheEmptyLine",
     rows({kSampleRow, "", ""}),
     Scope::kEveryFault,
     "OK",
     {},
     true},
    {"NoNoteUnlessAskedFor", rows({kSampleRow, "", "x"}), Scope::kEveryFault, "OK", {}},
    {"NoNoteWhenTheRunStopsBeforeTheEmptyLine",
     rows({"x", "", "x"}),
     Scope::kFirstFault,
     "x is illegal format.",
     {{2, 1, -1, "row-field-count", "x"}},
     true},
    {"HeaderFaultLeavesTheRowsChecked",
     "0,1,True\nx\n",
     Scope::kEveryFault,
     "0,1,True is illegal PMC path num.",
     {{1, 1, 0, "pmc-path-count", "0"}, {2, 1, -1, "row-field-count", "x"}}},
};

void PrintTo(const ApiCase& c, std::ostream* out) {
  *out << c.name;
}

class CheckApi : public ::testing::TestWithParam<ApiCase> {};

TEST_P(CheckApi, GivesResultTextStatusAndFaults) {
  const ApiCase& c = GetParam();
  CheckOptions options;
  options.scope = c.scope;
  options.includeNotes = c.includeNotes;
  const CheckResult result = checkBytes(c.file, options);
  EXPECT_EQ(result.resultText, c.resultText);
  EXPECT_EQ(result.status, c.resultText == "OK" ? 0 : -1);
  ASSERT_EQ(result.faults.size(), c.faults.size());
  for (const CauseEdge& edge : c.causes) {
    const std::vector<std::string>& causes = result.faults.front().causes;
    EXPECT_EQ(std::count(causes.begin(), causes.end(), edge.cause), edge.named ? 1 : 0)
        << edge.cause;
  }
  for (std::size_t i = 0; i < c.faults.size(); ++i) {
    SCOPED_TRACE("fault " + std::to_string(i));
    const Fault& fault = result.faults[i];
    const Where& expected = c.faults[i];
    EXPECT_EQ(fault.line, expected.line);
    EXPECT_EQ(fault.column, expected.column);
    EXPECT_EQ(fault.field, expected.field);
    EXPECT_EQ(fault.rule, expected.rule);
    EXPECT_EQ(fault.text, expected.text);
    EXPECT_EQ(fault.firstLine, expected.firstLine);
    EXPECT_EQ(fault.suggestions, expected.suggestions);
    EXPECT_EQ(fault.severity, expected.severity);
    // The causes tools read are those the detail names.
    EXPECT_EQ(fault.causes.empty(), fault.detail.find(" Likely cause") == std::string::npos);
    if (expected.detail.empty()) {
      EXPECT_FALSE(fault.detail.empty());
    } else {
      EXPECT_EQ(fault.detail, expected.detail);
    }
  }
  // Neither the scope nor the notes change the result text or the status.
  CheckOptions other;
  other.scope = c.scope == Scope::kFirstFault ? Scope::kEveryFault : Scope::kFirstFault;
  other.includeNotes = !c.includeNotes;
  const CheckResult otherScope = checkBytes(c.file, other);
  EXPECT_EQ(otherScope.resultText, result.resultText);
  EXPECT_EQ(otherScope.status, result.status);
}

INSTANTIATE_TEST_SUITE_P(Table, CheckApi, ::testing::ValuesIn(kApiCases),
                         [](const auto& info) { return info.param.name; });

// Every likely cause has a row where the detail names it and one just
// outside its evidence where it does not; such a row states the whole
// detail, and names only causes there are.
TEST(CheckApi, EveryLikelyCauseHasARowOnEachSideOfItsEvidence) {
  std::set<std::string> causes;
  for (const LikelyCauseEntry& entry : likelyCauseEntries()) {
    causes.insert(std::string(entry.name));
  }
  std::set<std::pair<std::string, bool>> edges;
  for (const ApiCase& c : kApiCases) {
    for (const CauseEdge& edge : c.causes) {
      SCOPED_TRACE(c.name + ": " + edge.cause);
      EXPECT_EQ(causes.count(edge.cause), 1u) << "no such cause";
      ASSERT_FALSE(c.faults.empty());
      const std::string& detail = c.faults.front().detail;
      EXPECT_FALSE(detail.empty()) << "the row states no detail";
      if (edge.named) {
        EXPECT_NE(detail.find(" Likely cause"), std::string::npos);
      }
      edges.insert({edge.cause, edge.named});
    }
  }
  for (const std::string& cause : causes) {
    EXPECT_EQ(edges.count({cause, true}), 1u) << "no row where " << cause << " is named";
    EXPECT_EQ(edges.count({cause, false}), 1u) << "no row just outside the evidence of " << cause;
  }
}

// The spellings a unit suggestion knows name units of the vocabulary, and
// none is itself accepted, or it could never be suggested from.
TEST(UnitSpellings, NameUnitsAndAreNotUnitsThemselves) {
  std::set<std::string_view> spellings;
  for (const UnitSpelling* entry = unitSpellingsBegin(); entry != unitSpellingsEnd(); ++entry) {
    SCOPED_TRACE(std::string(entry->spelling));
    EXPECT_TRUE(lookupUnitNumber(entry->unitName).has_value());
    EXPECT_FALSE(lookupUnitNumber(entry->spelling).has_value());
    EXPECT_TRUE(spellings.insert(entry->spelling).second);
  }
}

// A receiver takes every fault and note, in order, and the result keeps none.
TEST(CheckApi, ReceiverLeavesFaultsEmpty) {
  CheckOptions options;
  options.scope = Scope::kEveryFault;
  options.includeNotes = true;
  std::vector<std::string> received;
  options.onFault = [&received](const Fault& fault) {
    received.push_back(std::to_string(fault.line) + " " + fault.rule);
  };
  const CheckResult result =
      checkBytes(rows({kFiveFaultRow, kSampleRow, kSampleRow, "", "x"}), options);
  EXPECT_EQ(result.resultText, "50 is illegal cycle.");
  EXPECT_TRUE(result.faults.empty());
  EXPECT_EQ(received,
            (std::vector<std::string>{"2 cycle", "2 unit-name", "2 xml-location", "2 cnc-data-type",
                                      "2 return-type", "4 duplicate-name", "5 unchecked-lines"}));
}

// A file that does not open, or opens but cannot be read (a directory),
// reads as empty; the fault says why.
TEST(CheckApi, UnreadableFileIsAFaultWithoutLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"/nonexistent/marlint/points.csv", "cannot open: No such file or directory"},
      {"/", "read error: Is a directory"},
  };
  for (const auto& [path, detail] : cases) {
    SCOPED_TRACE(path);
    const CheckResult result = checkFile(path);
    EXPECT_EQ(result.resultText, " is illegal format.");
    ASSERT_EQ(result.faults.size(), 1u);
    EXPECT_EQ(result.faults[0].line, 0u);
    EXPECT_EQ(result.faults[0].detail, detail);
  }
}

// Checks share no state: threads that check different inputs at the same
// time, in memory, from files and from streams, each get the result of a
// check alone.
TEST(CheckApi, ThreadsCheckingAtOnceEachGetTheirOwnResult) {
  const auto describe = [](const CheckResult& result) {
    std::string text = result.resultText + " status " + std::to_string(result.status);
    for (const Fault& fault : result.faults) {
      text += "\n" + std::to_string(fault.line) + ":" + std::to_string(fault.column) + " " +
              fault.rule + " [" + fault.text + "] " + fault.message + " / " + fault.detail;
    }
    return text;
  };
  std::vector<std::string> alone;
  std::vector<std::string> paths;
  for (const ApiCase& c : kApiCases) {
    CheckOptions options;
    options.scope = c.scope;
    alone.push_back(describe(checkBytes(c.file, options)));
    paths.push_back(::testing::TempDir() + "marlint_thread_" + c.name + ".csv");
    std::ofstream(paths.back(), std::ios::binary) << c.file;
  }

  constexpr int kRounds = 25;
  std::vector<std::string> differing(kApiCases.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < kApiCases.size(); ++i) {
    threads.emplace_back([&, i] {
      CheckOptions options;
      options.scope = kApiCases[i].scope;
      for (int round = 0; round < kRounds && differing[i].empty(); ++round) {
        CheckResult result;
        if (round % 3 == 0) {
          result = checkBytes(kApiCases[i].file, options);
        } else if (round % 3 == 1) {
          result = checkFile(paths[i], options);
        } else {
          std::FILE* const stream = std::fopen(paths[i].c_str(), "rb");
          result = checkStream(stream, options);
          std::fclose(stream);
        }
        if (describe(result) != alone[i]) {
          differing[i] = describe(result);
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  for (std::size_t i = 0; i < kApiCases.size(); ++i) {
    EXPECT_EQ(differing[i], "") << kApiCases[i].name << " alone gives " << alone[i];
    std::remove(paths[i].c_str());
  }
}

// The header, a row whose name suggestion is "ReadMode_1", method rows up to
// byte `at`, then `rest`: the rows after the faulty one are looked at in
// pieces (the read blocks of a file, what a pipe gives), and a line cut by
// a piece's end is still one line.
std::string laterRowsFrom(std::size_t at, const std::string& rest) {
  std::string file = rows({methodRow("ReadMdoe_1")});
  const std::size_t padRow = methodRow("ReadMode_").size() + 1;
  for (int i = 0; file.size() + 100 < at; ++i) {
    file += methodRow("ReadMode_f" + std::to_string(1000 + i)) + "\n";
  }
  return file + methodRow("ReadMode_" + std::string(at - file.size() - padRow, 'p')) + "\n" + rest;
}

CheckResult checkThroughPipe(const std::string& bytes, const CheckOptions& options) {
  int ends[2];
  EXPECT_EQ(::pipe(ends), 0);
  std::thread writer([&bytes, end = ends[1]] {
    EXPECT_EQ(::write(end, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(end);
  });
  std::FILE* const stream = ::fdopen(ends[0], "rb");
  CheckResult result = checkStream(stream, options);
  std::fclose(stream);
  writer.join();
  return result;
}

TEST(CheckApi, LaterRowsAreReadAcrossPieces) {
  CheckOptions options;
  options.includeNotes = true;
  const std::string path = ::testing::TempDir() + "marlint_later_rows.csv";
  const std::size_t block = 65536;
  const struct {
    std::size_t at;
    std::string rest;
    std::vector<std::string> suggestions;
  } cases[] = {
      {block - 20, std::string(kDeviceRow) + "\n", {}},
      {block - 1, std::string(kDeviceRow) + "\n", {}},
      {block, std::string(kDeviceRow), {}},
      // An empty line, its CR and LF in two pieces, ends the rows.
      {block - 1, "\r\n" + std::string(kDeviceRow) + "\n", {"ReadMode_1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "at " << c.at << ", then " << c.rest.size() << " bytes");
    const std::string file = laterRowsFrom(c.at, c.rest);
    std::ofstream(path, std::ios::binary) << file;
    for (const CheckResult& result :
         {checkBytes(file, options), checkFile(path, options), checkThroughPipe(file, options)}) {
      ASSERT_FALSE(result.faults.empty());
      EXPECT_EQ(result.faults[0].suggestions, c.suggestions);
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace marlint::testing
