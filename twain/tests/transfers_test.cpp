// The image transfers over a stand-in band producer: memory set-up, image
// information and layout, memory blocks (also for the host that takes whole
// blocks only) and the native bitmap.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/color_hsl.h"
#include "foundation/dib.h"
#include "foundation/memory.h"
#include "frames/orientation/preview_orientation.h"
#include "twain/native_dib.h"
#include "twain/tests/transfer_test_support.h"
#include "twain/tests/twain_test_support.h"
#include "twain/transfer_state.h"

namespace {

constexpr GeneratedImage kRgb8 = {3, 3, 8, 37, 23, 300};
constexpr GeneratedImage kGrey8 = {1, 1, 8, 41, 19, 150};
constexpr GeneratedImage kBw1 = {0, 1, 1, 45, 17, 600};
constexpr GeneratedImage kRgb16 = {11, 3, 16, 21, 13, 300};
constexpr GeneratedImage kGrey16 = {10, 1, 16, 19, 11, 300};
constexpr GeneratedImage kCmyk8 = {4, 4, 8, 17, 9, 300};

class TransferTest : public TwainModuleTest {
 protected:
  void SetUp() override {
    TwainModuleTest::SetUp();
    BringToState(kStateTransferReady);
    gBandSource = &kStandInBandSource;
  }
  void TearDown() override {
    gBandSource = &kScanBandSource;
    SetPreviewOrientation(0, 0, 0);
    DropLeftoverRows();
    TwainModuleTest::TearDown();
  }

  TW_UINT16 MemoryBlock(TW_IMAGEMEMXFER* transfer, std::vector<uint8_t>& buffer) {
    *transfer = TW_IMAGEMEMXFER{};
    transfer->Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
    return Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, transfer);
  }

  // Pulls blocks until the transfer is done; every row lands in the image at its offset.
  struct Received {
    std::vector<std::vector<uint8_t>> rows;
    std::vector<uint32_t> blockRows;
    TW_UINT16 lastAnswer;
  };
  Received PullWholeImage(const GeneratedImage& image, uint32_t bufferBytes) {
    Received received{std::vector<std::vector<uint8_t>>(image.rows), {}, TWRC_SUCCESS};
    std::vector<uint8_t> buffer(bufferBytes);
    TW_IMAGEMEMXFER transfer;
    for (int guard = 0; guard < 10000; ++guard) {
      received.lastAnswer = MemoryBlock(&transfer, buffer);
      if (received.lastAnswer != TWRC_SUCCESS) break;
      EXPECT_EQ(+transfer.Columns, static_cast<TW_UINT32>(image.columns));
      EXPECT_EQ(+transfer.XOffset, 0u);
      EXPECT_EQ(+transfer.BytesWritten, transfer.Rows * transfer.BytesPerRow);
      received.blockRows.push_back(+transfer.Rows);
      for (uint32_t i = 0; i < transfer.Rows; ++i) {
        const uint32_t y = transfer.YOffset + i;
        if (y >= static_cast<uint32_t>(image.rows)) {
          ADD_FAILURE() << "row " << y << " outside the image";
          continue;
        }
        EXPECT_TRUE(received.rows[y].empty()) << "row " << y << " twice";
        const uint8_t* row = buffer.data() + i * transfer.BytesPerRow;
        received.rows[y].assign(row, row + transfer.BytesPerRow);
      }
    }
    return received;
  }

  void ExpectRowsOf(const GeneratedImage& image, const Received& received, bool invert) {
    for (int y = 0; y < image.rows; ++y) {
      std::vector<uint8_t> wanted = image.HostRow(y, invert);
      ASSERT_GE(received.rows[y].size(), wanted.size()) << "row " << y;
      EXPECT_TRUE(std::equal(wanted.begin(), wanted.end(), received.rows[y].begin())) << "row " << y;
      for (size_t i = wanted.size(); i < received.rows[y].size(); ++i) EXPECT_EQ(received.rows[y][i], 0) << y;
    }
  }

  TW_HANDLE NativeTransfer(TW_UINT16* answer) {
    TW_HANDLE bitmap = reinterpret_cast<TW_HANDLE>(1);
    *answer = Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap);
    return bitmap;
  }
};

// --- memory set-up --------------------------------------------------------

TEST_F(TransferTest, SetupBeforeAScanAnswersFixedSizes) {
  for (int32_t state : {kStateOpen, kStateEnabled}) {
    gTwainState = state;
    TW_SETUPMEMXFER setup = {};
    ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
    EXPECT_EQ(+setup.MinBufSize, 400u);
    EXPECT_EQ(+setup.MaxBufSize, 2048u);
    EXPECT_EQ(+setup.Preferred, 1024u);
  }
}

