// Replays kept inputs of a fuzz target (crashes once found, and seeds) through
// its entry in an ordinary program: every configuration runs them as a test.
// Arguments are files or folders of files. No input at all is a skip (77).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/fuzz/fuzz_target.h"

namespace {

void Replay(const std::filesystem::path& file, int* count) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::printf("%s (%zu bytes)\n", file.string().c_str(), bytes.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  ++*count;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      for (const auto& file : files) Replay(file, &count);
    } else if (std::filesystem::is_regular_file(path, error)) {
      Replay(path, &count);
    }
  }
  std::printf("%d input(s) replayed\n", count);
  return count == 0 ? 77 : 0;
}
