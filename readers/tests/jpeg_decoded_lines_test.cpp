// The decoded-lines file: its layout, and when the fixed file is reused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/jpeg/jpeg_decoded_lines.h"

namespace {

struct Layout {
  std::vector<uint8_t> info = std::vector<uint8_t>(kDecodedLinesInfoBytes);
  DecodedLinesLayout layout;
  Layout() {
    for (size_t i = 0; i < info.size(); ++i) info[i] = static_cast<uint8_t>(i * 3);
    layout = DecodedLinesLayout{"C:\\bilder\\foto.jpg", info.data(), FileStamp{1234, 5678, 0, 0}, 0x1122334455667788ull, 6, 4};
  }
};

std::vector<uint8_t> Line(uint32_t line) { return std::vector<uint8_t>(6, static_cast<uint8_t>(line * 11)); }

void WriteAllLines(DecodedLinesFile& file) {
  for (uint32_t line = 1; line <= 4; ++line) ASSERT_TRUE(file.WriteLine(line, Line(line).data()));
}

class DecodedLines : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileAt(FixedDecodedLinesPath().c_str()); }
  void TearDown() override { DeleteFileAt(FixedDecodedLinesPath().c_str()); }
  Layout l;
};

TEST_F(DecodedLines, HeaderIsPathThenInformationThenLineRecords) {
  DecodedLinesFile file;
  ASSERT_TRUE(file.Open(false, l.layout));
  WriteAllLines(file);
  ASSERT_TRUE(file.MarkComplete());
  file.Close();

  FileHandle raw = OpenFileForReading(FixedDecodedLinesPath().c_str());
  ASSERT_NE(raw, nullptr);
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(raw, &size));
  EXPECT_EQ(size, 1300u + 4 * 6 + 24);
  std::vector<uint8_t> header(1300);
  ASSERT_TRUE(ReadBytesAt(raw, 0, header.data(), 1300));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header.data())), "C:\\bilder\\foto.jpg");
  EXPECT_EQ(header[255], 0);
  EXPECT_EQ(std::vector<uint8_t>(header.begin() + 256, header.end()), l.info);
  std::vector<uint8_t> third(6);
  ASSERT_TRUE(ReadBytesAt(raw, 1300 + 2 * 6, third.data(), 6));
  EXPECT_EQ(third, Line(3));
  CloseFile(raw);
}

TEST_F(DecodedLines, CompleteMatchingFileIsReusedAndServesLines) {
  {
    DecodedLinesFile file;
    ASSERT_TRUE(file.Open(false, l.layout));
    WriteAllLines(file);
    ASSERT_TRUE(file.MarkComplete());
  }
  DecodedLinesFile again;
  ASSERT_TRUE(again.Open(false, l.layout));
  EXPECT_TRUE(again.IsComplete());
  std::vector<uint8_t> line(6);
  ASSERT_TRUE(again.ReadLine(2, line.data()));
  EXPECT_EQ(line, Line(2));
  EXPECT_FALSE(again.ReadLine(5, line.data()));
  EXPECT_FALSE(again.ReadLine(0, line.data()));
}

// A changed source file, other information, other corrections or a decode
// that stopped short all make the fixed file start anew.
TEST_F(DecodedLines, StaleOrIncompleteFilesAreNotReused) {
  {
    DecodedLinesFile file;
    ASSERT_TRUE(file.Open(false, l.layout));
    WriteAllLines(file);
    ASSERT_TRUE(file.MarkComplete());
  }
  Layout rewritten;
  rewritten.layout.stamp.timeLow += 1;
  DecodedLinesFile file;
  ASSERT_TRUE(file.Open(false, rewritten.layout));
  EXPECT_FALSE(file.IsComplete());
  file.Close();

  {
    DecodedLinesFile complete;
    ASSERT_TRUE(complete.Open(false, l.layout));
    WriteAllLines(complete);
    ASSERT_TRUE(complete.MarkComplete());
  }
  Layout regamma;
  regamma.layout.corrections += 1;
  DecodedLinesFile corrected;
  ASSERT_TRUE(corrected.Open(false, regamma.layout));
  EXPECT_FALSE(corrected.IsComplete());
  corrected.Close();

  DecodedLinesFile incomplete;
  ASSERT_TRUE(incomplete.Open(false, l.layout));
  ASSERT_TRUE(incomplete.WriteLine(1, Line(1).data()));
  ASSERT_TRUE(incomplete.WriteLine(2, Line(2).data()));
  ASSERT_TRUE(incomplete.WriteLine(3, Line(3).data()));
  incomplete.Close();
  EXPECT_FALSE(FileExists(FixedDecodedLinesPath().c_str()));

  Layout otherInfo;
  otherInfo.info[0] ^= 1;
  {
    DecodedLinesFile file2;
    ASSERT_TRUE(file2.Open(false, l.layout));
    WriteAllLines(file2);
    ASSERT_TRUE(file2.MarkComplete());
  }
  DecodedLinesFile file3;
  ASSERT_TRUE(file3.Open(false, otherInfo.layout));
  EXPECT_FALSE(file3.IsComplete());
}

TEST_F(DecodedLines, UniqueFileIsAlwaysDeleted) {
  DecodedLinesFile file;
  ASSERT_TRUE(file.Open(true, l.layout));
  WriteAllLines(file);
  ASSERT_TRUE(file.MarkComplete());
  file.Close();
  EXPECT_FALSE(FileExists(FixedDecodedLinesPath().c_str()));
}

}  // namespace
