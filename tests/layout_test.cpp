#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

// The rooms of the source tree and the order they build on each other: a
// room includes only rooms below it, and a client only the public header
// and its own room. An include that runs back up fails here, naming it.

namespace marlint::testing {
namespace {

namespace fs = std::filesystem;

// Ground up.
constexpr std::array<std::string_view, 6> kLibraryRooms = {"input",  "vocab",   "run",
                                                           "checks", "explain", "api"};
constexpr std::array<std::string_view, 2> kClientRooms = {"cli", "web/binding"};
constexpr std::string_view kPublicRoom = "marlint";

int libraryRankOf(std::string_view room) {
  const auto found = std::find(kLibraryRooms.begin(), kLibraryRooms.end(), room);
  return found == kLibraryRooms.end() ? -1 : static_cast<int>(found - kLibraryRooms.begin());
}

// The room of each project include in `source` ("checks" for
// #include "checks/point_rows.h"), in the order they appear.
std::vector<std::string> includedRoomsOf(const fs::path& source) {
  std::ifstream in(source, std::ios::binary);
  std::vector<std::string> rooms;
  std::string line;
  constexpr std::string_view kInclude = "#include \"";
  while (std::getline(in, line)) {
    if (line.compare(0, kInclude.size(), kInclude) != 0) {
      continue;
    }
    const std::string path =
        line.substr(kInclude.size(), line.find('"', kInclude.size()) - kInclude.size());
    rooms.push_back(path.substr(0, path.find('/')));
  }
  return rooms;
}

template <typename Visit>
void forEachSource(const std::string& room, Visit visit) {
  const fs::path folder = fs::path(MARLINT_SOURCE_DIR) / room;
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".cpp" || extension == ".h") {
      visit(entry.path());
    }
  }
}

TEST(Layout, NoIncludeRunsBackUp) {
  for (const std::string_view room : kLibraryRooms) {
    const int rank = libraryRankOf(room);
    forEachSource(std::string(room), [&](const fs::path& source) {
      for (const std::string& included : includedRoomsOf(source)) {
        const int includedRank = libraryRankOf(included);
        EXPECT_TRUE(included == kPublicRoom || (includedRank >= 0 && includedRank <= rank))
            << source.filename().string() << " in " << room << "/ includes " << included
            << "/, which is not below it";
      }
    });
  }
}

TEST(Layout, ClientsIncludeOnlyThePublicHeaderAndTheirOwnRoom) {
  for (const std::string_view room : kClientRooms) {
    const std::string_view ownRoom = room.substr(0, room.find('/'));
    forEachSource(std::string(room), [&](const fs::path& source) {
      for (const std::string& included : includedRoomsOf(source)) {
        EXPECT_TRUE(included == kPublicRoom || included == ownRoom)
            << source.filename().string() << " in " << room << "/ includes " << included << "/";
      }
    });
  }
}

}  // namespace
}  // namespace marlint::testing