TEST_F(TransferTest, SetupOfAScanRoundsTheRowBytesUpToFour) {
  gSession->rowBytes = 3001;
  gSession->rows = 1000;
  TW_SETUPMEMXFER setup = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(+setup.MinBufSize, 3004u);
  EXPECT_EQ(+setup.MaxBufSize, 332u * 3004u);
  EXPECT_EQ(+setup.Preferred, 21u * 3004u);

  gSession->rows = 10;  // a short image caps both at its rows
  ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(+setup.MaxBufSize, 10u * 3004u);
  EXPECT_EQ(+setup.Preferred, 10u * 3004u);
}

TEST_F(TransferTest, SetupRefusesWrongCalls) {
  TW_SETUPMEMXFER setup = {};
  gSession->rowBytes = 0;  // no image description: no division by its row bytes
  EXPECT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
  EXPECT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_SET, &setup), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
  gTwainState = kStateTransferring;
  EXPECT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_SEQERROR);
}

TEST_F(TransferTest, SetupFreesRowsKeptBack) {
  gLeftoverRows = LeftoverRows{3, static_cast<uint8_t*>(AllocBlock(300))};
  kRgb8.Describe(*gSession);
  TW_SETUPMEMXFER setup = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(gLeftoverRows.count, 0u);
  EXPECT_EQ(gLeftoverRows.rows, nullptr);  // freed, as the leak checker of the host build confirms
}

// --- image information and layout -----------------------------------------

TEST_F(TransferTest, ImageInfoDescribesTheSession) {
  kRgb16.Describe(*gSession);
  TW_IMAGEINFO info;
  std::memset(&info, 0x5A, sizeof info);
  ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(+info.XResolution.Whole, 300);
  EXPECT_EQ(+info.XResolution.Frac, 0);
  EXPECT_EQ(+info.YResolution.Whole, 300);
  EXPECT_EQ(+info.ImageWidth, 21);
  EXPECT_EQ(+info.ImageLength, 13);
  EXPECT_EQ(+info.SamplesPerPixel, 3);
  const TW_INT16 bits[8] = {16, 16, 16, 0, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(+info.BitsPerSample[i], bits[i]) << i;
  EXPECT_EQ(+info.BitsPerPixel, 48);
  EXPECT_EQ(+info.Planar, 0);
  EXPECT_EQ(+info.PixelType, TWPT_RGB);
  EXPECT_EQ(+info.Compression, TWCP_NONE);
}

TEST_F(TransferTest, ImageInfoOnlyWhenReady) {
  TW_IMAGEINFO info = {};
  for (int32_t state : {kStateEnabled, kStateTransferring}) {
    gTwainState = state;
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_SEQERROR);
  }
  gTwainState = kStateTransferReady;
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_SET, &info), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

TEST_F(TransferTest, ImageLayoutIsTheWholeImageInInches) {
  GeneratedImage image = kGrey8;
  image.columns = 450;
  image.rows = 300;
  image.Describe(*gSession);  // 150 dpi: 3 x 2 inches
  for (TW_UINT16 message : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
    TW_IMAGELAYOUT layout;
    std::memset(&layout, 0x5A, sizeof layout);
    ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, message, &layout), TWRC_SUCCESS);
    EXPECT_EQ(Fix32ToDouble(layout.Frame.Left), 0.0);
    EXPECT_EQ(Fix32ToDouble(layout.Frame.Top), 0.0);
    EXPECT_NEAR(Fix32ToDouble(layout.Frame.Right), 3.0, 1e-4);
    EXPECT_NEAR(Fix32ToDouble(layout.Frame.Bottom), 2.0, 1e-4);
    EXPECT_EQ(+layout.DocumentNumber, 1u);
    EXPECT_EQ(+layout.PageNumber, 1u);
    EXPECT_EQ(+layout.FrameNumber, 1u);
  }
  TW_IMAGELAYOUT layout = {};
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETFIRST, &layout), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

// --- memory transfers -----------------------------------------------------

