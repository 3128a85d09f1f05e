// The glue over both library builds: decoding against djpeg of the same
// build, the error exit on bad and damaged files, the message hooks, the
// sources, destinations and marker processors.
#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <cstring>
#include <string>
#include <vector>

#include "readers/jpeg/jpeg_glue.h"
#include "readers/tests/pnm_file.h"

namespace {

struct Decoded {
  bool ok = false;
  JpegDecodeInfo info{};
  std::vector<int> samples;
  JpegErrorState error;
};

class Object {
 public:
  explicit Object(int precision, bool compressor = false)
      : library_(JpegLibraryFor(precision)),
        object_(compressor ? library_.createCompress() : library_.createDecompress()) {}
  ~Object() { library_.freeObject(object_); }
  const JpegLibrary& lib() const { return library_; }
  JpegObject* get() const { return object_; }

 private:
  const JpegLibrary& library_;
  JpegObject* object_;
};

// Reads every line; the source is installed by the caller.
Decoded DecodeAll(const Object& o, const JpegDecodeSettings& settings) {
  Decoded result;
  const JpegLibrary& lib = o.lib();
  bool headerOk = false;
  if (lib.readHeader(o.get(), true, &headerOk) && headerOk && lib.applySettings(o.get(), settings) &&
      lib.startDecompress(o.get()) && lib.getDecodeInfo(o.get(), &result.info)) {
    size_t rowSamples = size_t{result.info.outputWidth} * result.info.outputComponents;
    std::vector<uint8_t> row(rowSamples * lib.sampleBytes);
    result.ok = true;
    for (uint32_t y = 0; result.ok && y < result.info.outputHeight; ++y) {
      result.ok = lib.readScanline(o.get(), row.data());
      for (size_t i = 0; i < rowSamples; ++i) {
        uint16_t v = row[i];
        if (lib.sampleBytes == 2) std::memcpy(&v, row.data() + 2 * i, 2);
        result.samples.push_back(v);
      }
    }
    result.ok = result.ok && lib.finishDecompress(o.get());
  }
  result.error = JpegLastError(o.get());
  return result;
}

Decoded DecodeFile(const std::string& path, int precision, bool floatDct = true) {
  Object o(precision);
  FileHandle file = OpenFileForReading(path.c_str());
  EXPECT_NE(file, nullptr) << path;
  JpegDecodeSettings settings;
  settings.floatDct = floatDct;
  Decoded result;
  if (o.lib().fileSource(o.get(), file)) result = DecodeAll(o, settings);
  CloseFile(file);
  result.error = JpegLastError(o.get());
  return result;
}

std::vector<uint8_t> ReadWhole(const std::string& path) {
  std::vector<uint8_t> bytes;
  FileHandle file = OpenFileForReading(path.c_str());
  uint64_t size = 0;
  if (file && GetFileSize(file, &size)) {
    bytes.resize(size);
    if (size && !ReadBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(size))) bytes.clear();
  }
  CloseFile(file);
  return bytes;
}

struct BuildCase {
  const char* name;
  int precision;
};

class DecodeLikeDjpeg : public ::testing::TestWithParam<BuildCase> {};

TEST_P(DecodeLikeDjpeg, SampleForSample) {
  const BuildCase& c = GetParam();
  Decoded image = DecodeFile(std::string(c.name) + ".jpg", c.precision);
  ASSERT_TRUE(image.ok) << image.error.text;
  PnmImage reference;
  ASSERT_TRUE(ReadPnm(std::string(c.name) + ".ref.pnm", &reference));
  EXPECT_EQ(image.info.dataPrecision, c.precision);
  EXPECT_EQ(int(image.info.outputWidth), reference.width);
  EXPECT_EQ(int(image.info.outputHeight), reference.height);
  EXPECT_EQ(image.info.outputComponents, reference.channels);
  EXPECT_TRUE(image.samples == reference.samples);
  EXPECT_EQ(image.error.warnings, 0);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, DecodeLikeDjpeg,
                         ::testing::Values(BuildCase{"rgb8", 8}, BuildCase{"grey8", 8}, BuildCase{"rgb12", 12},
                                           BuildCase{"grey12", 12}),
                         [](const ::testing::TestParamInfo<BuildCase>& info) { return info.param.name; });

