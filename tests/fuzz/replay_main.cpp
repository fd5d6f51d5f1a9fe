// Runs a fuzz harness once over every file of the given folders (or the given
// files), so the native build tests the harnesses on their seed corpus
// without libFuzzer. Fails when no input was found at all.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.hpp"

namespace fs = std::filesystem;

namespace {

// The files named, folders expanded to their regular files, sorted so every
// run replays them in the same order.
std::vector<fs::path> InputFiles(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int at = 1; at < argc; ++at) {
    const fs::path path = argv[at];
    if (!fs::is_directory(path)) {
      files.push_back(path);
      continue;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> files = InputFiles(argc, argv);
  if (files.empty()) {
    std::cerr << "replay: no input files\n";
    return 1;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::cerr << "replay: cannot read " << file << "\n";
      return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::cout << "replay: " << file.filename().string() << " (" << bytes.size() << " bytes)\n";
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << "replay: " << files.size() << " inputs, no fault\n";
  return 0;
}
