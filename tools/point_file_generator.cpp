#include "tools/point_file_generator.h"

#include <algorithm>
#include <utility>

namespace marlint::generator {
namespace {

// Column numbers of a point row.
enum Column : std::size_t {
  kKind,
  kName,
  kType,
  kConstant,
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
  kColumnCount,
};

const std::vector<std::string> kMethodNames = {"ReadEmergency",
                                               "ReadOperatorMessages",
                                               "ReadNumberOfPaths",
                                               "ReadAlarmWithType",
                                               "ReadMode",
                                               "ReadPartCount",
                                               "ReadRunStatus",
                                               "AllPositionData",
                                               "DynamicCurrentSequenceNumber",
                                               "MainProgramName",
                                               "MainProgramComment",
                                               "ModalTCode",
                                               "FeedrateOverride",
                                               "ReadProgramBlock",
                                               "ServoLoad",
                                               "ReadSpindleLoads",
                                               "ReadSpindleSpeeds",
                                               "ReadSpindleModes",
                                               "ReadAxisNames",
                                               "ReadSpindleNames",
                                               "RapidOverride",
                                               "SpindleOverride",
                                               "DynamicActualFeedrate"};

const std::vector<std::string> kUnitNames = {"NONE",
                                             "AMPERE",
                                             "CELSIUS",
                                             "COUNT",
                                             "DECIBEL",
                                             "DEGREE",
                                             "DEGREE / SECOND",
                                             "DEGREE / SECONDA^2",
                                             "HERTZ",
                                             "JOULE",
                                             "KILOGRAM",
                                             "LITER",
                                             "LITER / SECOND",
                                             "MICRO_RADIAN",
                                             "MILLIMETER",
                                             "MILLIMETER / SECOND",
                                             "MILLIMETER / SECOND^2",
                                             "MILLIMETER_3D",
                                             "NEWTON",
                                             "NEWTON_METER",
                                             "PASCAL",
                                             "PASCAL_SECOND",
                                             "PERCENT",
                                             "PH",
                                             "REVOLUTION/MINUTE",
                                             "SECOND",
                                             "SIEMENS/METER",
                                             "VOLT",
                                             "VOLT_AMPERE",
                                             "VOLT_AMPERE_REACTIVE",
                                             "WATT",
                                             "WATT_SECOND"};

const std::string kAddressLetters = "GFYXARTKCDMNEZ";
const std::string kLettersAndDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const std::string kThirtyDigits = "123456789012345678901234567890";

const std::vector<Fault> kAllFaults = {Fault::kHeaderFormat,
                                       Fault::kHeaderPmcPathCount,
                                       Fault::kHeaderCncPathCount,
                                       Fault::kHeaderDcsLadder,
                                       Fault::kRowFormat,
                                       Fault::kPointKind,
                                       Fault::kPointName,
                                       Fault::kPointType,
                                       Fault::kConstantValue,
                                       Fault::kCycle,
                                       Fault::kUnit,
                                       Fault::kXmlLocation,
                                       Fault::kDataPath,
                                       Fault::kDataType,
                                       Fault::kReturnType,
                                       Fault::kAccessType,
                                       Fault::kAddressType,
                                       Fault::kStartAddress,
                                       Fault::kBitPos,
                                       Fault::kDuplicateName};

bool isHeaderFault(Fault fault) {
  return fault == Fault::kHeaderFormat || fault == Fault::kHeaderPmcPathCount ||
         fault == Fault::kHeaderCncPathCount || fault == Fault::kHeaderDcsLadder;
}

// The column a row fault breaks and the suffix its message ends with; an
// empty suffix marks a fixed sentence.
struct ColumnFault {
  Fault fault;
  Column column;
  std::string_view suffix;
};

constexpr ColumnFault kColumnFaults[] = {
    {Fault::kPointKind, kKind, " is illegal point kind."},
    {Fault::kPointName, kName, ""},
    {Fault::kPointType, kType, " is illegal point type."},
    {Fault::kConstantValue, kConstant, ""},
    {Fault::kCycle, kCycle, " is illegal cycle."},
    {Fault::kUnit, kUnit, " is illegal unit."},
    {Fault::kXmlLocation, kXmlLocation, " is illegal XML location."},
    {Fault::kDataPath, kDataPath, " is illegal data path."},
    {Fault::kDataType, kDataType, " is illegal data type."},
    {Fault::kReturnType, kReturnType, " is illegal return type."},
    {Fault::kAccessType, kAccessType, " is illegal access type."},
    {Fault::kAddressType, kAddressType, " is illegal address type."},
    {Fault::kStartAddress, kStartAddress, " is illegal start address."},
    {Fault::kBitPos, kBitPos, " is illegal bit pos."},
};

const ColumnFault& columnFaultOf(Fault fault) {
  return *std::find_if(std::begin(kColumnFaults), std::end(kColumnFaults),
                       [fault](const ColumnFault& entry) { return entry.fault == fault; });
}

}  // namespace

const std::vector<Fault>& allFaults() {
  return kAllFaults;
}

std::string_view faultName(Fault fault) {
  switch (fault) {
    case Fault::kNone: return "none";
    case Fault::kHeaderFormat: return "header-format";
    case Fault::kHeaderPmcPathCount: return "header-pmc-path-count";
    case Fault::kHeaderCncPathCount: return "header-cnc-path-count";
    case Fault::kHeaderDcsLadder: return "header-dcs-ladder";
    case Fault::kRowFormat: return "row-format";
    case Fault::kPointKind: return "point-kind";
    case Fault::kPointName: return "point-name";
    case Fault::kPointType: return "point-type";
    case Fault::kConstantValue: return "constant-value";
    case Fault::kCycle: return "cycle";
    case Fault::kUnit: return "unit";
    case Fault::kXmlLocation: return "xml-location";
    case Fault::kDataPath: return "data-path";
    case Fault::kDataType: return "data-type";
    case Fault::kReturnType: return "return-type";
    case Fault::kAccessType: return "access-type";
    case Fault::kAddressType: return "address-type";
    case Fault::kStartAddress: return "start-address";
    case Fault::kBitPos: return "bit-pos";
    case Fault::kDuplicateName: return "duplicate-name";
  }
  return "unknown";
}

std::string joinRow(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    line += (i == 0 ? "" : ",") + fields[i];
  }
  return line;
}

