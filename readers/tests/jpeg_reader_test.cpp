// The JPEG reader over files of each build's cjpeg: samples against djpeg of
// the same build, header answers, profiles, resources, damaged files and the
// decoded-lines file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "readers/jpeg/jpeg_decoded_lines.h"
#include "readers/jpeg/jpeg_reader.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "readers/tests/pnm_file.h"
#include "tone/gamma_tables.h"

namespace {

// Shows the profile that the base class keeps.
class ProfileReader : public JpegReader {
 public:
  using JpegReader::JpegReader;
  const std::vector<uint8_t>& Profile() const { return profileData_; }
};

std::vector<std::string> gShown;
void RecordMessage(const char* text) { gShown.push_back(text); }

class JpegReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSink_ = SetJpegMessageSink(RecordMessage);
    gShown.clear();
    DeleteFileAt(FixedDecodedLinesPath().c_str());
  }
  void TearDown() override {
    SetJpegMessageSink(previousSink_);
    DeleteFileAt(FixedDecodedLinesPath().c_str());
  }

 private:
  JpegMessageSink previousSink_ = nullptr;
};

std::vector<int> Line(ImageFileReader& reader, uint32_t line, int channel, uint32_t width, int depth) {
  std::vector<uint16_t> words(width);
  std::vector<uint8_t> bytes(width);
  int32_t count = static_cast<int32_t>(width);
  void* buffer = depth == 16 ? static_cast<void*>(words.data()) : bytes.data();
  EXPECT_EQ(reader.ReadLineSamples(line, 0, channel, buffer, &count), kReaderOk) << "line " << line;
  return depth == 16 ? std::vector<int>(words.begin(), words.end()) : std::vector<int>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> ReadWhole(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path, "rb");
  for (int c; f && (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
  if (f) std::fclose(f);
  return bytes;
}

void CopyFile(const char* from, const char* to) {
  std::vector<uint8_t> bytes = ReadWhole(from);
  FILE* f = std::fopen(to, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The lines in a scattered order must match djpeg of the same build.
void ExpectLinesLike(ImageFileReader& reader, const ImageFileInfo& info, const PnmImage& reference, int shift) {
  const int depth = info.bitsPerSample;
  std::vector<uint32_t> order;
  for (uint32_t line = info.height; line > info.height / 2; --line) order.push_back(line);
  for (uint32_t line = 1; line <= info.height / 2; ++line) order.push_back(line);
  for (uint32_t line : order) {
    for (int channel = 0; channel < reference.channels; ++channel) {
      std::vector<int> samples = Line(reader, line, channel, info.width, depth);
      for (uint32_t x = 0; x < info.width; ++x) {
        size_t at = ((size_t{line} - 1) * info.width + x) * reference.channels + channel;
        ASSERT_EQ(samples[x], reference.samples[at] << shift) << "line " << line << " channel " << channel;
      }
    }
  }
}

struct PixelCase {
  const char* file;
  const char* reference;
  uint16_t targetSize;
  uint32_t bandBytes;
  uint16_t bits;
};

class JpegPixels : public JpegReaderTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(JpegPixels, MatchDjpegOfTheSameBuild) {
  const PixelCase& c = GetParam();
  PnmImage reference;
  ASSERT_TRUE(ReadPnm(c.reference, &reference));
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(c.file, static_cast<int16_t>(c.targetSize), false);
  ASSERT_NE(dynamic_cast<JpegReader*>(reader.get()), nullptr);
  ImageFileInfo info;
  ASSERT_EQ(reader->ReadHeader(&info), kReaderOk);
  EXPECT_EQ(int(info.width), reference.width);
  EXPECT_EQ(int(info.height), reference.height);
  EXPECT_EQ(info.samplesPerPixel, reference.channels);
  EXPECT_EQ(info.bitsPerSample, c.bits);
  EXPECT_EQ(reader->IsHighBitDepth(), c.bits == 16);
  reader->SetOutputDepth(c.bits);
  ASSERT_EQ(reader->StartReading(c.bandBytes), kReaderOk);
  // 12-bit samples come as 16-bit ones.
  ExpectLinesLike(*reader, info, reference, c.bits == 16 ? 4 : 0);
  reader->FinishReading();
  EXPECT_TRUE(gShown.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, JpegPixels,
                         ::testing::Values(PixelCase{"rgb8.jpg", "rgb8.ref.pnm", 0, 0, 8},
                                           PixelCase{"grey8.jpg", "grey8.ref.pnm", 0, 65536, 8},
                                           PixelCase{"rgb12.jpg", "rgb12.ref.pnm", 0, 65536, 16},
                                           PixelCase{"grey12.jpg", "grey12.ref.pnm", 0, 0, 16},
                                           PixelCase{"icc12.jpg", "rgb12.ref.pnm", 0, 0, 16},
                                           PixelCase{"progressive8.jpg", "progressive8.ref.pnm", 0, 65536, 8},
                                           PixelCase{"big8.jpg", "big8.quarter.ref.pnm", 60, 65536, 8}));

TEST_F(JpegReaderTest, PrecisionProbeChoosesTheBuild) {
  EXPECT_EQ(JpegReader("rgb12.jpg", 0).Precision(), 12);
  EXPECT_EQ(JpegReader("rgb8.jpg", 0).Precision(), 8);
  EXPECT_EQ(JpegReader("notjpeg.jpg", 0).Precision(), 8);
  EXPECT_FALSE(JpegReader("missing.jpg", 0).ImageReaderIsOpen());
  EXPECT_TRUE(gShown.empty()) << "the probe shows nothing";
}

struct HeaderCase {
  const char* file;
  uint16_t targetSize;
  int16_t id;
  uint32_t dpi;
};

class JpegHeaders : public JpegReaderTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(JpegHeaders, GiveTheirIdAndResolution) {
  const HeaderCase& c = GetParam();
  JpegReader reader(c.file, c.targetSize);
  ImageFileInfo info{};
  ASSERT_EQ(reader.ReadHeader(&info), c.id);
  if (c.id == kReaderOk) {
    EXPECT_EQ(info.xResolution, c.dpi);
    EXPECT_EQ(info.yResolution, c.dpi);
    EXPECT_STREQ(info.documentName, "");
    EXPECT_STREQ(info.artist, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegHeaders,
                         ::testing::Values(HeaderCase{"rgb8.jpg", 0, kReaderOk, 72},
                                           HeaderCase{"density118.jpg", 0, kReaderOk, 300},
                                           HeaderCase{"big8.jpg", 60, kReaderOk, 18},
                                           HeaderCase{"cmyk8.jpg", 0, kErrBadPhotometric, 0},
                                           HeaderCase{"empty.jpg", 0, 1, 0}, HeaderCase{"notjpeg.jpg", 0, 1, 0},
                                           HeaderCase{"headeronly8.jpg", 0, 1, 0},
                                           HeaderCase{"zerowidth8.jpg", 0, 1, 0},
                                           HeaderCase{"precision16.jpg", 0, 1, 0},
                                           HeaderCase{"missing.jpg", 0, 1, 0}));

TEST_F(JpegReaderTest, CmykIsRefusedWhenReadingStarts) {
  JpegReader reader("cmyk8.jpg", 0);
  EXPECT_EQ(reader.StartReading(65536), kErrBadPhotometric);
}

// Damaged files end with an id, never with a crash or a hang.
class JpegDamaged : public JpegReaderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(JpegDamaged, ReadWholeOrFailWithAnId) {
  JpegReader reader(GetParam(), 0);
  ImageFileInfo info;
  int16_t header = reader.ReadHeader(&info);
  int16_t start = reader.StartReading(65536);
  if (header != kReaderOk || start != kReaderOk) {
    EXPECT_NE(start, kReaderOk);
    EXPECT_FALSE(gShown.empty()) << "a full-size reader shows the library's message";
    return;
  }
  std::vector<uint8_t> buffer(info.width);
  for (uint32_t line = 1; line <= info.height; ++line) {
    int32_t count = static_cast<int32_t>(info.width);
    int16_t id = reader.ReadLineSamples(line, 0, 0, buffer.data(), &count);
    ASSERT_TRUE(id == kReaderOk || id == 1) << id;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegDamaged,
                         ::testing::Values("empty.jpg", "notjpeg.jpg", "headeronly8.jpg", "truncated8.jpg",
                                           "garbled8.jpg", "zerowidth8.jpg", "precision16.jpg", "thumbbad.jpg"));

// Counts the lines that read from the first on, and expects every line past
// them to fail as well.
uint32_t ReadableLines(ImageFileReader& reader, const ImageFileInfo& info) {
  std::vector<uint8_t> buffer(info.width);
  uint32_t readable = 0;
  for (uint32_t line = 1; line <= info.height; ++line) {
    int32_t count = static_cast<int32_t>(info.width);
    const int16_t id = reader.ReadLineSamples(line, 0, 0, buffer.data(), &count);
    if (id == kReaderOk && readable == line - 1) readable = line;
    if (line > readable) {
      EXPECT_EQ(id, kErrGeneralData) << "line " << line;
    }
  }
  return readable;
}

void ExpectLinesMatch(ImageFileReader& reader, const ImageFileInfo& info, const PnmImage& reference,
                      uint32_t first, uint32_t last) {
  for (uint32_t line = first; line <= last; ++line) {
    for (int channel = 0; channel < reference.channels; ++channel) {
      std::vector<int> samples = Line(reader, line, channel, info.width, 8);
      for (uint32_t x = 0; x < info.width; ++x) {
        const size_t at = ((size_t{line} - 1) * info.width + x) * reference.channels + channel;
        ASSERT_EQ(samples[x], reference.samples[at]) << "line " << line << " channel " << channel;
      }
    }
  }
}

// Where a single-scan file's data ends, its lines end a little below: the
// library would go on building lines from nothing down to the height the
// header claims, which for a damaged header is up to 65535 lines.
TEST_F(JpegReaderTest, CutDataEndsTheLinesBelowIt) {
  PnmImage reference;
  ASSERT_TRUE(ReadPnm("big8.ref.pnm", &reference));
  JpegReader reader("cut_big8.jpg", 0);
  ImageFileInfo info;
  ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
  ASSERT_EQ(reader.StartReading(65536), kReaderOk);
  const uint32_t readable = ReadableLines(reader, info);
  EXPECT_GT(readable, info.height / 3);
  EXPECT_LT(readable, info.height);
  // The rows decoded before the data ran out are the file's own.
  ExpectLinesMatch(reader, info, reference, 1, readable - 64);
}

// A restart marker met early ends only its own interval's data.
TEST_F(JpegReaderTest, DataLostBeforeARestartMarkerResumesAfterIt) {
  PnmImage reference;
  ASSERT_TRUE(ReadPnm("restart8.ref.pnm", &reference));
  JpegReader reader("restart_gap8.jpg", 0);
  ImageFileInfo info;
  ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
  ASSERT_EQ(reader.StartReading(65536), kReaderOk);
  EXPECT_EQ(ReadableLines(reader, info), info.height);
  ExpectLinesMatch(reader, info, reference, info.height / 2, info.height);
}

TEST_F(JpegReaderTest, ReducedReadersShowNoMessages) {
  JpegReader reader("notjpeg.jpg", 100);
  EXPECT_EQ(reader.ReadHeader(nullptr), 1);
  EXPECT_EQ(reader.StartReading(0), 1);
  EXPECT_TRUE(gShown.empty());
}

TEST_F(JpegReaderTest, LineChannelAndCountRules) {
  JpegReader reader("grey8.jpg", 0);
  ImageFileInfo info;
  ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
  uint8_t buffer[100];
  int32_t count = 10;
  EXPECT_EQ(reader.ReadLineSamples(1, 0, 0, buffer, &count), kErrGeneralData) << "before StartReading";
  ASSERT_EQ(reader.StartReading(0), kReaderOk);
  EXPECT_EQ(Line(reader, 9, 2, info.width, 8), Line(reader, 9, 0, info.width, 8));
  count = 100;
  ASSERT_EQ(reader.ReadLineSamples(2, 50, 0, buffer, &count), kReaderOk);
  EXPECT_EQ(count, int32_t(info.width) - 50);
  count = 10;
  EXPECT_EQ(reader.ReadLineSamples(0, 0, 0, buffer, &count), kErrGeneralData);
  EXPECT_EQ(reader.ReadLineSamples(info.height + 1, 0, 0, buffer, &count), kErrGeneralData);
}

struct ProfileCase {
  const char* file;
  bool present;
};

class JpegProfiles : public JpegReaderTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(JpegProfiles, OnlyWholeChunkSetsAreUsed) {
  ProfileReader reader(GetParam().file, 0);
  ASSERT_EQ(reader.ReadHeader(nullptr), kReaderOk);
  if (GetParam().present) {
    EXPECT_TRUE(reader.Profile() == ReadWhole("profile.icc"));
  } else {
    EXPECT_TRUE(reader.Profile().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegProfiles,
                         ::testing::Values(ProfileCase{"icc8.jpg", true}, ProfileCase{"icc12.jpg", true},
                                           ProfileCase{"icc_gap8.jpg", false}, ProfileCase{"icc_short8.jpg", false},
                                           ProfileCase{"rgb8.jpg", false}));

TEST_F(JpegReaderTest, ImageResourcesComeFromAppThirteen) {
  JpegReader reader("app13.jpg", 0);
  ASSERT_EQ(reader.ReadHeader(nullptr), kReaderOk);
  uint8_t name[256] = {0xFF};
  std::vector<uint8_t> iptc = reader.ReadImageResource(1028, name);
  EXPECT_EQ(std::string(iptc.begin(), iptc.end()), "IPTC-DATA");
  EXPECT_EQ(name[0], 0);
  std::vector<uint8_t> odd = reader.ReadImageResource(1000, nullptr);
  EXPECT_EQ(std::string(odd.begin(), odd.end()), "abc");
  EXPECT_TRUE(reader.ReadImageResource(1033, nullptr).empty());
  EXPECT_TRUE(JpegReader("rgb8.jpg", 0).ReadImageResource(1028, nullptr).empty());
}

// The fixed decoded-lines file serves a later reader only when it is
// complete and belongs to the same file as it is now.
TEST_F(JpegReaderTest, FixedFileIsReusedOnlyWhenCompleteAndCurrent) {
  PnmImage first;
  PnmImage second;
  ASSERT_TRUE(ReadPnm("rgb8.ref.pnm", &first));
  ASSERT_TRUE(ReadPnm("other8.ref.pnm", &second));
  CopyFile("rgb8.jpg", "cache.jpg");
  ImageFileInfo info;
  {
    JpegReader reader("cache.jpg", 0);
    ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
    ASSERT_EQ(reader.StartReading(65536), kReaderOk);
    ExpectLinesLike(reader, info, first, 0);
  }
  // Its header: the path, then the reader's image information.
  std::vector<uint8_t> cached = ReadWhole(FixedDecodedLinesPath().c_str());
  ASSERT_GE(cached.size(), 1300u + size_t{info.height} * info.width * 3);
  EXPECT_STREQ(reinterpret_cast<const char*>(cached.data()), "cache.jpg");
  EXPECT_EQ(std::memcmp(cached.data() + 256, &info, sizeof info), 0);
  EXPECT_EQ(cached[1300 + info.width], first.samples[1]) << "line 1 holds the red plane, then green";
  {
    JpegReader reader("cache.jpg", 0);
    ASSERT_EQ(reader.StartReading(65536), kReaderOk);
    ExpectLinesLike(reader, info, first, 0);
  }
  // Rewritten in place with the same size and depth.
  CopyFile("other8.jpg", "cache.jpg");
  {
    JpegReader reader("cache.jpg", 0);
    ASSERT_EQ(reader.StartReading(65536), kReaderOk);
    ExpectLinesLike(reader, info, second, 0);
  }
  // A decode that stopped short leaves no file behind.
  DeleteFileAt(FixedDecodedLinesPath().c_str());
  {
    JpegReader reader("cache.jpg", 0);
    ASSERT_EQ(reader.StartReading(65536), kReaderOk);
    Line(reader, info.height - 1, 0, info.width, 8);
  }
  EXPECT_FALSE(FileExists(FixedDecodedLinesPath().c_str()));
}

// The stored lines of a 12-bit file are already through the gamma tables: a
// changed gamma must decode afresh, not serve the lines of the old one.
TEST_F(JpegReaderTest, FixedFileIsNotReusedUnderAnotherGamma) {
  const double previous = CurrentGamma();
  auto firstLine = [](double gamma) {
    SetCurrentGamma(gamma);
    JpegReader reader("rgb12.jpg", 0);
    ImageFileInfo info;
    EXPECT_EQ(reader.ReadHeader(&info), kReaderOk);
    EXPECT_EQ(reader.StartReading(65536), kReaderOk);
    std::vector<int> line = Line(reader, 1, 0, info.width, 8);
    for (uint32_t y = 2; y <= info.height; ++y) Line(reader, y, 0, info.width, 8);
    return line;
  };
  const std::vector<int> plain = firstLine(1.0);
  ASSERT_TRUE(FileExists(FixedDecodedLinesPath().c_str()));
  const std::vector<int> brighter = firstLine(2.2);
  SetCurrentGamma(previous);
  EXPECT_NE(plain, brighter);
  EXPECT_EQ(firstLine(1.0), plain);
  SetCurrentGamma(previous);
}

TEST_F(JpegReaderTest, UniqueFileLeavesTheFixedFileAlone) {
  JpegReader reader("rgb8.jpg", 0);
  ASSERT_EQ(reader.StartReading(0), kReaderOk);
  ImageFileInfo info;
  ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
  Line(reader, info.height, 0, info.width, 8);
  reader.FinishReading();
  EXPECT_FALSE(FileExists(FixedDecodedLinesPath().c_str()));
}

TEST_F(JpegReaderTest, DrawsAReducedCopy) {
  JpegReader reader("rgb8.jpg", 0);
  ImageFileInfo info;
  ASSERT_EQ(reader.ReadHeader(&info), kReaderOk);
  ASSERT_EQ(reader.StartReading(65536), kReaderOk);
  std::vector<uint8_t> bits(10 * 8 * 3);
  ASSERT_TRUE(reader.ReadLines(nullptr, bits.data(), 10, 8, 30, 3));
  std::vector<int> top = Line(reader, 1, 0, info.width, 8);
  EXPECT_EQ(bits[2], top[0]) << "red of the first pixel";
}

}  // namespace

namespace {

// Every byte of the headers overwritten in turn (and a sample of the scan):
// each file gives an id or reads whole, without harm.
TEST_F(JpegReaderTest, OverwrittenBytesEndCleanly) {
  std::vector<uint8_t> good = ReadWhole("rgb8.jpg");
  ASSERT_FALSE(good.empty());
  for (size_t at = 2; at < good.size(); at += at < 640 ? 1 : 13) {
    std::vector<uint8_t> bytes = good;
    bytes[at] ^= 0xFF;
    FILE* f = std::fopen("sweep.jpg", "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    JpegReader reader("sweep.jpg", 0);
    ImageFileInfo info;
    if (reader.ReadHeader(&info) != kReaderOk || reader.StartReading(0) != kReaderOk) continue;
    std::vector<uint8_t> line(size_t{info.width} * 2);
    int32_t count = static_cast<int32_t>(info.width);
    int16_t id = reader.ReadLineSamples(info.height, 0, 0, line.data(), &count);
    // 1: the library's message; 215: the data ran out above the line.
    EXPECT_TRUE(id == kReaderOk || id == kReaderLibraryMessageShown || id == kErrGeneralData) << at << ": " << id;
  }
}

}  // namespace