TEST_F(TransferTest, MemoryBufferMustHoldOneRowAndNoMoreThanTheLargestBlock) {
  StandInBands::Current().Start(kRgb8, 5);
  const uint32_t rb = (37 * 3 + 3) & ~3u;  // 112
  std::vector<uint8_t> buffer(rb - 1);
  TW_IMAGEMEMXFER transfer;
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE);
  EXPECT_EQ(gTwainState, kStateTransferReady);

  buffer.resize(23 * rb + 1);
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE);
  EXPECT_EQ(gTwainState, kStateTransferReady);

  buffer.resize(rb);
  ASSERT_EQ(MemoryBlock(&transfer, buffer), TWRC_SUCCESS);
  EXPECT_EQ(gTwainState, kStateTransferring);
  EXPECT_EQ(+transfer.Rows, 1u);
  EXPECT_EQ(+transfer.BytesPerRow, rb);
  EXPECT_EQ(+transfer.YOffset, 0u);

  // Once transferring, a buffer shorter than a row would never finish.
  buffer.resize(rb - 1);
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE);
}

TEST_F(TransferTest, MemoryTransferOutOfStateOrWithAnotherMessage) {
  std::vector<uint8_t> buffer(1024);
  TW_IMAGEMEMXFER transfer = {};
  gTwainState = kStateEnabled;
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_SEQERROR);
  gTwainState = kStateTransferReady;
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_SET, &transfer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

struct MemoryCase {
  const char* name;
  GeneratedImage image;
  int pixelType;
  TW_UINT16 flavor;
  bool inverted;
  int bandRows;
  uint32_t bufferRows;
};

class MemoryTransferTest : public TransferTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryTransferTest, DeliversEveryRowOfTheImage) {
  const MemoryCase& c = GetParam();
  gPixelFlavor[c.pixelType] = c.flavor;
  StandInBands::Current().Start(c.image, c.bandRows);
  const uint32_t rb = (c.image.planes * c.image.PlaneRowBytes() + 3) & ~3u;
  Received received = PullWholeImage(c.image, c.bufferRows * rb);
  EXPECT_EQ(received.lastAnswer, TWRC_XFERDONE);
  for (uint32_t rows : received.blockRows) EXPECT_LE(rows, c.bufferRows);
  ExpectRowsOf(c.image, received, c.inverted);
  EXPECT_EQ(gTwainState, kStateTransferring);
}

INSTANTIATE_TEST_SUITE_P(
    EveryLayout, MemoryTransferTest,
    ::testing::Values(MemoryCase{"Rgb8", kRgb8, TWPT_RGB, TWPF_CHOCOLATE, false, 5, 3},
                      MemoryCase{"Rgb8Vanilla", kRgb8, TWPT_RGB, TWPF_VANILLA, true, 7, 7},
                      MemoryCase{"Rgb8OneBand", kRgb8, TWPT_RGB, TWPF_CHOCOLATE, false, 100, 23},
                      MemoryCase{"Grey8", kGrey8, TWPT_GRAY, TWPF_CHOCOLATE, false, 4, 6},
                      MemoryCase{"Grey8Vanilla", kGrey8, TWPT_GRAY, TWPF_VANILLA, true, 4, 1},
                      MemoryCase{"Bw1Chocolate", kBw1, TWPT_BW, TWPF_CHOCOLATE, true, 6, 4},
                      MemoryCase{"Bw1Vanilla", kBw1, TWPT_BW, TWPF_VANILLA, false, 6, 4},
                      MemoryCase{"Rgb16", kRgb16, TWPT_RGB, TWPF_CHOCOLATE, false, 3, 2},
                      MemoryCase{"Grey16VanillaStaysAsItIs", kGrey16, TWPT_GRAY, TWPF_VANILLA, false, 3, 5},
                      MemoryCase{"Cmyk8", kCmyk8, TWPT_CMYK, TWPF_VANILLA, false, 2, 3}),
    [](const ::testing::TestParamInfo<MemoryCase>& info) { return std::string(info.param.name); });

TEST_F(TransferTest, MemoryBlocksOfAHandleBufferAreLockedAndFilled) {
  StandInBands::Current().Start(kGrey8, 50);
  const uint32_t rb = 44;
  TW_HANDLE handle = gTransferAllocator->allocate(19 * rb);
  TW_IMAGEMEMXFER transfer = {};
  transfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_HANDLE, 19 * rb, handle};
  ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer), TWRC_SUCCESS);
  EXPECT_EQ(+transfer.Rows, 19u);
  auto* bytes = static_cast<uint8_t*>(gTransferAllocator->lock(handle));
  std::vector<uint8_t> wanted = kGrey8.HostRow(18, false);
  EXPECT_TRUE(std::equal(wanted.begin(), wanted.end(), bytes + 18 * rb));
  gTransferAllocator->unlock(handle);
  gTransferAllocator->release(handle);
}