PointFileGenerator::PointFileGenerator(std::uint32_t seed) : random_(seed) {}

int PointFileGenerator::uniform(int lowest, int highest) {
  return std::uniform_int_distribution<int>(lowest, highest)(random_);
}

bool PointFileGenerator::chance(int percent) {
  return uniform(1, 100) <= percent;
}

std::string PointFileGenerator::lineEnd() {
  const bool crLf = lineEndStyle_ == 1 || (lineEndStyle_ == 2 && chance(50));
  return crLf ? "\r\n" : "\n";
}

PointFileGenerator::Header PointFileGenerator::randomHeader() {
  Header header;
  header.pmcPathCount = uniform(1, 5);
  header.cncPathCount = uniform(1, 10);
  // Counts are read leniently: blanks, a sign, zeros and trailing text are fine.
  header.line = spelledLenient(header.pmcPathCount) + "," + spelledLenient(header.cncPathCount) +
                "," + (chance(50) ? "True" : "False");
  return header;
}

std::string PointFileGenerator::freshCName() {
  // Letters, the counter, then a letter: no two counters give the same name.
  std::string name = pick(std::vector<std::string>{"Temp", "P", "spindle", "Axis"}) +
                     std::to_string(++nameCounter_) + "Z";
  const std::size_t length =
      chance(10) ? 50 : name.size() + static_cast<std::size_t>(uniform(0, 6));
  while (name.size() < length) {
    name += kLettersAndDigits[static_cast<std::size_t>(uniform(0, 61))];
  }
  usedNames_.insert(name);
  return name;
}

std::string PointFileGenerator::freshDName() {
  // The suffix is free text; its number becomes the path number.
  for (;;) {
    const std::string& method = pick(kMethodNames);
    const std::string counter = std::to_string(++nameCounter_);
    std::string name;
    switch (uniform(0, 6)) {
      case 6:
        name = method + "_" +
               spelledLenient(chance(50) ? counter : pastThirtyTwoBits(nameCounter_, true));
        break;
      case 0: name = method; break;
      case 1: name = method + "_"; break;
      case 2: name = method + "_-" + counter; break;
      case 3: name = method + "_" + counter + "x y"; break;
      default: name = method + "_" + counter; break;
    }
    if (usedNames_.insert(name).second) {
      return name;
    }
  }
}

std::string PointFileGenerator::validCycle() {
  const int cycle = chance(10) ? (chance(50) ? 100 : 10000) : uniform(100, 10000);
  return spelledLenient(cycle);
}