TEST(JpegGlue, TablesReportTheirBuild) {
  EXPECT_EQ(JpegLibraryFor(8).precision, 8);
  EXPECT_EQ(JpegLibraryFor(8).sampleBytes, 1);
  EXPECT_EQ(JpegLibraryFor(12).precision, 12);
  EXPECT_EQ(JpegLibraryFor(12).sampleBytes, 2);
  EXPECT_EQ(&JpegLibraryFor(0), &JpegLibraryFor(8));
  EXPECT_EQ(&JpegLibraryFor(16), &JpegLibraryFor(8));
}

// The library's own text of a message code.
std::string MessageText(int code, int parameter) {
  jpeg_error_mgr errors;
  jpeg_std_error(&errors);
  jpeg_decompress_struct info{};
  info.err = &errors;
  errors.msg_code = code;
  errors.msg_parm.i[0] = parameter;
  char text[JMSG_LENGTH_MAX];
  errors.format_message(reinterpret_cast<j_common_ptr>(&info), text);
  return text;
}

// The codes the data source reacts to mean what it takes them for.
TEST(JpegGlue, MessageCodesNameTheirConditions) {
  EXPECT_EQ(MessageText(JpegCodes().badPrecision, 12), "Unsupported JPEG data precision 12");
  EXPECT_EQ(MessageText(JpegCodes().fileWrite, 0), "Output file write error --- out of disk space?");
  EXPECT_EQ(MessageText(JpegCodes().outOfMemory, 0), "Insufficient memory (case 0)");
}

TEST(JpegGlue, EightBitBuildRefusesTwelveBitDataWithBadPrecision) {
  Decoded image = DecodeFile("rgb12.jpg", 8);
  EXPECT_FALSE(image.ok);
  EXPECT_EQ(image.error.messageCode, JpegCodes().badPrecision);
  EXPECT_STREQ(image.error.text, "Unsupported JPEG data precision 12");
}

TEST(JpegGlue, AfterAnErrorEveryCallFails) {
  Object o(8);
  FileHandle file = OpenFileForReading("rgb12.jpg");
  ASSERT_TRUE(o.lib().fileSource(o.get(), file));
  bool headerOk = true;
  EXPECT_FALSE(o.lib().readHeader(o.get(), true, &headerOk));
  EXPECT_FALSE(JpegObjectIsAlive(o.get()));
  EXPECT_FALSE(o.lib().startDecompress(o.get()));
  JpegDecodeInfo info;
  EXPECT_FALSE(o.lib().getDecodeInfo(o.get(), &info));
  CloseFile(file);
}

TEST(JpegGlue, MemorySourceDecodesLikeTheFileSource) {
  std::vector<uint8_t> bytes = ReadWhole("rgb12.jpg");
  Object o(12);
  ASSERT_TRUE(o.lib().memorySource(o.get(), bytes.data(), static_cast<uint32_t>(bytes.size())));
  JpegDecodeSettings settings;
  settings.floatDct = true;
  Decoded fromMemory = DecodeAll(o, settings);
  ASSERT_TRUE(fromMemory.ok);
  EXPECT_TRUE(fromMemory.samples == DecodeFile("rgb12.jpg", 12).samples);
}

// Damaged input ends with an error or with warnings, never hangs or crashes.
enum class Outcome { kFails, kWarns, kEither };

struct DamagedCase {
  const char* file;
  Outcome outcome;
};

class DamagedInput : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedInput, EndsCleanlyFromFileAndMemory) {
  const DamagedCase& c = GetParam();
  Decoded fromFile = DecodeFile(c.file, 8);
  if (c.outcome != Outcome::kEither) {
    EXPECT_EQ(fromFile.ok, c.outcome == Outcome::kWarns) << fromFile.error.text;
  }
  if (c.outcome == Outcome::kWarns) {
    EXPECT_GT(fromFile.error.warnings, 0);
  }

