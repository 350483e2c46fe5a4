#include "explain/file_causes.h"

#include <gtest/gtest.h>

#include "explain/cause_undo.h"

#include <bitset>
#include <string>
#include <string_view>

namespace marlint::testing {
namespace {

// Whatever causes a fault is given, each is worded "<sentence>: <action>",
// the heading counts exactly the causes written, and no list ends empty.
// Causes are separated by "; ", which no cause's words hold.
TEST(LikelyCauses, EveryChoiceOfCausesIsWordedInFull) {
  const std::size_t causeCount = likelyCauseEntries().size();
  ASSERT_LE(causeCount, 16u) << "more causes than this test tries every choice of";
  // A sample that shows nothing, and one that picks every other wording: a
  // UTF-16 byte-order mark, lines that end in CR CR LF and are quoted.
  const FileShape shapes[] = {FileShape::of("x", false),
                              FileShape::of("\xff\xfe\n\"a\"\r\r\n\"b\"\r\r\n", true)};
  ASSERT_TRUE(shapes[1].utf16ByteOrderMark() && shapes[1].hasDoubledCrLineEnds() &&
              shapes[1].hasQuotedLines());
  int faulty = 0;
  for (const FileShape& shape : shapes) {
    for (unsigned long choice = 0; choice < (1ul << causeCount) && faulty < 10; ++choice) {
      FileCauses causes;
      for (std::size_t place = 0; place < causeCount; ++place) {
        if ((choice >> place & 1) != 0) {
          causes.add(place);
        }
      }
      std::string written;
      appendLikelyCauses(written, causes, shape);
      const std::size_t count = std::bitset<16>(choice).count();
      const std::string_view heading =
          count == 1 ? " Likely cause: " : " Likely causes, most likely first: ";
      std::string_view rest = written;
      bool whole = count == 0 ? written.empty() : rest.substr(0, heading.size()) == heading;
      rest.remove_prefix(count == 0 ? 0 : heading.size());
      for (std::size_t i = 0; i < count && whole; ++i) {
        const std::string_view words = rest.substr(0, rest.find("; "));
        const std::size_t colon = words.find(": ");
        whole = colon != std::string_view::npos && colon > 0 && colon + 2 < words.size();
        rest.remove_prefix(std::min(rest.size(), words.size() + 2));
      }
      whole = whole && rest.empty();
      EXPECT_TRUE(whole) << "causes " << std::bitset<16>(choice) << " read: " << written;
      faulty += whole ? 0 : 1;
    }
  }
}

// What each undo leaves of a line, at the edges of what it takes for its
// cause; an undo that finds nothing of its cause leaves the line as it is.
TEST(CauseUndo, GivesTheLineWithoutItsCause) {
  struct UndoCase {
    std::vector<Edit> (*undo)(std::string_view);
    std::string line;
    std::string undone;
  };
  const UndoCase cases[] = {
      {undoByteOrderMark,
       "\xef\xbb\xbf"
       "2,3,False",
       "2,3,False"},
      {undoByteOrderMark,
       "\xef\xbb"
       "2,3,False",
       "\xef\xbb"
       "2,3,False"},
      {undoDoubledCr, "C,T1\r", "C,T1"},
      {undoDoubledCr, "C,T1", "C,T1"},
      {undoSemicolonSeparators, "2;3;False,x", "2,3,False,x"},
      {undoTabSeparators, "2\t3\tFalse", "2,3,False"},
      // Quotes that wrap a field go, a doubled one inside stays as one,
      // and a comma inside stays.
      {undoQuotedFields, "\"2\",\"3\",\"False\"\r", "2,3,False\r"},
      {undoQuotedFields, "C,\"1000,1001\",800", "C,1000,1001,800"},
      {undoQuotedFields, "\"a\"\"b\",\"\"", "a\"b,"},
      // A quote inside a field, or one that closes no field, stays.
      {undoQuotedFields, "C,Te\"mp1,\"x\"y,\"open", "C,Te\"mp1,\"x\"y,\"open"},
      {undoHeaderPadding, "2,3,False,,,,\r", "2,3,False\r"},
      {undoHeaderPadding, "2,3,False,,x,", "2,3,False,,x,"},
      {undoHeaderPadding, "2,3,False", "2,3,False"},
      {undoTrailingComma, "C,T1,,\r", "C,T1,\r"},
      {undoTrailingComma, "C,T1", "C,T1"},
      {undoCommaSeparatedCodes, "C,A1,CONDITION,1000,1001,1002,800,,Path2,,,,,,,",
       "C,A1,CONDITION,1000 1001 1002,800,,Path2,,,,,,,"},
      {undoCommaSeparatedCodes, "C,A1,SAMPLE,1000,1001,800,,Path2,,,,,,,",
       "C,A1,SAMPLE,1000,1001,800,,Path2,,,,,,,"},
      {undoCommaSeparatedCodes, "C,A1,CONDITION,1000 1001,800,,Path2,,,,,,",
       "C,A1,CONDITION,1000 1001,800,,Path2,,,,,,"},
      {undoWholeLine, "2,3,False", ""},
  };
  for (const UndoCase& c : cases) {
    SCOPED_TRACE(c.line);
    const std::vector<Edit> edits = c.undo(c.line);
    EXPECT_EQ(withEdits(c.line, edits), c.undone);
    EXPECT_EQ(edits.empty(), c.undone == c.line);
    // In offset order, none overlapping, all inside the line.
    std::size_t end = 0;
    for (const Edit& edit : edits) {
      EXPECT_GE(edit.offset, end);
      end = edit.offset + edit.length;
    }
    EXPECT_LE(end, c.line.size());
  }
}

}  // namespace
}  // namespace marlint::testing
