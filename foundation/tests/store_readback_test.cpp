// Stores written by the product under Wine read back identically here: every
// store the Windows tests left behind gives the same view as it gave there,
// and has the same bytes as the store the same steps wrote in this build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "store_view.h"

namespace {

void Collect(const char* name, void* context) {
  std::string file(name);
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".prf") == 0)
    static_cast<std::vector<std::string>*>(context)->push_back(file.substr(0, file.size() - 4));
}

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(WineWrittenStores, ReadBackIdentically) {
  const char* folder = std::getenv("ZIR_WINE_STORES");
  std::vector<std::string> stores;
  if (!folder || !ForEachFileInFolder(folder, Collect, &stores) || stores.empty())
    GTEST_SKIP() << "no stores from the Windows tests (run the win32 preset's tests first)";
  for (const std::string& store : stores) {
    std::string base = std::string(folder) + "/" + store;
    std::vector<std::string> expected;
    std::ifstream view(base + ".view");
    for (std::string line; std::getline(view, line);) expected.push_back(line);
    FileHandle file = OpenFileForReading((base + ".prf").c_str());
    ASSERT_NE(file, nullptr) << store;
    EXPECT_EQ(StoreView(file), expected) << store;
    CloseFile(file);
    EXPECT_EQ(Contents(base + ".prf"), Contents("record_store_cases/" + store + ".prf")) << store;
  }
}

}  // namespace