  std::vector<uint8_t> bytes = ReadWhole(c.file);
  Object o(8);
  ASSERT_TRUE(o.lib().memorySource(o.get(), bytes.data(), static_cast<uint32_t>(bytes.size())));
  Decoded fromMemory = DecodeAll(o, JpegDecodeSettings());
  EXPECT_EQ(fromMemory.ok, fromFile.ok) << fromMemory.error.text;
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedInput,
                         ::testing::Values(DamagedCase{"empty.jpg", Outcome::kFails},
                                           DamagedCase{"notjpeg.jpg", Outcome::kFails},
                                           DamagedCase{"headeronly8.jpg", Outcome::kFails},
                                           DamagedCase{"truncated8.jpg", Outcome::kWarns},
                                           DamagedCase{"garbled8.jpg", Outcome::kEither}));

std::vector<std::string> gShown;
void RecordMessage(const char* text) { gShown.push_back(text); }

TEST(JpegGlue, ErrorsReachTheSinkOnlyWhenShown) {
  JpegMessageSink previous = SetJpegMessageSink(RecordMessage);
  for (bool show : {false, true}) {
    gShown.clear();
    Object o(8);
    JpegShowMessages(o.get(), show);
    FileHandle file = OpenFileForReading("notjpeg.jpg");
    ASSERT_TRUE(o.lib().fileSource(o.get(), file));
    bool headerOk = false;
    EXPECT_FALSE(o.lib().readHeader(o.get(), true, &headerOk));
    CloseFile(file);
    ASSERT_EQ(gShown.size(), show ? 1u : 0u);
    if (show) {
      EXPECT_EQ(gShown[0], JpegLastError(o.get()).text);
    }
  }
  SetJpegMessageSink(previous);
}

struct Marker {
  int marker;
  std::vector<uint8_t> content;
};

void CollectMarker(void* context, int marker, const uint8_t* data, uint32_t size) {
  static_cast<std::vector<Marker>*>(context)->push_back(Marker{marker, std::vector<uint8_t>(data, data + size)});
}

std::vector<Marker> ReadMarkers(const char* path, int precision) {
  std::vector<Marker> markers;
  Object o(precision);
  FileHandle file = OpenFileForReading(path);
  EXPECT_TRUE(o.lib().setMarkerProcessor(o.get(), JPEG_APP0 + 2, CollectMarker, &markers));
  EXPECT_TRUE(o.lib().setMarkerProcessor(o.get(), JPEG_APP0 + 13, CollectMarker, &markers));
  EXPECT_TRUE(o.lib().fileSource(o.get(), file));
  bool headerOk = false;
  EXPECT_TRUE(o.lib().readHeader(o.get(), true, &headerOk));
  EXPECT_TRUE(headerOk);
  CloseFile(file);
  return markers;
}

TEST(JpegGlue, MarkerProcessorsGetTheWholeContent) {
  for (int precision : {8, 12}) {
    std::vector<Marker> icc = ReadMarkers(precision == 8 ? "icc8.jpg" : "icc12.jpg", precision);
    ASSERT_EQ(icc.size(), 3u);
    uint32_t profileBytes = 0;
    for (size_t i = 0; i < icc.size(); ++i) {
      EXPECT_EQ(icc[i].marker, JPEG_APP0 + 2);
      EXPECT_EQ(std::memcmp(icc[i].content.data(), "ICC_PROFILE", 12), 0);
      EXPECT_EQ(icc[i].content[12], i + 1);
      profileBytes += static_cast<uint32_t>(icc[i].content.size()) - 14;
    }
    EXPECT_EQ(profileBytes, 150000u);
  }
  std::vector<Marker> app13 = ReadMarkers("app13.jpg", 8);
  ASSERT_EQ(app13.size(), 1u);
  EXPECT_EQ(app13[0].marker, JPEG_APP0 + 13);
  EXPECT_EQ(std::string(app13[0].content.begin(), app13[0].content.begin() + 13), "Photoshop 3.0");
}

