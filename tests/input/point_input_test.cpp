#include "input/point_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace marlint {
namespace {

using Lines = std::vector<std::string>;

Lines readAllLines(PointInput& input) {
  Lines lines;
  std::string_view line;
  while (readLine(input, line)) {
    lines.emplace_back(line);
  }
  EXPECT_TRUE(line.empty());
  EXPECT_FALSE(readLine(input, line)) << "a failed input must stay failed";
  return lines;
}

// Reads `bytes` through a real stream, as a file or standard input is read.
Lines readLinesFromStream(const std::string& bytes) {
  std::FILE* stream = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::rewind(stream);
  PointInput input(stream, true);
  return readAllLines(input);
}

Lines readLinesFromMemory(const std::string& bytes) {
  PointInput input{std::string_view(bytes)};
  return readAllLines(input);
}

TEST(ReadLine, LineEndsAndCarriageReturns) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r", {"a\r"}},
      {"a\rb\n", {"a\rb"}},
      {"a\r\r\n", {"a\r"}},
      {"\r\n", {""}},
      {"a\rb\rc", {"a\rb\rc"}},
      {std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string("\0", 1)}},
      {"\xEF\xBB\xBF"
       "1,1,True\n",
       {"\xEF\xBB\xBF"
        "1,1,True"}},
  };
  for (const auto& [bytes, lines] : cases) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(readLinesFromMemory(bytes), lines);
    EXPECT_EQ(readLinesFromStream(bytes), lines);
  }
}

// Lines of every length around the read block size, so that line ends, CRs
// and long lines fall on block boundaries.
TEST(ReadLine, LinesAcrossBlockBoundaries) {
  Lines expected;
  std::string bytes;
  for (std::size_t length : {1u, 65535u, 65536u, 65537u, 3u, 200000u, 0u, 131071u, 5u}) {
    std::string line(length, 'x');
    if (length > 2) {
      line[length / 2] = '\r';
    }
    expected.push_back(line);
    bytes += line + (length % 2 == 0 ? "\r\n" : "\n");
  }
  expected.push_back(std::string(70000, 'y'));
  bytes += expected.back();
  EXPECT_EQ(readLinesFromStream(bytes), expected);
  EXPECT_EQ(readLinesFromMemory(bytes), expected);
}

TEST(ReadLine, CrLfSplitAcrossBlocksIsStillOneLineEnd) {
  for (std::size_t crPosition : {65534u, 65535u, 65536u}) {
    const std::string bytes = std::string(crPosition, 'a') + "\r\nb";
    EXPECT_EQ(readLinesFromStream(bytes), (Lines{std::string(crPosition, 'a'), "b"}));
  }
}

TEST(OpenPointInput, MissingFileReadsNothing) {
  PointInput input = openPointInput("/nonexistent/marlint/points.csv");
  std::string_view line = "unchanged";
  EXPECT_FALSE(readLine(input, line));
  EXPECT_TRUE(line.empty());
}

TEST(OpenPointInput, EmptyPathAndDirectoryReadNothing) {
  for (const char* path : {"", "/"}) {
    PointInput input = openPointInput(path);
    std::string_view line;
    EXPECT_FALSE(readLine(input, line)) << path;
  }
}

TEST(PointInput, MovedInputKeepsReading) {
  const std::string bytes = "a\nb\nc";
  PointInput first{std::string_view(bytes)};
  std::string_view line;
  ASSERT_TRUE(readLine(first, line));
  PointInput second = std::move(first);
  EXPECT_EQ(readAllLines(second), (Lines{"b", "c"}));
}

}  // namespace
}  // namespace marlint
