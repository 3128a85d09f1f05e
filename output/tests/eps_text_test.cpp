// The EPS writer's texts: the templates' comment lines and line ends, the
// placeholders as the headers fill them, the hex comment blocks decoded back,
// and the stored DCS options.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "output/app_store_access.h"
#include "output/dcs_options.h"
#include "output/eps_resources.h"
#include "output/eps_state.h"
#include "output/eps_text.h"
#include "output/tests/eps_test_support.h"
#include "output/tests/writer_test_support.h"
#include "output/tiff_layout.h"

namespace {

class EpsTextTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    ASSERT_TRUE(LoadEpsTemplates(*system_));
    ResetEpsState();
    std::strcpy(EpsTargetAt(kEpsMasterTarget).fileName, "Bild.eps");
    for (int k = 0; k < kEpsPlates; ++k) std::snprintf(EpsTargetAt(k).fileName, 260, "Bild%c.eps", "CMYK"[k]);
  }

  static EpsTextInputs Image() {
    EpsTextInputs image;
    image.columns = 300;
    image.rows = 201;
    image.channels = 4;
    image.resolutionX = 300.0;
    image.resolutionY = 300.0;
    image.time = LocalTime{5, 3, 2026, 7, 9, 30};
    image.appName = "QB ZIR v1.0";
    return image;
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
      lines.push_back(text.substr(at, end - at));
    return lines;
  }
};

// The comment lines in order; LF ends the lines, CR LF only three of them.
TEST_F(EpsTextTest, TemplatesHoldTheirCommentLinesInOrder) {
  const std::vector<std::string> head = {
      "%!PS-Adobe-3.0 EPSF-3.0", "%%Creator: ***AppName***", "%%Title: ***DocTitle***",
      "%%CreationDate: ***CreationDate***", "%%BoundingBox: ***BoundingBox***",
      "%%HiResBoundingBox: ***HiresBoundingBox***", "%%SuppressDotGainCompensation"};
  std::vector<std::string> master = head;
  for (const char* line : {"%%DocumentProcessColors: ***DocumentProcessColors***",
                           "%%DocumentCustomColors: ***DocumentCustomColors***", "%%DocumentData: Binary",
                           "***PlateFiles***", "%%EndComments", "%%BeginProlog", "%%EndProlog", "%%BeginSetup",
                           "%%EndSetup", "%ImageData: ***Cols*** ***Rows*** 8 4 1 ***Cols*** 1 \"beginimage\"\r",
                           "***ImageResources***\r", "***ICCProfile***\r"})
    master.push_back(line);
  std::string text;
  ASSERT_TRUE(LoadTextTemplate(436, &text));
  EXPECT_EQ(Lines(text), master);
  master.push_back("/dcsNoMasterIgnore pop");
  ASSERT_TRUE(LoadTextTemplate(431, &text));
  EXPECT_EQ(Lines(text), master);

  std::vector<std::string> composite = head;
  for (const char* line : {"%%DocumentProcessColors: ***DocumentProcessColors***", "%%EndComments",
                           "%%BeginProlog", "%%EndProlog", "%%BeginSetup", "%%EndSetup",
                           "%ImageData: ***Cols*** ***Rows*** 8 ***Channels*** 1 ***Cols*** 1 \"beginimage\"\r",
                           "***ImageResources***\r", "***ICCProfile***\r"})
    composite.push_back(line);
  ASSERT_TRUE(LoadTextTemplate(434, &text));
  std::vector<std::string> lines = Lines(text);
  ASSERT_GT(lines.size(), composite.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + composite.size()), composite);
  EXPECT_EQ(lines.end()[-2], "%%BeginBinary:       ***ImageSizeP11***");
  EXPECT_EQ(lines.back(), "beginimage");
  for (size_t i = composite.size(); i < lines.size(); ++i) EXPECT_EQ(lines[i].find('\r'), std::string::npos) << i;

  for (const uint32_t id : {432u, 437u}) {
    ASSERT_TRUE(LoadTextTemplate(id, &text));
    lines = Lines(text);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
    EXPECT_EQ(lines[head.size()], "%%EndComments");
    EXPECT_EQ(lines[head.size() + 5], "%ImageData: ***Cols*** ***Rows*** 8 1 0 ***Cols*** 1 \"beginimage\"");
    EXPECT_EQ(lines.end()[-2], "%%BeginBinary:     ***ImageSizeP11***");
    EXPECT_EQ(lines.back(), "beginimage");
    EXPECT_EQ(text.find('\r'), std::string::npos);
  }
  for (const uint32_t id : {433u, 435u, 438u}) {
    ASSERT_TRUE(LoadTextTemplate(id, &text));
    EXPECT_EQ(text, "\n%%EndBinary\ngrestore end\ngrestore\n");
  }
}

