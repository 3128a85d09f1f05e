// The real scan session over the remembered image, started as a user starts
// it: the Scan command pressed on the window the source created, the batch
// chosen in the window's scan-mode list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/memory.h"
#include "frames/frame_list.h"
#include "frames/frame_record_init.h"
#include "frames/frame_storage.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "twain/tests/twain_test_support.h"
#include "twain/transfer_state.h"
#include "twain/transfers.h"
#include "ui/main_commands.h"

namespace {

// The scan-mode list's texts, as the module's string table holds them.
const std::map<uint32_t, std::string> kScanModeTexts = {{kScanModeNormalString, "Normal"},
                                                        {kScanModeBatchString, "Stapel Modus"},
                                                        {kScanModeFileString, "Normal (Datei)"},
                                                        {kScanModeBatchFileString, "Stapel Modus (Datei)"}};

BOOL CALLBACK FindScanModeList(HWND child, LPARAM found) {
  if (GetDlgCtrlID(child) != kScanModeCombo) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The remembered 8 x 8 grey image with stored frames over its first rows, one
// image pixel for each transferred pixel. The host enables without asking for
// the window; the source shows it all the same.
class ScanWindowTest : public TwainModuleTest {
 protected:
  void SetUp() override {
    TwainModuleTest::SetUp();
    system_->strings.insert(kScanModeTexts.begin(), kScanModeTexts.end());
    // The window's resources are the test program's own.
    SetModuleInstance(GetModuleHandleA(nullptr));
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    ASSERT_EQ(Enable(0), TWRC_CHECKSTATUS);
    window_ = static_cast<HWND>(gMainDialog);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(IsWindowVisible(window_));
  }
  void TearDown() override {
    while (FrameListHead()) RemoveCurrentFrame();
    gBatchOutput = false;
    TwainModuleTest::TearDown();
  }

  void StoreFrame(int32_t id, int rows) {
    FrameRecord frame = {};
    FrameInitInputs inputs = {};
    inputs.defaults = &gDefaults;
    inputs.scanAreaWidth = inputs.scanAreaHeight = 8 / 72.0;
    InitFrameRecordWith(&frame, true, inputs);
    frame.bitsPerChannel = 8;
    frame.colorMode = 1;
    frame.filterMode = 0;
    frame.height = rows / 72.0;
    frame.scanPixelWidth = 8;
    frame.scanPixelHeight = static_cast<uint16_t>(rows);
    frame.outputResolution = 72;
    ASSERT_TRUE(RecordStoreAdd(gDeviceStore, CurrentFrameListType(), id, &frame, sizeof frame, kFrameRecordName));
  }

  // The user's pick in the scan-mode list: the selection, then its notification.
  void ChooseScanMode(int item, const char* text) {
    HWND list = nullptr;
    EnumChildWindows(window_, FindScanModeList, reinterpret_cast<LPARAM>(&list));
    ASSERT_NE(list, nullptr);
    SendMessageA(list, CB_SETCURSEL, item - 1, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(kScanModeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ASSERT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), item - 1);
    char shown[64] = {};
    SendMessageA(list, CB_GETLBTEXT, item - 1, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, text);
  }

  // The window shows the stored frames, then the user presses Scan.
  void PressScan() {
    LoadFrameList();
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(kCommandScan, BN_CLICKED), 0);
    ASSERT_EQ(gTwainState, kStateTransferReady) << Status();
  }

  // A native transfer of the pending image; its rows top-down.
  std::vector<uint8_t> TakeNative(int* rows) {
    TW_IMAGEINFO info = {};
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    *rows = info.ImageLength;
    TW_HANDLE bitmap = nullptr;
    EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &bitmap), TWRC_XFERDONE);
    std::vector<uint8_t> pixels(8 * *rows);
    if (!bitmap) return pixels;
    auto* block = static_cast<const uint8_t*>(gTransferAllocator->lock(bitmap));
    for (int y = 0; y < *rows; ++y) std::memcpy(&pixels[y * 8], block + 40 + 4 * 256 + (*rows - 1 - y) * 8, 8);
    gTransferAllocator->unlock(bitmap);
    gTransferAllocator->release(bitmap);
    return pixels;
  }

  HWND window_ = nullptr;
};

