#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "api/run_checks.h"
#include "fuzz/check_invariants.h"
#include "run/run_state.h"
#include "tools/point_file_generator.h"

namespace marlint {
namespace {

using fuzzing::CheckOutcome;
using generator::Fault;
using generator::GeneratedFile;
using generator::PointFileGenerator;

constexpr int kFilesPerProperty = 300;

// Control bytes and bytes from 0x80 up as \xNN, so a failing file can be read.
std::string printable(const std::string& bytes) {
  std::string shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n' || (byte >= 0x20 && byte < 0x7f)) {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  return shown;
}

CheckOutcome expectedOutcome(const GeneratedFile& file) {
  return CheckOutcome{file.expectedResult == "OK" ? 0 : -1, file.expectedResult};
}

void expectOutcome(const CheckOutcome& actual, const GeneratedFile& file) {
  EXPECT_EQ(actual.resultText, file.expectedResult) << "in file:\n" << printable(file.bytes);
  EXPECT_EQ(actual.status, expectedOutcome(file).status);
}

TEST(GeneratedFiles, ValidFilesAreAccepted) {
  PointFileGenerator generator(1);
  for (int i = 0; i < kFilesPerProperty; ++i) {
    const GeneratedFile file = generator.validFile();
    ASSERT_EQ(file.expectedResult, "OK");
    expectOutcome(fuzzing::checkBytes(file.bytes), file);
    EXPECT_EQ(fuzzing::findInvariantBreach(file.bytes), std::nullopt);
  }
}

class GeneratedFault : public ::testing::TestWithParam<Fault> {};

// The targeted fault is the first one in the file, so its message, with the
// faulty text in front, is the result; nothing after it is read.
TEST_P(GeneratedFault, GivesItsOwnMessage) {
  PointFileGenerator generator(static_cast<std::uint32_t>(GetParam()) + 100);
  for (int i = 0; i < kFilesPerProperty; ++i) {
    const GeneratedFile file = generator.fileWithFault(GetParam());
    ASSERT_NE(file.expectedResult, "OK");
    expectOutcome(fuzzing::checkBytes(file.bytes), file);
    EXPECT_EQ(fuzzing::findInvariantBreach(file.bytes), std::nullopt);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryColumnRule, GeneratedFault,
                         ::testing::ValuesIn(generator::allFaults()),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                           std::string name(generator::faultName(info.param));
                           for (char& c : name) {
                             c = c == '-' ? '_' : c;
                           }
                           return name;
                         });

// Files far larger than one read block, read from a real file: the fault in
// the last row is still found, and a valid file is still accepted.
TEST(GeneratedFiles, LargeFilesReadFromDiskGiveTheSameResult) {
  PointFileGenerator generator(7);
  for (const Fault fault : {Fault::kNone, Fault::kBitPos, Fault::kRowFormat, Fault::kDuplicateName,
                            Fault::kHeaderDcsLadder}) {
    const GeneratedFile file = generator.largeFile(400 * 1024, fault);
    SCOPED_TRACE(std::string(generator::faultName(fault)));
    std::string path = ::testing::TempDir() + "marlint-large-XXXXXX";
    std::FILE* out = fdopen(mkstemp(path.data()), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
    std::fclose(out);

    RunState run;
    ControllerConfig config;
    PointList points;
    const bool failed = runChecks(run, path, config, points);
    std::remove(path.c_str());
    EXPECT_EQ(run.resultText, file.expectedResult);
    EXPECT_EQ(failed, file.expectedResult != "OK");
    EXPECT_EQ(fuzzing::checkBytesThroughStream(file.bytes), expectedOutcome(file));
  }
}

// The generator must keep producing what the properties above rely on;
// otherwise they would pass without testing much.
TEST(GeneratedFiles, ValidFilesCoverLineEndsRowEndsAndShapes) {
  PointFileGenerator generator(3);
  std::string all;
  int crLfFiles = 0, lfOnlyFiles = 0, emptyLineEnds = 0, noFinalLineEnd = 0;
  for (int i = 0; i < kFilesPerProperty; ++i) {
    const std::string bytes = generator.validFile().bytes;
    all += bytes;
    crLfFiles += bytes.find("\r\n") != std::string::npos;
    lfOnlyFiles += bytes.find('\r') == std::string::npos;
    emptyLineEnds +=
        bytes.find("\n\n") != std::string::npos || bytes.find("\n\r\n") != std::string::npos;
    noFinalLineEnd += !bytes.empty() && bytes.back() != '\n';
  }
  EXPECT_GT(crLfFiles, 0);
  EXPECT_GT(lfOnlyFiles, 0);
  EXPECT_GT(emptyLineEnds, 0);
  EXPECT_GT(noFinalLineEnd, 0);
  for (const char* piece : {",SAMPLE,", ",EVENT,,", ",CONDITION,", "\nD,", ",PMC path ",
                            ",DCS path 9,", ",CNC path ", ",7,String,R,", ",4,String,R,,,",
                            "DEGREE / SECONDA^2", "WATT_SECOND", ",Path10,", ",RR,"}) {
    EXPECT_NE(all.find(piece), std::string::npos) << piece;
  }
}

}  // namespace
}  // namespace marlint