TEST_F(TransferTest, MemoryTransferEndsWithCancelWhenTheUserCancels) {
  StandInBands::Current().Start(kGrey8, 4);
  std::vector<uint8_t> buffer(44 * 4);
  TW_IMAGEMEMXFER transfer;
  ASSERT_EQ(MemoryBlock(&transfer, buffer), TWRC_SUCCESS);
  StandInBands::Current().EndSessionAtBand(1);  // the session ends while the next band is made
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_CANCEL);
}

TEST_F(TransferTest, MemoryTransferEndsWithCancelWhenTheProgressWindowWasCancelled) {
  StandInBands::Current().Start(kGrey8, 40);
  std::vector<uint8_t> buffer(44 * 19);
  TW_IMAGEMEMXFER transfer;
  ASSERT_EQ(MemoryBlock(&transfer, buffer), TWRC_SUCCESS);
  StandInBands::Current().CancelFromProgress();
  EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_CANCEL);
  EXPECT_EQ(+transfer.Rows, 0u);
}

TEST_F(TransferTest, LayoutsWithoutAPixelTypeAreRefused) {
  for (int16_t mode : {9, 12, 13}) {
    GeneratedImage image = kRgb8;
    image.imageMode = mode;
    StandInBands::Current().Start(image, 5);
    std::vector<uint8_t> buffer(112);
    TW_IMAGEMEMXFER transfer;
    EXPECT_EQ(MemoryBlock(&transfer, buffer), TWRC_FAILURE) << mode;
    EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
    TW_UINT16 answer;
    EXPECT_EQ(NativeTransfer(&answer), nullptr);
    EXPECT_EQ(answer, TWRC_FAILURE) << mode;
    EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
    TW_IMAGEINFO info = {};
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE) << mode;
    EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
    EXPECT_EQ(gTwainState, kStateTransferReady);
  }
}

// --- the host that takes whole blocks only ----------------------------------

struct WholeBlockCase {
  const char* name;
  int bandRows;
  uint32_t blockRows;
  bool bottomUp;
};

class WholeBlockTest : public TransferTest, public ::testing::WithParamInterface<WholeBlockCase> {};