// The image through the real band producer, once as a bitmap and once in
// memory blocks: the same rows both ways, in the right order.
TEST_F(ScanWindowTest, NativeAndMemoryTransfersCarryTheSameImage) {
  StoreFrame(kFirstFrameRecordId, 8);
  PressScan();
  TW_IMAGEINFO info = {};
  ASSERT_EQ(Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(+info.ImageWidth, 8);
  EXPECT_EQ(+info.ImageLength, 8);
  EXPECT_EQ(+info.PixelType, TWPT_GRAY);
  EXPECT_EQ(+info.XResolution.Whole, 72);

  int rows = 0;
  const std::vector<uint8_t> fromBitmap = TakeNative(&rows);
  TW_PENDINGXFERS pending = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(+pending.Count, 0);
  EXPECT_EQ(gTwainState, kStateEnabled);
  // The frame frozen for the transfer is back at the preview defaults: RGB over the whole image.
  EXPECT_EQ(gScanFrame.colorMode, 2u);
  EXPECT_DOUBLE_EQ(gScanFrame.height, gScanAreaInches.height);

  PressScan();
  TW_SETUPMEMXFER setup = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(+setup.MinBufSize, 8u);
  std::vector<uint8_t> fromMemory(64), buffer(3 * 8);
  TW_UINT16 answer;
  int blocks = 0;
  do {
    TW_IMAGEMEMXFER transfer = {};
    transfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
    answer = Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &transfer);
    ASSERT_TRUE(answer == TWRC_SUCCESS || answer == TWRC_XFERDONE) << answer;
    ASSERT_LE(transfer.YOffset + transfer.Rows, 8u);
    std::memcpy(&fromMemory[transfer.YOffset * 8], buffer.data(), transfer.Rows * 8);
    ++blocks;
  } while (answer == TWRC_SUCCESS && blocks < 100);
  EXPECT_EQ(answer, TWRC_XFERDONE);
  EXPECT_EQ(fromMemory, fromBitmap);
  // The source rises from the first pixel to the last; so must the rows that arrive.
  EXPECT_LT(fromMemory.front(), fromMemory.back());
  for (int y = 1; y < 8; ++y) EXPECT_LE(fromMemory[(y - 1) * 8], fromMemory[y * 8]) << y;
  ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(gTwainState, kStateEnabled);
}

// A batch of three stored frames: Scan queues the second, each MSG_ENDXFER
// takes the next with the batch counts, the last returns to 500.
TEST_F(ScanWindowTest, BatchOfThreeFramesTransfersEachFrame) {
  const int frameRows[3] = {8, 6, 4};
  for (int i = 0; i < 3; ++i) StoreFrame(kFirstFrameRecordId + i, frameRows[i]);
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);  // the notice that the batch is done
  ChooseScanMode(2, "Stapel Modus");
  ASSERT_TRUE(gBatchOutput);
  PressScan();
  TW_PENDINGXFERS pending = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, &pending), TWRC_SUCCESS);
  EXPECT_EQ(+pending.Count, 3);

  std::vector<uint8_t> first;
  const TW_UINT16 countsAfter[3] = {2, 1, 0};
  for (int i = 0; i < 3; ++i) {
    int rows = 0;
    std::vector<uint8_t> pixels = TakeNative(&rows);
    EXPECT_EQ(rows, frameRows[i]) << "frame " << i;
    if (i == 0) first = pixels;
    // Every frame starts at the image's top: its rows are the first frame's first rows.
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), first.begin())) << "frame " << i;
    ASSERT_EQ(Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS) << "frame " << i;
    EXPECT_EQ(+pending.Count, countsAfter[i]) << "frame " << i;
    EXPECT_EQ(gTwainState, i < 2 ? kStateTransferReady : kStateEnabled) << "frame " << i;
  }
}

}  // namespace
