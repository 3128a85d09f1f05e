#include "session/tests/scan_test_support.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "frames/frame_record_init.h"
#include "readers/reader_factory.h"
#include "records/defaults_block.h"
#include "session/band_producer.h"
#include "session/band_services.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/scan_session.h"
#include "session/source_lines.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "ui/session_hooks_install.h"

void ScanTest::SetUp() {
  SessionTest::SetUp();
  // The user interface's part of a scan (batch notice, stored defaults), as module attach installs it.
  InstallUserInterfaceSessionHooks();
  session_ = SessionBlock{};
  gSession = &session_;
  SetBandServices(nullptr);
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
}

void ScanTest::TearDown() {
  EndScanSession();
  SetBandServices(nullptr);
  gCurrentFrame = nullptr;
  gSession = nullptr;
  SessionTest::TearDown();
}

ExpectedImage ScanTest::LoadExpected(const std::string& name) const {
  ExpectedImage image;
  FILE* file = std::fopen(Fixture(name + ".expect").c_str(), "rb");
  if (!file) {
    ADD_FAILURE() << "no " << name << ".expect";
    return image;
  }
  uint32_t header[4];
  if (std::fread(header, 4, 4, file) == 4) {
    image.width = header[0];
    image.height = header[1];
    image.samplesPerPixel = header[2];
    image.bits = header[3];
    image.samples.resize(size_t{image.width} * image.height * image.samplesPerPixel);
    if (std::fread(image.samples.data(), 2, image.samples.size(), file) != image.samples.size())
      ADD_FAILURE() << "short " << name << ".expect";
  }
  std::fclose(file);
  return image;
}

ExpectedImage ScanTest::ReadStraight(const std::string& name, FrameRecord frame) const {
  ExpectedImage image;
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(Fixture(name + ".tif").c_str(), 0, false);
  ImageFileInfo info = {};
  const uint16_t bits = frame.bitsPerChannel == 16 ? 16 : 8;
  reader->SetOutputDepth(bits);
  EXPECT_EQ(reader->ReadHeader(&info), 0);
  EXPECT_EQ(reader->StartReading(100000), 0);
  const std::vector<uint16_t>* gammaTables[4];
  uint32_t gammaBits[4];
  for (int c = 0; c < 4; ++c) gammaTables[c] = reader->GetGammaTable(&gammaBits[c], c);
  EXPECT_TRUE(PrepareSourceLines(reader.get(), &frame, gammaTables, gammaBits));
  image.width = info.width;
  image.height = info.height;
  image.samplesPerPixel = frame.colorMode == 2 ? 3 : 1;
  image.bits = bits;
  image.samples.resize(size_t{image.width} * image.height * image.samplesPerPixel);
  std::vector<uint8_t> line(size_t{info.width} * 2);
  for (uint32_t y = 0; y < info.height; ++y)
    for (uint32_t c = 0; c < image.samplesPerPixel; ++c) {
      int32_t count = static_cast<int32_t>(info.width);
      EXPECT_EQ(reader->ReadLineSamples(y + 1, 0, static_cast<int>(c), line.data(), &count), 0);
      for (uint32_t x = 0; x < info.width; ++x) {
        uint16_t value = line[x];
        if (bits == 16) std::memcpy(&value, &line[2 * x], 2);
        image.samples[(size_t{y} * image.width + x) * image.samplesPerPixel + c] = value;
      }
    }
  reader->FinishReading();
  return image;
}

namespace {

// The frame over the image's first columns and rows.
void CutFrame(FrameRecord* frame, uint16_t columns, uint16_t rows) {
  frame->width = static_cast<double>(columns) / frame->outputResolution;
  frame->height = static_cast<double>(rows) / frame->outputResolution;
  frame->scanPixelWidth = columns;
  frame->scanPixelHeight = rows;
}

}  // namespace

FrameRecord ScanTest::OpenFrame(const std::string& name, int bits, bool rgb, uint32_t rows) {
  EXPECT_TRUE(OpenImageDevice(Fixture(name + ".tif").c_str()));
  const ImageFileInfo& info = gDeviceLayer.openedInfo;
  FrameRecord frame = {};
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = info.width / 72.0;
  inputs.scanAreaHeight = info.height / 72.0;
  InitFrameRecordWith(&frame, true, inputs);
  frame.bitsPerChannel = static_cast<uint8_t>(bits);
  frame.colorMode = rgb ? 2 : 1;
  frame.filterMode = 0;
  frame.bitDepthChoice = 0;
  // The image's own resolution: one image pixel for each pixel of the scan.
  const uint32_t resolution = info.xResolution ? info.xResolution : 72;
  frame.originX = frame.originY = 0;
  frame.outputResolution = static_cast<int16_t>(resolution);
  // 8-bit colour scans come in even sizes: the frame covers the even part of the image.
  const uint16_t keep = bits == 8 && rgb ? 0xFFFE : 0xFFFF;
  CutFrame(&frame, static_cast<uint16_t>(info.width & keep), static_cast<uint16_t>((rows ? rows : info.height) & keep));
  return frame;
}

ScannedImage ScanTest::Scan(FrameRecord frame) {
  ScannedImage image;
  gCurrentFrame = &frame;
  if (!PrepareScan()) {
    ADD_FAILURE() << "the scan does not start";
    return image;
  }
  image.rows = static_cast<uint16_t>(session_.rows);
  image.columns = static_cast<uint16_t>(session_.columns);
  image.planes = session_.planes;
  image.depth = session_.depth;
  image.samples.assign(size_t(image.rows) * image.columns * image.planes, 0xDEAD);
  const int32_t sampleBytes = image.depth == 16 ? 2 : 1;
  for (int guard = 0; guard < 100000; ++guard) {
    RunScan();
    const uint8_t* data = session_.bandData.value;
    if (!data) break;
    const int32_t left = static_cast<uint16_t>(session_.bandLeft);
    const int32_t top = static_cast<uint16_t>(session_.bandTop);
    const int32_t width = static_cast<uint16_t>(session_.bandRight) - left;
    const int32_t height = static_cast<uint16_t>(session_.bandBottom) - top;
    image.bandHeights.push_back(static_cast<uint16_t>(gBandRect.bottom) - static_cast<uint16_t>(gBandRect.top));
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* row = data + size_t(y) * session_.rowBytes;
      for (int32_t c = 0; c < image.planes; ++c)
        for (int32_t x = 0; x < width; ++x) {
          uint16_t value;
          if (image.depth == 1) {
            value = (row[x >> 3] >> (7 - (x & 7))) & 1;
          } else {
            const uint8_t* at = row + (size_t(c) * width + x) * sampleBytes;
            if (sampleBytes == 2) std::memcpy(&value, at, 2);
            else value = at[0];
          }
          image.samples[(size_t(top + y) * image.columns + left + x) * image.planes + c] = value;
        }
    }
  }
  gCurrentFrame = nullptr;
  return image;
}