namespace {

// Text after the digits of a lenient number: none of it starts with a digit,
// holds a comma or an underscore.
const std::vector<std::string> kTextAfterDigits = {"x",  "ms", ".9", " 1", "\t7",     "abc",
                                                   "-5", "+",  "e5", " ",  "\xC3\xA9"};

}  // namespace

std::string PointFileGenerator::zerosInFront() {
  return std::string(static_cast<std::size_t>(uniform(1, 60)), '0');
}

// `number` is decimal digits, with a "-" in front when negative.
std::string PointFileGenerator::spelledLenient(const std::string& number) {
  if (chance(40)) {
    return number;
  }
  const bool negative = number[0] == '-';
  std::string text;
  if (chance(40)) {
    for (int blanks = uniform(1, 8); blanks > 0; --blanks) {
      text += chance(50) ? ' ' : '\t';
    }
  }
  if (negative) {
    text += '-';
  } else if (chance(30)) {
    text += '+';
  }
  if (chance(70)) {
    text += zerosInFront();
  }
  text += negative ? number.substr(1) : number;
  if (chance(40)) {
    text += pick(kTextAfterDigits);
  }
  return text;
}

std::string PointFileGenerator::spelledNotDigitsOnly(long long value) {
  const std::string digits = (chance(50) ? zerosInFront() : "") + std::to_string(value);
  switch (uniform(0, 2)) {
    case 0: return (chance(50) ? " " : "\t") + digits;
    case 1: return "+" + digits;
    default: return digits + pick(kTextAfterDigits);
  }
}

std::string PointFileGenerator::spelledDigitsOnly(long long value) {
  return (chance(50) ? zerosInFront() : "") + std::to_string(value);
}

std::string PointFileGenerator::spelledConditionCode(int code) {
  std::string word = (chance(40) ? zerosInFront() : "") + std::to_string(code);
  if (chance(20)) {
    word += pick(std::vector<std::string>{"A", "Z9", "abc"});
  }
  return word;
}

std::string PointFileGenerator::pastThirtyTwoBits(long long inRange, bool withNegative) {
  constexpr long long kTwoTo32 = 4294967296LL;
  switch (uniform(0, withNegative ? 7 : 4)) {
    case 0: return "2147483647";
    case 1: return "2147483648";
    case 2: return "4294967295";
    case 3: return std::to_string(kTwoTo32 + inRange);
    case 4: return std::to_string((kTwoTo32 << 8) + inRange);
    case 5: return "-2147483648";
    case 6: return "-2147483649";
    default: return std::to_string(inRange - kTwoTo32);
  }
}

std::string PointFileGenerator::spelledOutside(int lowest, int highest) {
  if (chance(50)) {
    return spelledLenient(pastThirtyTwoBits(uniform(lowest, highest), true));
  }
  return spelledLenient(pick(std::vector<int>{lowest - 1, highest + 1, -lowest, 0}));
}

std::string PointFileGenerator::spelledFaultyNumber(Fault fault, const Row& row) {
  const bool carriesConstants =
      row.shape == Shape::kEventWithValue || row.shape == Shape::kCondition;
  const auto outside = [this](int lowest, int highest) { return spelledOutside(lowest, highest); };
  switch (fault) {
    case Fault::kCycle: return outside(100, 10000);
    case Fault::kDataType:
      if (carriesConstants) {
        return spelledLenient(uniform(1, 8));
      }
      return row.onCncPath ? outside(1, 4) : outside(5, 8);
    case Fault::kConstantValue: {
      if (row.shape != Shape::kCondition) {
        return "";
      }
      const std::string word =
          zerosInFront() + (chance(50) ? pick(std::vector<std::string>{"999", "3000", "0"})
                                       : pastThirtyTwoBits(uniform(1000, 2999), false));
      return (chance(50) ? spelledConditionCode(1000) + " " : "") + word + (chance(20) ? "A" : "");
    }
    case Fault::kStartAddress: {
      if (carriesConstants || row.dataType == 4) {
        return spelledDigitsOnly(uniform(0, 200));
      }
      int lowest = 0;
      int highest = 59999;
      switch (row.dataType) {
        case 1: lowest = 100, highest = 199; break;
        case 2: lowest = 500, highest = 999; break;
        case 3: lowest = 1, highest = 33; break;
        default: break;
      }
      switch (uniform(0, 2)) {
        case 0: return spelledNotDigitsOnly(uniform(lowest, highest));
        case 1: return zerosInFront() + pastThirtyTwoBits(uniform(lowest, highest), false);
        default:
          return zerosInFront() +
                 std::to_string(lowest > 0 && chance(50) ? lowest - 1 : highest + 1);
      }
    }
    case Fault::kBitPos:
      if (carriesConstants || row.dataType != 7) {
        return spelledDigitsOnly(uniform(0, 7));
      }
      switch (uniform(0, 2)) {
        case 0: return spelledNotDigitsOnly(uniform(0, 7));
        case 1: return zerosInFront() + pastThirtyTwoBits(uniform(0, 7), false);
        default: return zerosInFront() + "8";
      }
    default: return "";
  }
}

