// Dialog 434 "JPEG-Optionen" run for real over an owner window. A robot
// thread plays the person: it moves the slider with the keyboard, picks a
// radio button and presses OK or "Abbrechen", noting what the dialog showed;
// the test then reads the stored record's bytes. The dialog as it opened is
// kept as jpeg_options.bmp for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "output/jpeg_options.h"
#include "state/data_source_state.h"

namespace {

const char* kCases = "jpeg_dialog_cases\\";

// What the person saw when the dialog opened.
struct Seen {
  std::string caption;
  int step = 0, minimum = 0, maximum = 0;
  int checkedRadio = 0;
};

// The window as the screen shows it, into a 24-bit bitmap file.
void SaveWindowBitmap(HWND window, const char* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // Painted now, the dialog's thread has handled it when the null message returns.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageA(window, WM_NULL, 0, 0);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD size = ((width * 3 + 3) & ~3) * height;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfSize = static_cast<DWORD>(sizeof file + sizeof info + size);
  file.bfOffBits = sizeof file + sizeof info;
  if (FILE* out = std::fopen(path, "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(bits, size, 1, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

class JpegOptionsDialog : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    owner_ = CreateWindowExA(0, "STATIC", "Besitzer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 600, 400, nullptr,
                             nullptr, nullptr, nullptr);
    CreateFolder(kCases);
    const std::string file = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((std::string(kCases) + file).c_str());
    gAppStore = OpenOrCreateFile(file.c_str(), kCases);
    ASSERT_NE(gAppStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    DestroyWindow(owner_);
    ResetDataSourceState();
  }

  // Runs the dialog while the robot notes what it shows and does the steps.
  int Run(Seen* seen, std::function<void(HWND)> steps, const char* shot = nullptr) {
    std::thread robot([seen, steps, shot] {
      for (int i = 0; i < 400; ++i) {
        HWND dialog = FindWindowA("#32770", "JPEG-Optionen");
        if (dialog && IsWindowVisible(dialog)) {
          char caption[64] = {};
          GetWindowTextA(dialog, caption, sizeof caption);
          seen->caption = caption;
          HWND slider = GetDlgItem(dialog, 1477);
          seen->step = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
          seen->minimum = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
          seen->maximum = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
          for (int radio = 1482; radio <= 1484; ++radio)
            if (IsDlgButtonChecked(dialog, radio) == BST_CHECKED) seen->checkedRadio = radio;
          if (shot) SaveWindowBitmap(dialog, shot);
          steps(dialog);
          return;
        }
        Sleep(25);
      }
      ExitProcess(3);  // no dialog within 10 s: the modal loop would wait for ever
    });
    const int result = RunJpegOptionsDialog(owner_);
    robot.join();
    return result;
  }

  static void Click(HWND dialog, int item) { SendDlgItemMessageA(dialog, item, BM_CLICK, 0, 0); }
  // A key pressed on the slider, as the keyboard delivers it.
  static void Key(HWND dialog, int item, WPARAM key, int times) {
    HWND control = GetDlgItem(dialog, item);
    for (int i = 0; i < times; ++i) {
      SendMessageA(control, WM_KEYDOWN, key, 0);
      SendMessageA(control, WM_KEYUP, key, 0);
    }
  }
  static void Store(const JpegOptions& options) {
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kJpegOptionsType, kJpegOptionsId, &options, sizeof options, "x"));
  }
  static std::string StoredBytes() {
    uint8_t bytes[8] = {};
    if (!RecordStoreRead(gAppStore, kJpegOptionsType, kJpegOptionsId, bytes, sizeof bytes)) return "<none>";
    char text[40];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
                  bytes[5], bytes[6], bytes[7]);
    return text;
  }

  HWND owner_ = nullptr;
};

TEST_F(JpegOptionsDialog, DefaultsShownAndTheChoiceSaved) {
  Seen seen;
  const int result = Run(&seen, [](HWND dialog) {
    Key(dialog, 1477, VK_RIGHT, 1);
    Click(dialog, 1484);
    Click(dialog, IDOK);
  }, "jpeg_options.bmp");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(seen.caption, "JPEG-Optionen");
  EXPECT_EQ(seen.minimum, 1);
  EXPECT_EQ(seen.maximum, 10);
  EXPECT_EQ(seen.step, 8);
  EXPECT_EQ(seen.checkedRadio, 1482);
  // Step 9 is quality 93; progressive alone.
  EXPECT_EQ(StoredBytes(), "1 0 93 0 0 0 1 0");
  char name[kRecordNameSize] = {};
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kJpegOptionsType, kJpegOptionsId, name));
  EXPECT_STREQ(name, "JPEGOptions");
}

TEST_F(JpegOptionsDialog, AQualityOutsideTheStepsShowsStep8AndIsSavedAs90) {
  Store(JpegOptions{1, 88, 0, 1, 0, 0});
  Seen seen;
  EXPECT_EQ(Run(&seen, [](HWND dialog) { Click(dialog, IDOK); }), 1);
  EXPECT_EQ(seen.step, 8);
  EXPECT_EQ(seen.checkedRadio, 1483);
  EXPECT_EQ(StoredBytes(), "1 0 90 0 0 1 0 0");
}

TEST_F(JpegOptionsDialog, CancelKeepsTheStoredRecord) {
  Store(JpegOptions{1, 50, 0, 0, 1, 0});
  Seen seen;
  EXPECT_EQ(Run(&seen, [](HWND dialog) {
              Key(dialog, 1477, VK_LEFT, 2);
              Click(dialog, 1482);
              Click(dialog, IDCANCEL);
            }),
            1);
  EXPECT_EQ(seen.step, 3);
  EXPECT_EQ(seen.checkedRadio, 1484);
  EXPECT_EQ(StoredBytes(), "1 0 50 0 0 0 1 0");
}

TEST_F(JpegOptionsDialog, AStoredRecordOfVersion2IsIgnored) {
  Store(JpegOptions{2, 30, 0, 1, 0, 0});
  Seen seen;
  EXPECT_EQ(Run(&seen, [](HWND dialog) { Click(dialog, IDCANCEL); }), 1);
  EXPECT_EQ(seen.step, 8);
  EXPECT_EQ(seen.checkedRadio, 1482);
}

}  // namespace