TEST_P(WholeBlockTest, EveryBlockButTheLastIsWhole) {
  const WholeBlockCase& c = GetParam();
  std::strcpy(gAppIdentity.Manufacturer, "Wang Laboratories, Inc.");
  SetPreviewOrientation(0, c.bottomUp ? 1 : 0, 0);
  GeneratedImage image = kRgb8;
  image.rows = 47;
  StandInBands::Current().Start(image, c.bandRows, c.bottomUp);
  Received received = PullWholeImage(image, c.blockRows * 112);
  EXPECT_EQ(received.lastAnswer, TWRC_XFERDONE);
  ASSERT_FALSE(received.blockRows.empty());
  for (size_t i = 0; i + 1 < received.blockRows.size(); ++i) EXPECT_EQ(received.blockRows[i], c.blockRows) << i;
  ExpectRowsOf(image, received, false);
  EXPECT_EQ(gLeftoverRows.rows, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    BandsAndBlocks, WholeBlockTest,
    ::testing::Values(WholeBlockCase{"TopDown", 10, 4, false}, WholeBlockCase{"TopDownBlockOverTwoBands", 5, 7, false},
                      WholeBlockCase{"TopDownBlocksFitBands", 8, 4, false}, WholeBlockCase{"BottomUp", 10, 4, true},
                      WholeBlockCase{"BottomUpBlockOverTwoBands", 5, 7, true}),
    [](const ::testing::TestParamInfo<WholeBlockCase>& info) { return std::string(info.param.name); });

TEST_F(TransferTest, OtherHostsGetTheRestOfEachBand) {
  GeneratedImage image = kRgb8;
  image.rows = 20;
  StandInBands::Current().Start(image, 10);
  Received received = PullWholeImage(image, 4 * 112);
  EXPECT_EQ(received.blockRows, (std::vector<uint32_t>{4, 4, 2, 4, 4, 2}));
}

// --- native transfers -----------------------------------------------------

TEST(NativeDib, ThreeHundredDotsPerInchIs11811PixelsPerMetre) {
  EXPECT_EQ(PixelsPerMetre(300 << 16), 11811);
  EXPECT_EQ(PixelsPerMetre(72 << 16), 2834);
  EXPECT_EQ(PixelsPerMetre((300 << 16) | 0xFFFF), 11811);  // the fraction is dropped first
}

struct NativeCase {
  const char* name;
  GeneratedImage image;
  uint16_t bitCount;
  uint32_t colors;
  int bandRows;
};

class NativeTransferTest : public TransferTest, public ::testing::WithParamInterface<NativeCase> {};

TEST_P(NativeTransferTest, BuildsABottomUpBitmap) {
  const NativeCase& c = GetParam();
  StandInBands::Current().Start(c.image, c.bandRows);
  TW_UINT16 answer;
  TW_HANDLE bitmap = NativeTransfer(&answer);
  ASSERT_EQ(answer, TWRC_XFERDONE);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(gTwainState, kStateTransferring);

  auto* block = static_cast<const uint8_t*>(gTransferAllocator->lock(bitmap));
  DibHeader header;
  std::memcpy(&header, block, sizeof header);
  const uint32_t stride = ((c.bitCount * c.image.columns + 31) / 32) * 4;
  EXPECT_EQ(header.size, 40u);
  EXPECT_EQ(header.width, c.image.columns);
  EXPECT_EQ(header.height, c.image.rows);
  EXPECT_EQ(header.planes, 1);
  EXPECT_EQ(header.bitCount, c.bitCount);
  EXPECT_EQ(header.compression, 0u);
  EXPECT_EQ(header.sizeImage, stride * c.image.rows);
  EXPECT_EQ(header.xPelsPerMeter, PixelsPerMetre(c.image.dpi << 16));
  EXPECT_EQ(header.yPelsPerMeter, header.xPelsPerMeter);
  EXPECT_EQ(header.colorsUsed, c.colors);
  EXPECT_EQ(header.colorsImportant, 0u);

  const auto* palette = reinterpret_cast<const PaletteEntry*>(block + 40);
  for (uint32_t i = 0; i < c.colors; ++i) {
    const uint8_t grey = c.colors == 2 ? (i == 0 ? 255 : 0) : static_cast<uint8_t>(i);
    EXPECT_EQ(palette[i].blue, grey) << i;
    EXPECT_EQ(palette[i].green, grey) << i;
    EXPECT_EQ(palette[i].red, grey) << i;
    EXPECT_EQ(palette[i].reserved, 0) << i;
  }

  const uint8_t* pixels = block + 40 + 4 * c.colors;
  for (int y = 0; y < c.image.rows; ++y) {
    const uint8_t* row = pixels + (c.image.rows - 1 - y) * stride;
    std::vector<uint8_t> wanted = c.image.HostRow(y, false);
    if (c.image.planes == 3) {
      for (size_t x = 0; x < wanted.size(); x += 3) std::swap(wanted[x], wanted[x + 2]);
    }
    EXPECT_TRUE(std::equal(wanted.begin(), wanted.end(), row)) << "row " << y;
    for (uint32_t i = wanted.size(); i < stride; ++i) EXPECT_EQ(row[i], 0) << "padding of row " << y;
  }
  gTransferAllocator->unlock(bitmap);
  gTransferAllocator->release(bitmap);
}

INSTANTIATE_TEST_SUITE_P(EveryNativeLayout, NativeTransferTest,
                         ::testing::Values(NativeCase{"Rgb8", kRgb8, 24, 0, 5}, NativeCase{"Grey8", kGrey8, 8, 256, 7},
                                           NativeCase{"Bw1", kBw1, 1, 2, 4}, NativeCase{"OneBand", kRgb8, 24, 0, 99}),
                         [](const ::testing::TestParamInfo<NativeCase>& info) { return std::string(info.param.name); });

TEST_F(TransferTest, NativeCannotCarryCmykOrSixteenBits) {
  for (const GeneratedImage& image : {kCmyk8, kRgb16, kGrey16}) {
    StandInBands::Current().Start(image, 5);
    TW_UINT16 answer;
    EXPECT_EQ(NativeTransfer(&answer), nullptr);
    EXPECT_EQ(answer, TWRC_CANCEL);
    EXPECT_EQ(gTwainState, kStateTransferReady);
    EXPECT_EQ(StandInBands::Current().bandsMade(), 0);
  }
}

TEST_F(TransferTest, NativeOnlyWhenReadyAndOnlyGet) {
  StandInBands::Current().Start(kGrey8, 5);
  TW_HANDLE bitmap = nullptr;
  gTwainState = kStateTransferring;
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_SEQERROR);
  gTwainState = kStateTransferReady;
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_SET, &bitmap), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