std::string PointFileGenerator::junkField() {
  static const std::vector<std::string> kJunk = {
      "",           "x",  "EVENT", "String", "R",     "Hello World",        "\xC3\xA9",
      "\"q\"",      "  ", "\t",    "0",      "99999", std::string("\0", 1), "\xFF\xFE",
      kThirtyDigits};
  return pick(kJunk);
}

void PointFileGenerator::fillDataColumns(Row& row, const Header& header) {
  auto& f = row.fields;
  f[kReturnType] = "String";
  f[kAccessType] = "R";
  row.onCncPath = chance(50);
  if (row.onCncPath) {
    // An empty data path means CNC path 1.
    const int path = uniform(0, header.cncPathCount);
    f[kDataPath] = path == 0 ? "" : "CNC path " + std::to_string(path);
    row.dataType = uniform(1, 4);
    switch (row.dataType) {
      case 1: f[kStartAddress] = spelledDigitsOnly(uniform(100, 199)); break;
      case 2: f[kStartAddress] = spelledDigitsOnly(uniform(500, 999)); break;
      case 3: f[kStartAddress] = spelledDigitsOnly(uniform(1, 33)); break;
      default: f[kStartAddress] = ""; break;
    }
    f[kAddressType] = "";
    f[kBitPos] = "";
  } else {
    const int path = uniform(1, header.pmcPathCount + 1);
    f[kDataPath] = path > header.pmcPathCount ? "DCS path 9" : "PMC path " + std::to_string(path);
    row.dataType = uniform(5, 8);
    switch (uniform(0, 5)) {
      case 0: f[kAddressType] = ""; break;
      case 1: f[kAddressType] = "RR"; break;  // not a single letter: not looked up
      default:
        f[kAddressType] = std::string(1, kAddressLetters[static_cast<std::size_t>(uniform(0, 13))]);
        break;
    }
    switch (uniform(0, 5)) {
      case 0: f[kStartAddress] = ""; break;
      case 1: f[kStartAddress] = chance(50) ? "0" : "59999"; break;
      default: f[kStartAddress] = spelledDigitsOnly(uniform(0, 59999)); break;
    }
    f[kBitPos] = row.dataType == 7 ? spelledDigitsOnly(uniform(0, 7)) : "";
  }
  // Data types are read leniently too.
  f[kDataType] = spelledLenient(row.dataType);
}

PointFileGenerator::Row PointFileGenerator::validRow(const Header& header, Shape shape) {
  Row row;
  row.shape = shape;
  auto& f = row.fields;
  f.assign(kColumnCount, "");
  if (shape == Shape::kDevice) {
    // Only the kind and the name of a "D" row are read.
    f[kKind] = "D";
    f[kName] = freshDName();
    for (std::size_t column = kType; column < kColumnCount; ++column) {
      f[column] = junkField();
    }
    return row;
  }
  f[kKind] = "C";
  f[kName] = freshCName();
  f[kCycle] = validCycle();
  std::vector<std::string> xmlLocations = {"Device", "Controller", "Path"};
  for (int path = 2; path <= header.cncPathCount; ++path) {
    xmlLocations.push_back("Path" + std::to_string(path));
  }
  f[kXmlLocation] = pick(xmlLocations);
  switch (shape) {
    case Shape::kSample:
      f[kType] = "SAMPLE";
      f[kUnit] = pick(kUnitNames);
      fillDataColumns(row, header);
      break;
    case Shape::kPlainEvent:
      f[kType] = "EVENT";
      fillDataColumns(row, header);
      break;
    case Shape::kEventWithValue: {
      f[kType] = "EVENT";
      const int length = chance(20) ? 10 : uniform(1, 10);
      for (int i = 0; i < length; ++i) {
        f[kConstant] += kLettersAndDigits[static_cast<std::size_t>(uniform(0, 61))];
      }
      break;
    }
    case Shape::kCondition: {
      f[kType] = "CONDITION";
      // Up to ten words; repeats count as words and are dropped later.
      const int words = chance(20) ? 10 : uniform(1, 10);
      std::vector<std::string> codes;
      for (int i = 0; i < words; ++i) {
        if (!codes.empty() && chance(15)) {
          codes.push_back(pick(codes));
          continue;
        }
        codes.push_back(spelledConditionCode(uniform(1000, 2999)));
      }
      for (std::size_t i = 0; i < codes.size(); ++i) {
        f[kConstant] += (i == 0 ? "" : " ") + codes[i];
      }
      break;
    }
    case Shape::kDevice: break;
  }
  return row;
}

