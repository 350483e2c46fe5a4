#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/run_state.h"
#include "points/duplicate_names.h"
#include "points/point_record.h"

namespace marlint::testing {
namespace {

void expectSameRecord(const PointRecord& actual, const PointRecord& expected) {
  EXPECT_EQ(actual.kind, expected.kind);
  EXPECT_EQ(actual.name, expected.name);
  EXPECT_EQ(actual.pointType, expected.pointType);
  EXPECT_EQ(actual.constantValues, expected.constantValues);
  EXPECT_EQ(actual.cycle, expected.cycle);
  EXPECT_EQ(actual.unit, expected.unit);
  EXPECT_EQ(actual.xmlLocation, expected.xmlLocation);
  EXPECT_EQ(actual.pathKind, expected.pathKind);
  EXPECT_EQ(actual.pathNumber, expected.pathNumber);
  EXPECT_EQ(actual.dataType, expected.dataType);
  EXPECT_EQ(actual.returnType, expected.returnType);
  EXPECT_EQ(actual.accessType, expected.accessType);
  EXPECT_EQ(actual.addressType, expected.addressType);
  EXPECT_EQ(actual.startAddress, expected.startAddress);
  EXPECT_EQ(actual.bitPos, expected.bitPos);
}

PointRecord conditionRecord() {
  PointRecord record;
  record.kind = 'C';
  record.name = "OverheatAlarm1";
  record.pointType = point_type::kCondition;
  record.constantValues = {"1000", "01000", "2999A"};
  record.cycle = 10000;
  record.xmlLocation = "Path10";
  record.pathKind = path_kind::kCnc;
  record.pathNumber = 1;
  return record;
}

PointRecord pmcSampleRecord() {
  PointRecord record;
  record.kind = 'C';
  record.name = "DoorOpen";
  record.pointType = point_type::kSample;
  record.cycle = 100;
  record.unit = 32;
  record.xmlLocation = "Device";
  record.pathKind = path_kind::kPmc;
  record.pathNumber = 9;
  record.dataType = 7;
  record.returnType = "String";
  record.accessType = 'R';
  record.addressType = 13;
  record.startAddress = 59999;
  record.bitPos = 7;
  return record;
}

PointRecord deviceRecord(std::string name, std::int32_t pathNumber) {
  PointRecord record;
  record.kind = 'D';
  record.name = std::move(name);
  record.cycle = 800;
  record.pathNumber = pathNumber;
  return record;
}

TEST(PointList, GivesBackEveryFieldAsAppended) {
  const std::vector<PointRecord> records = {
      PointRecord(),
      conditionRecord(),
      pmcSampleRecord(),
      deviceRecord("ReadMode_-2147483648", std::numeric_limits<std::int32_t>::min()),
      deviceRecord("ReadMode_", 0),
      // Bytes a "D" suffix may hold: blanks, NUL, CR and bytes from 0x80 up.
      deviceRecord(std::string("ReadMode_ \0\r\xff", 13), 0),
  };
  PointList points;
  for (const PointRecord& record : records) {
    points.append(record);
  }
  ASSERT_EQ(points.size(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    SCOPED_TRACE(i);
    expectSameRecord(points.at(i), records[i]);
    EXPECT_EQ(points.nameAt(i), records[i].name);
  }
}

TEST(PointList, KeepsXmlLocationAndReturnTypeApartPerRecord) {
  // The two texts are stored as one shared pair; each pair must stay its own.
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"Path", "String"}, {"Path", ""}, {"", "String"}, {"", ""}, {"Path2", "String"}};
  PointList points;
  for (const auto& [xmlLocation, returnType] : pairs) {
    PointRecord record;
    record.xmlLocation = xmlLocation;
    record.returnType = returnType;
    points.append(record);
    points.append(record);
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points.at(i).xmlLocation, pairs[i / 2].first) << i;
    EXPECT_EQ(points.at(i).returnType, pairs[i / 2].second) << i;
  }
}

TEST(PointList, KeepsManyRecordsInFileOrder) {
  // Enough records and text to fill many storage blocks, with a name that
  // is longer than a whole text block among them.
  constexpr std::size_t kCount = 20'000;
  const std::string longSuffix(100'000, 'x');
  PointList points;
  for (std::size_t i = 0; i < kCount; ++i) {
    PointRecord record = i % 3 == 0 ? conditionRecord() : pmcSampleRecord();
    record.name = (i == kCount / 2 ? "ReadMode_" + longSuffix : "Name") + std::to_string(i);
    record.startAddress = static_cast<std::int32_t>(i);
    points.append(record);
  }
  ASSERT_EQ(points.size(), kCount);
  for (std::size_t i = 0; i < kCount; i += 997) {
    SCOPED_TRACE(i);
    PointRecord expected = i % 3 == 0 ? conditionRecord() : pmcSampleRecord();
    expected.name = "Name" + std::to_string(i);
    expected.startAddress = static_cast<std::int32_t>(i);
    expectSameRecord(points.at(i), expected);
  }
  EXPECT_EQ(points.nameAt(kCount / 2), "ReadMode_" + longSuffix + std::to_string(kCount / 2));
  EXPECT_EQ(points.nameAt(kCount - 1), "Name" + std::to_string(kCount - 1));
}

TEST(PointList, RefusesWhatItCannotGiveBack) {
  PointList points;
  EXPECT_THROW(points.at(0), std::out_of_range);
  points.append(pmcSampleRecord());
  EXPECT_THROW(points.at(1), std::out_of_range);

  // Numbers are kept in the width the checks need; a value beyond it is
  // refused, never cut, and leaves the list as it was.
  PointRecord tooWide = pmcSampleRecord();
  tooWide.pointType = 300;
  EXPECT_THROW(points.append(tooWide), std::out_of_range);
  EXPECT_EQ(points.size(), 1U);
  points.append(conditionRecord());
  ASSERT_EQ(points.size(), 2U);
  expectSameRecord(points.at(1), conditionRecord());
}

TEST(PointList, DuplicateCheckFindsTheEarliestRepeatAmongManyNames) {
  // Many names, so the check's table of names is far larger than in the
  // small cases: the twin of name 70000 comes after the twin of name 90000.
  PointList points;
  for (int i = 0; i < 100'000; ++i) {
    points.append(deviceRecord("ReadMode_" + std::to_string(i), i));
  }
  RunState unique;
  EXPECT_FALSE(checkDuplicateNames(unique, points));
  EXPECT_EQ(unique.resultText, "");

  points.append(deviceRecord("ReadMode_90000", 90000));
  points.append(deviceRecord("ReadMode_70000", 70000));
  RunState repeated;
  EXPECT_TRUE(checkDuplicateNames(repeated, points));
  EXPECT_EQ(repeated.resultText, "ReadMode_70000 is duplicate point name.");
}

}  // namespace
}  // namespace marlint::testing