TEST_F(TransferTest, NativeCancelHandsNothingOver) {
  StandInBands::Current().Start(kGrey8, 5);
  StandInBands::Current().EndSessionAtBand(2);
  TW_UINT16 answer;
  EXPECT_EQ(NativeTransfer(&answer), nullptr);
  EXPECT_EQ(answer, TWRC_CANCEL);

  gTwainState = kStateTransferReady;
  StandInBands::Current().Start(kGrey8, 5);
  StandInBands::Current().CancelFromProgress();
  EXPECT_EQ(NativeTransfer(&answer), nullptr);
  EXPECT_EQ(answer, TWRC_CANCEL);
}

}  // namespace

namespace {

// --- pending transfers and unknown triplets ----------------------------------

TEST_F(TransferTest, PendingCountsByState) {
  TW_PENDINGXFERS pending = {};
  const struct {
    int32_t state;
    bool batch;
    uint16_t index;
    uint16_t last;
    TW_UINT16 count;
  } cases[] = {
      {kStateOpen, false, 0, 0, 0xFFFF},         {kStateEnabled, false, 0, 0, 1},
      {kStateEnabled, true, 0, 0, 1},            // a batch of the frame list, which holds the default frame
      {kStateTransferReady, false, 0, 0, 0},     {kStateTransferReady, true, 2, 3, 2},
      {kStateTransferring, true, 3, 3, 1},       {kStateTransferring, true, 0, 0, 0xFFFF},
  };
  for (const auto& c : cases) {
    gTwainState = c.state;
    gBatchOutput = c.batch;
    gBatchIndex = c.index;
    gBatchLast = c.last;
    pending.Count = 1234;
    ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS) << c.state;
    EXPECT_EQ(+pending.Count, c.count) << c.state << " batch " << c.batch;
  }
  gBatchOutput = false;
  gBatchIndex = gBatchLast = 0;
}

TEST_F(TransferTest, EndOfTheLastImageReturnsToEnabled) {
  StandInBands::Current().Start(kGrey8, 5);
  gLeftoverRows = LeftoverRows{2, static_cast<uint8_t*>(AllocBlock(88))};
  TW_UINT16 answer;
  TW_HANDLE bitmap = NativeTransfer(&answer);
  ASSERT_EQ(answer, TWRC_XFERDONE);
  gTransferAllocator->release(bitmap);
  TW_IMAGEINFO info;
  EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_SEQERROR);

  TW_PENDINGXFERS pending = {7, 0};
  ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(+pending.Count, 0);
  EXPECT_EQ(gTwainState, kStateEnabled);
  EXPECT_EQ(gLeftoverRows.rows, nullptr);  // kept rows go with the image, whoever the host is
}

TEST_F(TransferTest, ResetOfAPendingImageReturnsToEnabled) {
  TW_PENDINGXFERS pending = {7, 0};
  ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending), TWRC_SUCCESS);
  EXPECT_EQ(+pending.Count, 0);
  EXPECT_EQ(gTwainState, kStateEnabled);
}

TEST_F(TransferTest, PendingTransfersOutOfState) {
  TW_PENDINGXFERS pending = {};
  const struct {
    int32_t state;
    TW_UINT16 message;
    TW_UINT16 condition;
  } cases[] = {
      {kStateEnabled, MSG_ENDXFER, TWCC_SEQERROR},  {kStateOpen, MSG_ENDXFER, TWCC_SEQERROR},
      {kStateTransferring, MSG_RESET, TWCC_SEQERROR}, {kStateEnabled, MSG_RESET, TWCC_SEQERROR},
      {kStateTransferReady, MSG_SET, TWCC_BADPROTOCOL},
  };
  for (const auto& c : cases) {
    gTwainState = c.state;
    EXPECT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, c.message, &pending), TWRC_FAILURE);
    EXPECT_EQ(Status(), c.condition);
    EXPECT_EQ(gTwainState, c.state);
  }
}

// The scan starts from the source's window only: a custom triplet
// is answered as any triplet the source does not know.
TEST_F(TransferTest, CustomTripletIsUnknown) {
  gTwainState = kStateEnabled;
  TW_UINT16 item = 1;
  for (TW_UINT16 message : {MSG_SET, MSG_GET}) {
    EXPECT_EQ(Call(DG_CONTROL, DAT_CUSTOMBASE, message, &item), TWRC_FAILURE) << message;
    EXPECT_EQ(Status(), TWCC_BADPROTOCOL) << message;
    EXPECT_EQ(gTwainState, kStateEnabled) << message;
  }
}

}  // namespace