PointFileGenerator::Row PointFileGenerator::validRow(const Header& header) {
  static const std::vector<Shape> kShapes = {Shape::kSample,     Shape::kSample,
                                             Shape::kPlainEvent, Shape::kEventWithValue,
                                             Shape::kCondition,  Shape::kDevice};
  return validRow(header, pick(kShapes));
}

std::string PointFileGenerator::breakHeader(Header& header, Fault fault) {
  const std::string pmc = spelledLenient(header.pmcPathCount);
  const std::string cnc = spelledLenient(header.cncPathCount);
  std::string suffix;
  switch (fault) {
    case Fault::kHeaderFormat:
      header.line =
          pick(std::vector<std::string>{pmc + "," + cnc, pmc + "," + cnc + ",True,", "", pmc,
                                        pmc + ";" + cnc + ";False", pmc + "," + cnc + ",False,x"});
      suffix = " is illegal format.";
      break;
    case Fault::kHeaderPmcPathCount:
      header.line =
          (chance(40)
               ? spelledOutside(1, 5)
               : pick(std::vector<std::string>{"0", "6", "x", "-1",
                                               "\xEF\xBB\xBF"
                                               "1",
                                               "", " ", kThirtyDigits, "-" + kThirtyDigits})) +
          "," + cnc + ",True";
      suffix = " is illegal PMC path num.";
      break;
    case Fault::kHeaderCncPathCount:
      header.line = pmc + "," +
                    (chance(40) ? spelledOutside(1, 10)
                                : pick(std::vector<std::string>{"0", "11", "x", "-2", "",
                                                                kThirtyDigits, "4294967297"})) +
                    ",False";
      suffix = " is illegal CNC path num.";
      break;
    default:
      header.line = pmc + "," + cnc + "," +
                    pick(std::vector<std::string>{"true", "TRUE", " True", "True ", "", "False\t",
                                                  "Yes", "Fals", std::string("True\0", 5)});
      suffix = " is illegal DCS Ladder.";
      break;
  }
  return header.line + suffix;
}