TEST_F(EpsTextTest, PlaceholdersAreReplacedAsCountsSay) {
  std::string text = "a ***X*** b ***X*** c ***X***";
  ReplacePlaceholder(&text, "***X***", "1", 1);
  EXPECT_EQ(text, "a 1 b ***X*** c ***X***");
  ReplacePlaceholder(&text, "***X***", "***X***+", 0);
  EXPECT_EQ(text, "a 1 b ***X***+ c ***X***+");
  ReplacePlaceholderNumber(&text, "***X***", -42, 0);
  EXPECT_EQ(text, "a 1 b -42+ c -42+");

  EXPECT_EQ(FormatEpsDate(LocalTime{5, 3, 2026, 7, 9, 59}), "05.03.2026  07:09");
  EpsTextInputs image = Image();
  image.columns = 301;  // 72.24 points
  image.rows = 202;     // 48.48
  EXPECT_EQ(FormatBoundingBox(image, false), "0 0 72 48");
  EXPECT_EQ(FormatBoundingBox(image, true), "0.0000 0.0000 72.2400 48.4800");
  image.rows = 203;  // 48.72 rounds up
  EXPECT_EQ(FormatBoundingBox(image, false), "0 0 72 49");
}

TEST_F(EpsTextTest, HeadersFillEveryPlaceholder) {
  EpsTextInputs image = Image();
  std::string text;
  ASSERT_TRUE(BuildEpsCompositeHeader(image, &text));
  EXPECT_EQ(text.find("***"), std::string::npos);
  EXPECT_NE(text.find("%%Creator: QB ZIR v1.0\n%%Title: Bild.eps\n%%CreationDate: 05.03.2026  07:09\n"
                      "%%BoundingBox: 0 0 72 48\n%%HiResBoundingBox: 0.0000 0.0000 72.0000 48.2400\n"),
            std::string::npos);
  EXPECT_NE(text.find("%%DocumentProcessColors:  Cyan Magenta Yellow Black\n"), std::string::npos);
  EXPECT_NE(text.find("%ImageData: 300 201 8 4 1 300 1 \"beginimage\"\r\n\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("%%BeginBinary:       301511\n"), std::string::npos);  // 5 x 300 x 201 + 11
  image.channels = 3;
  ASSERT_TRUE(BuildEpsCompositeHeader(image, &text));
  EXPECT_NE(text.find("%%DocumentProcessColors: \n"), std::string::npos);
  EXPECT_NE(text.find("%%BeginBinary:       241211\n"), std::string::npos);  // 4 x 300 x 201 + 11

  ASSERT_TRUE(BuildDcsSingleFilePlateHeader(image, 1, &text));
  EXPECT_NE(text.find("%%Title: BildM.eps (Magenta)\n"), std::string::npos);
  EXPECT_NE(text.find("%%BeginBinary:     60311\n"), std::string::npos);
  EXPECT_EQ(text.find("***"), std::string::npos);
  ASSERT_TRUE(BuildDcsPlateFileHeader(image, 3, &text));
  EXPECT_NE(text.find("%%Title: BildK.eps\n"), std::string::npos);

  image.resources = "%BeginPhotoshop: R\r\n";
  image.profile = "%%BeginICCProfile: P\r\n";
  ASSERT_TRUE(BuildDcsMultiFileMaster(image, &text));
  EXPECT_NE(text.find("%%DocumentData: Binary\n"
                      "%%PlateFile: (Cyan) EPS Local BildC.eps\r%%PlateFile: (Magenta) EPS Local BildM.eps\r"
                      "%%PlateFile: (Yellow) EPS Local BildY.eps\r%%PlateFile: (Black) EPS Local BildK.eps\r"
                      "%%CyanPlate: BildC.eps\r%%MagentaPlate: BildM.eps\r%%YellowPlate: BildY.eps\r"
                      "%%BlackPlate: BildK.eps\r\n%%EndComments\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"beginimage\"\r\n%BeginPhotoshop: R\r\n\r\n%%BeginICCProfile: P\r\n\r\n"), std::string::npos);
  ASSERT_TRUE(BuildDcsSingleFileMaster(image, &text));
  EXPECT_NE(text.find("%%PlateFile: (Cyan) EPS #***PlOff*** ***PlSize***\r%%PlateFile: (Magenta) EPS #"),
            std::string::npos);
  EXPECT_NE(text.find("%%PlateFile: (Black) EPS #***PlOff*** ***PlSize***\r\n%%EndComments\n"), std::string::npos);
}

// "% " lines of 32 bytes in upper-case hex with CR LF, decoded back to the bytes.
TEST_F(EpsTextTest, HexBlocksDecodeToTheirBytes) {
  std::vector<uint8_t> profile(70);
  for (size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<uint8_t>(i * 37 + 250);
  std::string block;
  EXPECT_FALSE(BuildIccProfileBlock(nullptr, 0, &block));
  ASSERT_TRUE(BuildIccProfileBlock(profile.data(), 70, &block));
  EXPECT_EQ(block.compare(0, 47, "%%BeginICCProfile: (Photoshop Profile) -1 Hex\r\n"), 0);
  EXPECT_EQ(block.substr(block.size() - 17), "%%EndICCProfile\r\n");
  EXPECT_EQ(DecodeHexLines(block), profile);
  EXPECT_EQ(block.size(), 47 + (70 + 2 * 3) * 2 + 17u);
  EXPECT_EQ(block.substr(47, block.size() - 47 - 17).find_first_of("abcdef"), std::string::npos);

  // Without a thumbnail, paths or IPTC the resources hold the resolution alone.
  ASSERT_TRUE(BuildImageResourcesBlock(PanePreview{}, 300, &block));
  EXPECT_EQ(block.compare(0, 27, "%BeginPhotoshop:       28\r\n"), 0);
  EXPECT_EQ(block.substr(block.size() - 15), "%EndPhotoshop\r\n");
  const std::vector<uint8_t> bytes = DecodeHexLines(block);
  ASSERT_EQ(bytes.size(), 28u);
  EXPECT_EQ(std::memcmp(bytes.data(), "8BIM\x03\xED\0\0\0\0\0\x10", 12), 0);
  const uint8_t resolution[16] = {0x01, 0x2C, 0, 0, 0, 1, 0, 1, 0x01, 0x2C, 0, 0, 0, 1, 0, 1};
  EXPECT_EQ(std::memcmp(bytes.data() + 12, resolution, 16), 0);
}

// A thumbnail comes first, as resource 1033 with its JPEG.
TEST_F(EpsTextTest, TheThumbnailLeadsTheResources) {
  const int width = 9, height = 7, stride = (width * 24 + 31) / 32 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * height, 90);
  PanePreview preview;
  preview.thumbnailRect = WinRect{0, 0, width, height};
  preview.thumbnail = rows.data();
  std::string block;
  ASSERT_TRUE(BuildImageResourcesBlock(preview, 72, &block));
  const std::vector<uint8_t> bytes = DecodeHexLines(block);
  ASSERT_GT(bytes.size(), 40u + 28u);
  EXPECT_EQ(std::memcmp(bytes.data(), "8BIM\x04\x09\0\0", 8), 0);
  const uint32_t size = Be32(&bytes[8]);
  EXPECT_EQ(size % 2, 0u);
  EXPECT_EQ(Be32(&bytes[12]), 1u);
  EXPECT_EQ(Be32(&bytes[16]), static_cast<uint32_t>(width));
  EXPECT_EQ(Be32(&bytes[32]), size - 28);
  EXPECT_EQ(bytes[40], 0xFF);
  EXPECT_EQ(bytes[41], 0xD8);
  ASSERT_EQ(bytes.size(), 12 + size + 28u);
  EXPECT_EQ(std::memcmp(&bytes[12 + size], "8BIM\x03\xED", 6), 0);
}

TEST_F(EpsTextTest, DcsOptionsAreStoredAndAForeignVersionIsIgnored) {
  DcsOptions options;
  WithAppStore([](FileHandle store) { return RecordStoreDelete(store, kDcsOptionsType, kDcsOptionsId); });
  LoadDcsOptions(&options);
  EXPECT_EQ(options.version, 1);
  EXPECT_EQ(options.separateFiles, 0);
  ASSERT_TRUE(SaveDcsOptions(DcsOptions{1, 1, 0}));
  LoadDcsOptions(&options);
  EXPECT_EQ(options.separateFiles, 1);
  char name[64] = {};
  ASSERT_TRUE(WithAppStore([&name](FileHandle store) {
    return RecordStoreNameById(store, kDcsOptionsType, kDcsOptionsId, name);
  }));
  EXPECT_STREQ(name, "DCSOptions");
  ASSERT_TRUE(SaveDcsOptions(DcsOptions{2, 1, 0}));
  LoadDcsOptions(&options);
  EXPECT_EQ(options.version, 1);
  EXPECT_EQ(options.separateFiles, 0);
  const uint8_t shortRecord[3] = {1, 0, 1};
  ASSERT_TRUE(WithAppStore([&shortRecord](FileHandle store) {
    return RecordStoreAdd(store, kDcsOptionsType, kDcsOptionsId, shortRecord, 3, "DCSOptions");
  }));
  LoadDcsOptions(&options);
  EXPECT_EQ(options.separateFiles, 0);
}

// Targets collect small writes in their buffer and put them at their place in
// the area; a write larger than the buffer goes straight behind what is held.
TEST_F(EpsTextTest, BufferedTargetsWriteAtTheirAreasPlace) {
  const std::string path = Scratch("target.bin");
  DeleteFileAt(path.c_str());
  FileHandle file = OpenFileReadWrite(path.c_str());
  ASSERT_NE(file, nullptr);
  BeginBufferedTarget(kEpsMasterTarget, file, 100);
  const BufferedTarget& target = EpsTargetAt(kEpsMasterTarget).target;
  ASSERT_NE(target.buffer, nullptr);
  EXPECT_EQ(target.capacity, kEpsTargetBufferBytes);
  const uint8_t small[3] = {1, 2, 3};
  EXPECT_TRUE(BufferedWrite(kEpsMasterTarget, small, 3));
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(file, &size));
  EXPECT_EQ(size, 0u) << "held in the buffer";
  std::vector<uint8_t> large(kEpsTargetBufferBytes + 1, 7);
  EXPECT_TRUE(BufferedWrite(kEpsMasterTarget, large.data(), static_cast<uint32_t>(large.size())));
  EXPECT_TRUE(BufferedWrite(kEpsMasterTarget, small, 3));
  EndBufferedTarget(kEpsMasterTarget);
  EXPECT_EQ(target.buffer, nullptr);
  ASSERT_TRUE(GetFileSize(file, &size));
  ASSERT_EQ(size, 100u + 3 + large.size() + 3);
  std::vector<uint8_t> back(static_cast<size_t>(size));
  ASSERT_TRUE(ReadBytesAt(file, 0, back.data(), static_cast<uint32_t>(size)));
  EXPECT_EQ(back[100], 1);
  EXPECT_EQ(back[102], 3);
  EXPECT_EQ(back[103], 7);
  EXPECT_EQ(back[103 + large.size() - 1], 7);
  EXPECT_EQ(back[103 + large.size()], 1);
  CloseFile(file);
  DeleteFileAt(path.c_str());
  // No file: nothing is written and the write fails.
  ResetEpsState();
  EXPECT_FALSE(WriteAtPosition(0, small, 3));
}

}  // namespace
