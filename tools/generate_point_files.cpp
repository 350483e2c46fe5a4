#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "tools/point_file_generator.h"

// Writes random point files into a directory: valid ones and, for every
// fault kind, files with that one fault. Each point file NAME.csv gets a
// NAME.expected beside it holding the result text it must give, unless
// --no-expected is given (for a fuzz seed corpus).

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// A whole decimal number, or nothing.
std::optional<unsigned long> parseCount(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
      text.size() > 9) {
    return std::nullopt;
  }
  return std::stoul(text);
}

}  // namespace

int main(int argc, char** argv) {
  const bool withExpected = !(argc == 5 && std::string(argv[4]) == "--no-expected");
  const std::optional<unsigned long> filesPerKind = argc >= 4 ? parseCount(argv[2]) : std::nullopt;
  const std::optional<unsigned long> seed = argc >= 4 ? parseCount(argv[3]) : std::nullopt;
  if ((argc != 4 && withExpected) || !filesPerKind || !seed) {
    std::fprintf(stderr, "usage: %s DIRECTORY FILES_PER_KIND SEED [--no-expected]\n", argv[0]);
    return 2;
  }
  const std::string directory = argv[1];
  marlint::generator::PointFileGenerator generator(static_cast<std::uint32_t>(*seed));

  const auto emit = [&](const std::string& name, const marlint::generator::GeneratedFile& file) {
    writeFile(directory + "/" + name + ".csv", file.bytes);
    if (withExpected) {
      writeFile(directory + "/" + name + ".expected", file.expectedResult);
    }
  };
  for (unsigned long i = 0; i < *filesPerKind; ++i) {
    emit("valid-" + std::to_string(i), generator.validFile());
    for (const marlint::generator::Fault fault : marlint::generator::allFaults()) {
      emit(std::string(marlint::generator::faultName(fault)) + "-" + std::to_string(i),
           generator.fileWithFault(fault));
    }
  }
  return 0;
}
