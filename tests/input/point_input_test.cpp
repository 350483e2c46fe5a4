#include "input/point_input.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/failing_stream.h"

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

// The four inputs a look ahead meets: bytes in memory, a regular file
// (looked at in place), a pipe and a stream that cannot go back (both kept
// in memory), the last failing after its bytes.
enum class Source { kMemory, kFile, kPipe, kFailingStream };

class OpenSource {
 public:
  OpenSource(Source source, const std::string& bytes) : bytes_(bytes) {
    if (source == Source::kMemory) {
      input_ = PointInput(std::string_view(bytes_));
    } else if (source == Source::kFile) {
      std::FILE* file = std::tmpfile();
      std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::rewind(file);
      input_ = PointInput(file, true);
    } else if (source == Source::kFailingStream) {
      input_ = PointInput(testing::openFailingStream(bytes), true);
    } else {
      int ends[2];
      EXPECT_EQ(::pipe(ends), 0);
      writer_ = std::thread([this, end = ends[1]] {
        EXPECT_EQ(::write(end, bytes_.data(), bytes_.size()), static_cast<ssize_t>(bytes_.size()));
        ::close(end);
      });
      input_ = PointInput(::fdopen(ends[0], "rb"), true);
    }
  }
  ~OpenSource() {
    input_.close();
    if (writer_.joinable()) {
      writer_.join();
    }
  }
  PointInput& input() { return input_; }

 private:
  const std::string& bytes_;
  std::thread writer_;
  PointInput input_;
};

// Whatever a look ahead sees, and wherever it stops, the lines read after
// it are those read without it, up to the same end; it sees exactly the
// bytes after the lines read before it.
TEST(PeekRest, ShowsTheRestAndLeavesEveryLine) {
  std::string bytes;
  for (std::size_t length : {5u, 65530u, 3u, 65536u, 0u, 140000u, 7u}) {
    bytes += std::string(length, 'x') + (length % 2 == 0 ? "\r\n" : "\n");
  }
  bytes += "last\r";
  for (const Source source :
       {Source::kMemory, Source::kFile, Source::kPipe, Source::kFailingStream}) {
    OpenSource plain(source, bytes);
    const Lines expected = readAllLines(plain.input());
    for (const std::size_t linesBefore : {0u, 1u, 3u}) {
      for (const bool firstPieceOnly : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << "source " << static_cast<int>(source) << ", " << linesBefore
                     << " lines before, first piece only " << firstPieceOnly);
        OpenSource looked(source, bytes);
        Lines lines;
        std::string_view line;
        for (std::size_t i = 0; i < linesBefore && readLine(looked.input(), line); ++i) {
          lines.emplace_back(line);
        }
        std::size_t restStart = 0;
        for (std::size_t i = 0; i < linesBefore; ++i) {
          restStart = bytes.find('\n', restStart) + 1;
        }
        std::string seen;
        looked.input().peekRest([&](std::string_view piece) {
          seen.append(piece);
          return !firstPieceOnly || seen.empty();
        });
        if (firstPieceOnly) {
          EXPECT_EQ(seen, bytes.substr(restStart, seen.size()));
        } else {
          EXPECT_EQ(seen, bytes.substr(restStart));
        }
        for (const std::string& rest : readAllLines(looked.input())) {
          lines.push_back(rest);
        }
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(looked.input().hadReadError(), plain.input().hadReadError());
        EXPECT_EQ(looked.input().hadReadError(), source == Source::kFailingStream);
      }
    }
  }
}

}  // namespace
}  // namespace marlint
