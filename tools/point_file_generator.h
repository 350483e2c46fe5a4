#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Random point files for property tests and fuzz seeds: valid files that
// exercise every column rule, and files with exactly one targeted fault
// whose result text is known in advance.

namespace marlint::generator {

// The one fault a generated file carries, by the rule it breaks.
enum class Fault {
  kNone,
  kHeaderFormat,
  kHeaderPmcPathCount,
  kHeaderCncPathCount,
  kHeaderDcsLadder,
  kRowFormat,
  kPointKind,
  kPointName,
  kPointType,
  kConstantValue,
  kCycle,
  kUnit,
  kXmlLocation,
  kDataPath,
  kDataType,
  kReturnType,
  kAccessType,
  kAddressType,
  kStartAddress,
  kBitPos,
  kDuplicateName,
};

// Every fault kind, kNone excluded.
const std::vector<Fault>& allFaults();

// A short lower-case name for file names and test names, e.g. "start-address".
std::string_view faultName(Fault fault);

struct GeneratedFile {
  std::string bytes;           // the whole point file
  std::string expectedResult;  // "OK" or the one message it must give
};

class PointFileGenerator {
 public:
  explicit PointFileGenerator(std::uint32_t seed);

  // A file that must give "OK". Line ends are LF, CR LF or mixed; the rows
  // end at the end of the file (with or without a last line end) or at an
  // empty line followed by lines that must never be read.
  GeneratedFile validFile();

  // A valid file with one fault of the given kind, placed among valid rows;
  // kNone gives a valid file.
  GeneratedFile fileWithFault(Fault fault);

  // A file of at least `minimumBytes`, so a stream reader needs many blocks;
  // a row fault comes last.
  GeneratedFile largeFile(std::size_t minimumBytes, Fault fault);

 private:
  struct Header {
    int pmcPathCount = 1;
    int cncPathCount = 1;
    std::string line;
  };
  // The shapes of valid rows; each exercises other column rules.
  enum class Shape { kSample, kPlainEvent, kEventWithValue, kCondition, kDevice };
  struct Row {
    std::vector<std::string> fields;  // all fourteen
    Shape shape = Shape::kSample;
    bool onCncPath = true;  // for kSample and kPlainEvent
    int dataType = 0;       // for kSample and kPlainEvent
  };

  GeneratedFile build(Fault fault, std::size_t rowCount, bool faultRowLast);
  Header randomHeader();
  Row validRow(const Header& header, Shape shape);
  Row validRow(const Header& header);
  void fillDataColumns(Row& row, const Header& header);
  std::string freshCName();
  std::string freshDName();
  std::string validCycle();
  // Number spellings. A lenient column reads white space, a sign, zeros in
  // front and text after the digits alike; a digits-only column takes zeros
  // in front; a CONDITION code zeros in front and letters after.
  std::string zerosInFront();
  std::string spelledLenient(const std::string& number);
  std::string spelledLenient(long long value) { return spelledLenient(std::to_string(value)); }
  std::string spelledNotDigitsOnly(long long value);
  std::string spelledDigitsOnly(long long value);
  std::string spelledConditionCode(int code);
  // A value at or past the ends of the 32-bit range; those past it read as
  // `inRange` when a reader drops their high bits.
  std::string pastThirtyTwoBits(long long inRange, bool withNegative);
  // A lenient number outside `lowest` to `highest`, in one of the spellings.
  std::string spelledOutside(int lowest, int highest);
  // A wrongly valued number for the column `fault` breaks in `row`, in one
  // of the spellings above; empty where the column holds no number.
  std::string spelledFaultyNumber(Fault fault, const Row& row);
  std::string junkField();
  std::string lineEnd();
  // Breaks `row` at the column `fault` names; returns the message it must give.
  std::string breakRow(Row& row, const Header& header, Fault fault);
  // Breaks the header line; returns the message it must give.
  std::string breakHeader(Header& header, Fault fault);

  int uniform(int lowest, int highest);
  bool chance(int percent);
  template <typename T>
  const T& pick(const std::vector<T>& values) {
    return values[static_cast<std::size_t>(uniform(0, static_cast<int>(values.size()) - 1))];
  }

  std::mt19937 random_;
  int nameCounter_ = 0;
  std::set<std::string> usedNames_;
  int lineEndStyle_ = 0;  // 0 LF, 1 CR LF, 2 mixed, chosen per file
};

// Joins fields with commas.
std::string joinRow(const std::vector<std::string>& fields);

}  // namespace marlint::generator