// A gradient of the precision's range, compressed and decoded again.
std::vector<uint8_t> GradientRow(int precision, uint32_t width, uint32_t y) {
  const JpegLibrary& lib = JpegLibraryFor(precision);
  std::vector<uint8_t> row(size_t{width} * 3 * lib.sampleBytes);
  int maxval = (1 << precision) - 1;
  for (uint32_t i = 0; i < width * 3; ++i) {
    uint16_t v = static_cast<uint16_t>((i / 3 * 4 + y * 8) % (maxval + 1));
    if (lib.sampleBytes == 2) {
      std::memcpy(row.data() + 2 * i, &v, 2);
    } else {
      row[i] = static_cast<uint8_t>(v);
    }
  }
  return row;
}

bool CompressGradient(const Object& o, uint32_t width, uint32_t height, bool progressive = false) {
  const JpegLibrary& lib = o.lib();
  JpegImageShape shape{width, height, 3, JpegColorSpace::kRgb};
  bool ok = lib.setDefaults(o.get(), shape) && lib.setQuality(o.get(), 90, false) &&
            (!progressive || lib.simpleProgression(o.get())) && lib.startCompress(o.get(), true) &&
            lib.writeMarkerHeader(o.get(), JPEG_COM, 2) && lib.writeMarkerByte(o.get(), 'Q') &&
            lib.writeMarkerByte(o.get(), 'B');
  for (uint32_t y = 0; ok && y < height; ++y) ok = lib.writeScanline(o.get(), GradientRow(lib.precision, width, y).data());
  return ok && lib.finishCompress(o.get());
}

class CompressRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(CompressRoundTrip, MemoryDestinationGrowsBehindItsPrefix) {
  int precision = GetParam();
  std::vector<uint8_t> block(10, 0xA5);
  {
    Object o(precision, true);
    ASSERT_TRUE(o.lib().memoryDestination(o.get(), &block, 10));
    ASSERT_TRUE(CompressGradient(o, 300, 200));
  }
  ASSERT_GT(block.size(), 10u);
  EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 10), std::vector<uint8_t>(10, 0xA5));
  EXPECT_EQ(block[10], 0xFF);
  EXPECT_EQ(block[11], 0xD8);  // start of image
  EXPECT_EQ(block[block.size() - 1], JPEG_EOI);

  Object d(precision);
  ASSERT_TRUE(d.lib().memorySource(d.get(), block.data() + 10, static_cast<uint32_t>(block.size() - 10)));
  Decoded image = DecodeAll(d, JpegDecodeSettings());
  ASSERT_TRUE(image.ok) << image.error.text;
  EXPECT_EQ(image.info.dataPrecision, precision);
  EXPECT_EQ(image.info.outputWidth, 300u);
  EXPECT_EQ(image.error.warnings, 0);
}

TEST_P(CompressRoundTrip, FileDestinationWritesTheWholeProgressiveStream) {
  int precision = GetParam();
  std::string path = "written" + std::to_string(precision) + ".jpg";
  FileHandle file = CreateFileForWriting(path.c_str());
  {
    Object o(precision, true);
    ASSERT_TRUE(o.lib().fileDestination(o.get(), file));
    ASSERT_TRUE(CompressGradient(o, 100, 90, true));
  }
  CloseFile(file);
  Decoded image = DecodeFile(path, precision);
  ASSERT_TRUE(image.ok) << image.error.text;
  EXPECT_EQ(image.info.outputHeight, 90u);
  EXPECT_EQ(image.error.warnings, 0);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, CompressRoundTrip, ::testing::Values(8, 12));

TEST(JpegGlue, FileDestinationReportsAFailedWrite) {
  FileHandle created = CreateFileForWriting("readonly.jpg");
  CloseFile(created);
  FileHandle file = OpenFileForReading("readonly.jpg");
  Object o(8, true);
  ASSERT_TRUE(o.lib().fileDestination(o.get(), file));
  EXPECT_FALSE(CompressGradient(o, 300, 300));
  EXPECT_EQ(JpegLastError(o.get()).messageCode, JpegCodes().fileWrite);
  CloseFile(file);
}

}  // namespace