std::string PointFileGenerator::breakRow(Row& row, const Header& header, Fault fault) {
  auto& f = row.fields;
  if (fault == Fault::kRowFormat) {
    if (chance(50)) {
      f.erase(f.begin() + uniform(0, static_cast<int>(f.size()) - 1));
    } else {
      f.push_back(junkField());
    }
    return joinRow(f) + " is illegal format.";
  }
  const ColumnFault& target = columnFaultOf(fault);
  const bool carriesConstants =
      row.shape == Shape::kEventWithValue || row.shape == Shape::kCondition;
  std::string faulty;
  switch (fault) {
    case Fault::kPointKind:
      faulty = pick(std::vector<std::string>{"", "c", "d", "DD", "Device", "X", "C ", " D",
                                             std::string("\0", 1), "\xC3\x84"});
      break;
    case Fault::kPointName:
      faulty = row.shape == Shape::kDevice
                   ? pick(std::vector<std::string>{"readmode_1", "ReadMode1", "ReadMode_1_2", "_1",
                                                   "", "ReadMode _1", "ReadModes"})
                   : pick(std::vector<std::string>{"1Temp", "Temp_1", "Temp-1", "Te mp", "",
                                                   std::string(51, 'A'), "T\xC3\xA9mp", "_"});
      break;
    case Fault::kPointType:
      faulty = pick(std::vector<std::string>{"event", "Event", "EVENT ", "SAMPLES", "", "Sample",
                                             "CONDITION\t"});
      break;
    case Fault::kConstantValue:
      switch (row.shape) {
        case Shape::kCondition:
          faulty = pick(std::vector<std::string>{"", "0999", "3000", "ABC", "1000  2000", " 1000",
                                                 "1000 ", "1000 -1", kThirtyDigits,
                                                 "1000 1000 1000 1000 1000 1000 1000 1000 1000 "
                                                 "1000 1000"});
          break;
        case Shape::kSample: faulty = pick(std::vector<std::string>{"1000", "x", " "}); break;
        default:
          faulty = pick(std::vector<std::string>{"ABCDEFGHIJK", "AB_1", "A B", "-", "\xC3\xA9"});
          break;
      }
      break;
    case Fault::kCycle:
      faulty = pick(std::vector<std::string>{"99", "10001", "0", "abc", "", "-500", "4294967796",
                                             " 99", kThirtyDigits});
      break;
    case Fault::kUnit:
      faulty = row.shape == Shape::kSample
                   ? pick(std::vector<std::string>{"", "millimeter", "MILLIMETER/SECOND",
                                                   "DEGREE / SECOND^2", "pH", "NONE ",
                                                   "REVOLUTION / MINUTE"})
                   : pick(std::vector<std::string>{"NONE", "MILLIMETER", "x"});
      break;
    case Fault::kXmlLocation:
      faulty =
          pick(std::vector<std::string>{"", "device", "Path1", " Device", "Path 2", "Controller ",
                                        "Path" + std::to_string(header.cncPathCount + 1)});
      break;
    case Fault::kDataPath:
      faulty = carriesConstants ? pick(std::vector<std::string>{"CNC path 1", "x", " "})
                                : pick(std::vector<std::string>{
                                      "CNC path " + std::to_string(header.cncPathCount + 1),
                                      "PMC path " + std::to_string(header.pmcPathCount + 1),
                                      "cnc path 1", "CNC path 01", "CNC  path 1", "CNC path 1 ",
                                      "DCS path 1", "PMC path 0", "CNC path"});
      break;
    case Fault::kDataType:
      faulty = carriesConstants ? pick(std::vector<std::string>{"1", "5", "x"})
               : row.onCncPath
                   ? pick(std::vector<std::string>{"0", "5", "-1", "", "x", "9", kThirtyDigits,
                                                   "-" + kThirtyDigits})
                   : pick(std::vector<std::string>{"4", "9", "", "0", "1", kThirtyDigits});
      break;
    case Fault::kReturnType:
      faulty = carriesConstants
                   ? "String"
                   : pick(std::vector<std::string>{"string", "String ", "", "STRING", " String"});
      break;
    case Fault::kAccessType:
      faulty =
          carriesConstants ? "R" : pick(std::vector<std::string>{"r", "RW", " R", "R ", "", "W"});
      break;
    case Fault::kAddressType:
      faulty = carriesConstants    ? pick(std::vector<std::string>{"D", "RR"})
               : row.dataType <= 4 ? pick(std::vector<std::string>{"R", "D", "x", "RR"})
                                   : pick(std::vector<std::string>{"Q", "d", "1", "B", "I", " ",
                                                                   "\x80", std::string("\0", 1)});
      break;
    case Fault::kStartAddress:
      if (carriesConstants) {
        faulty = pick(std::vector<std::string>{"5", "0"});
        break;
      }
      switch (row.dataType) {
        case 1:
          faulty = pick(std::vector<std::string>{"99", "200", "", "+150", "150 ", kThirtyDigits});
          break;
        case 2: faulty = pick(std::vector<std::string>{"499", "1000", ""}); break;
        case 3: faulty = pick(std::vector<std::string>{"0", "34", "", "-1"}); break;
        case 4: faulty = pick(std::vector<std::string>{"0", "1", " "}); break;
        default:
          faulty = pick(std::vector<std::string>{"60000", "4294967296", "+1", "-1", " 1", "12a",
                                                 kThirtyDigits});
          break;
      }
      break;
    default:  // Fault::kBitPos
      faulty = carriesConstants ? "0"
               : row.dataType == 7
                   ? pick(std::vector<std::string>{"8", "-1", "", kThirtyDigits, "1 ", "+1"})
                   : pick(std::vector<std::string>{"0", "7", " "});
      break;
  }
  if (chance(40)) {
    const std::string spelled = spelledFaultyNumber(fault, row);
    faulty = spelled.empty() ? faulty : spelled;
  }
  f[target.column] = faulty;
  // What follows the fault is never read.
  for (std::size_t column = target.column + 1; column < kColumnCount; ++column) {
    if (chance(30)) {
      f[column] = junkField();
    }
  }
  return target.suffix.empty()
             ? (fault == Fault::kPointName ? "Illegal point name." : "Illegal constant value.")
             : faulty + std::string(target.suffix);
}

