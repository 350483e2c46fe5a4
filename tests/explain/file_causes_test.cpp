#include "explain/file_causes.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace marlint::testing