GeneratedFile PointFileGenerator::build(Fault fault, std::size_t rowCount, bool faultRowLast) {
  lineEndStyle_ = uniform(0, 2);
  usedNames_.clear();
  Header header = randomHeader();
  GeneratedFile file;
  file.expectedResult = "OK";
  if (isHeaderFault(fault)) {
    file.expectedResult = breakHeader(header, fault);
  }

  std::vector<Row> rows;
  for (std::size_t i = 0; i < rowCount; ++i) {
    rows.push_back(validRow(header));
  }
  if (fault == Fault::kDuplicateName) {
    // One later row takes the name of an earlier one, of the same kind.
    do {
      rows.push_back(validRow(header));
    } while (rows.size() < 2);
    const int last = static_cast<int>(rows.size()) - 1;
    const auto original = static_cast<std::size_t>(uniform(0, last - 1));
    const auto twin = faultRowLast
                          ? static_cast<std::size_t>(last)
                          : static_cast<std::size_t>(uniform(static_cast<int>(original) + 1, last));
    const Shape shape = rows[original].shape == Shape::kDevice ? Shape::kDevice : Shape::kSample;
    rows[twin] = validRow(header, shape);
    rows[twin].fields[kName] = rows[original].fields[kName];
    file.expectedResult = rows[original].fields[kName] + " is duplicate point name.";
  } else if (fault != Fault::kNone && !isHeaderFault(fault)) {
    // The faulty row needs a shape whose column rule the fault breaks.
    static const std::vector<Shape> kAnyShape = {Shape::kSample, Shape::kPlainEvent,
                                                 Shape::kEventWithValue, Shape::kCondition,
                                                 Shape::kDevice};
    static const std::vector<Shape> kCShapes = {Shape::kSample, Shape::kPlainEvent,
                                                Shape::kEventWithValue, Shape::kCondition};
    static const std::vector<Shape> kSampleOnly = {Shape::kSample};
    const ColumnFault* target = fault == Fault::kRowFormat ? nullptr : &columnFaultOf(fault);
    const std::vector<Shape>& shapes = target == nullptr || target->column <= kName ? kAnyShape
                                       : target->column == kType                    ? kSampleOnly
                                                                                    : kCShapes;
    Row faultyRow = validRow(header, pick(shapes));
    file.expectedResult = breakRow(faultyRow, header, fault);
    const std::size_t position =
        faultRowLast ? rows.size()
                     : static_cast<std::size_t>(uniform(0, static_cast<int>(rows.size())));
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(faultyRow));
  }

  file.bytes = header.line;
  for (const Row& row : rows) {
    file.bytes += lineEnd() + joinRow(row.fields);
  }
  switch (uniform(0, 3)) {
    case 0: break;  // the last line has no line end
    case 1: {
      // An empty line ends the rows; nothing after it is read, so it may be
      // anything: a faulty row, a repeated name, a broken line.
      const std::string end = lineEnd();
      file.bytes += end + end;
      const std::string repeated = rows.empty() ? "x" : rows.front().fields[kName];
      file.bytes +=
          pick(std::vector<std::string>{"C,Bad,EVENT", "garbage",
                                        joinRow({"C", repeated, "SAMPLE", "", "500", "NONE",
                                                 "Device", "", "1", "String", "R", "", "100", ""}),
                                        ",,,,"}) +
          lineEnd();
      break;
    }
    default: file.bytes += lineEnd(); break;
  }
  return file;
}

GeneratedFile PointFileGenerator::validFile() {
  return build(Fault::kNone, static_cast<std::size_t>(uniform(0, 12)), false);
}

GeneratedFile PointFileGenerator::fileWithFault(Fault fault) {
  return build(fault, static_cast<std::size_t>(uniform(0, 8)), false);
}

GeneratedFile PointFileGenerator::largeFile(std::size_t minimumBytes, Fault fault) {
  // Rows take well over 30 bytes each, so this many always fill the size.
  return build(fault, minimumBytes / 30 + 1, true);
}

}  // namespace marlint::generator
