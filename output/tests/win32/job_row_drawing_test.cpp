// Rows of the job list drawn into a memory DC: the pictures, the status mark
// and the thumbnail land where the row's layout puts them (compared with the
// bitmaps themselves, copied one to one), and a picture of three rows is kept
// as job_rows.bmp for a person to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "frames/frame_record_init.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_row.h"
#include "output/job_thumbnails.h"
#include "output/win32/job_row_win32.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

constexpr int kWidth = 320, kRowHeight = 62;

// A 32-bit top-down DIB section in a memory DC.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t At(int x, int y) const { return bits[y * width + x] & 0xFFFFFF; }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  uint32_t* bits = nullptr;
};

// The resource bitmap's pixels as drawn into a canvas of its size.
std::vector<uint32_t> PicturePixels(uint16_t id, int w, int h) {
  Canvas picture(w, h);
  HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, loaded);
  BitBlt(picture.dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
  GdiFlush();
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(loaded);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(picture.At(x, y));
  return pixels;
}

std::vector<uint32_t> Block(const Canvas& canvas, int left, int top, int w, int h) {
  std::vector<uint32_t> pixels;
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) pixels.push_back(canvas.At(x, y));
  return pixels;
}

void SaveBmp(const Canvas& canvas, const char* path) {
  GdiFlush();
  const uint32_t size = uint32_t(canvas.width) * canvas.height * 4;
  BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                           DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  BITMAPINFOHEADER info = {sizeof info, canvas.width, -canvas.height, 1, 32, BI_RGB, size, 0, 0, 0, 0};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(canvas.bits), size);
}

class JobRowDrawingTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    system_->strings.insert({{711, "Rahmen ohne Titel"}, {1613, "Kein Filter"}, {12, "Entrasterung"},
                             {650, "inch"}, {654, "dpi"}});
  }
  static void Prepare(JobItem& item, int status, uint8_t autoRun, uint8_t colour) {
    FrameInitInputs inputs = {};
    inputs.defaults = &gDefaults;
    InitFrameRecordWith(&item.frame, false, inputs);
    item.frame.filterMode = 0;
    item.frame.outputResolution = 300;
    item.frame.width = item.frame.height = 1000.0 / 300;
    item.frame.outputScaleX = item.frame.outputScaleY = 100;
    item.frame.colorMode = 2;
    item.frame.bitsPerChannel = 8;
    item.status = status;
    item.autoBeforeRun = autoRun;
    item.frame.colorExtras[0] = colour;
  }
};

TEST_F(JobRowDrawingTest, PicturesStatusAndThumbnailWhereTheLayoutSays) {
  JobItem item;
  Prepare(item, kJobWritten, 1, 1);
  item.thumbShown = CreateJobBitmap(40, 20, &item.thumbShownBits);
  ASSERT_NE(item.thumbShown, nullptr);
  item.thumbRect = {0, 0, 40, 20};
  for (int i = 0; i < 40 * 20; ++i) item.thumbShownBits[i] = 0x00123456;

  Canvas canvas(kWidth, kRowHeight);
  DrawJobRow(canvas.dc, RECT{0, 0, kWidth, kRowHeight}, ODA_DRAWENTIRE, 0, false, item);
  GdiFlush();
  const JobRowLayout layout = LayoutJobRow(item, kWidth, kRowHeight);
  ASSERT_EQ(layout.pictures.size(), 3u);  // 358, 366, 365
  for (const JobRowPicture& p : layout.pictures) {
    SCOPED_TRACE(p.id);
    EXPECT_EQ(Block(canvas, p.at.x, p.at.y, kRowPictureWidth, kRowPictureHeight),
              PicturePixels(p.id, kRowPictureWidth, kRowPictureHeight));
  }
  EXPECT_EQ(Block(canvas, kWidth - 15, kRowHeight - 15, kRowStatusSize, kRowStatusSize),
            PicturePixels(kRowWrittenPicture, kRowStatusSize, kRowStatusSize));
  // The thumbnail centred on (6, 6, 56, 56).
  EXPECT_EQ(Block(canvas, 11, 21, 40, 20), std::vector<uint32_t>(800, 0x123456));
  EXPECT_NE(canvas.At(10, 21), 0x123456u);
  EXPECT_NE(canvas.At(11, 20), 0x123456u);
  // The ground in the menu colour, the sunken edge's white line on the right.
  EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_MENU) >> 16 | (GetSysColor(COLOR_MENU) & 0xFF00) |
                                 (GetSysColor(COLOR_MENU) & 0xFF) << 16);
  EXPECT_EQ(canvas.At(kWidth - 2, 30), 0xFFFFFFu);
}

// Matched for the monitor, a copy of the thumbnail goes to the main
// window's matching at the thumbnail's place; what it draws stays.
TEST_F(JobRowDrawingTest, TheThumbnailIsMatchedThroughACopy) {
  static WinRect bitmapRect, destination;
  static uint32_t firstPixel;
  static void* matched;
  JobWindowHooks hooks;
  hooks.drawMatchedThumbnail = [](void* dc, void*, void* bitmap, uint32_t* bits, const WinRect& rect,
                                  const WinRect& place) {
    bitmapRect = rect, destination = place, firstPixel = bits[0], matched = bitmap;
    HBRUSH brush = CreateSolidBrush(RGB(0x10, 0x20, 0x30));
    RECT r = {place.left, place.top, place.right, place.bottom};
    FillRect(static_cast<HDC>(dc), &r, brush);
    DeleteObject(brush);
    return true;
  };
  InstallJobWindowHooks(hooks);
  JobItem item;
  Prepare(item, kJobToRun, 0, 0);
  item.thumbShown = CreateJobBitmap(40, 20, &item.thumbShownBits);
  item.thumbRect = {0, 0, 40, 20};
  for (int i = 0; i < 40 * 20; ++i) item.thumbShownBits[i] = 0x00123456;
  Canvas canvas(kWidth, kRowHeight);
  DrawJobRow(canvas.dc, RECT{0, 0, kWidth, kRowHeight}, ODA_DRAWENTIRE, 0, false, item);
  GdiFlush();
  InstallJobWindowHooks(JobWindowHooks());
  EXPECT_NE(matched, item.thumbShown);
  EXPECT_EQ(firstPixel, 0x00123456u);
  EXPECT_EQ(bitmapRect.right, 40);
  EXPECT_EQ(bitmapRect.bottom, 20);
  EXPECT_EQ(destination.left, 11);
  EXPECT_EQ(destination.top, 21);
  EXPECT_EQ(destination.right, 51);
  EXPECT_EQ(destination.bottom, 41);
  EXPECT_EQ(Block(canvas, 11, 21, 40, 20), std::vector<uint32_t>(800, 0x102030));
}

// Three rows one under the other: a written entry with its pictures, a
// selected one still to run, and the edited one that failed.
TEST_F(JobRowDrawingTest, APictureOfThreeRows) {
  Canvas canvas(kWidth, 3 * kRowHeight);
  JobItem written, selected, edited;
  Prepare(written, kJobWritten, 1, 1);
  Prepare(selected, kJobToRun, 0, 0);
  Prepare(edited, kJobFailed, 0, 1);
  edited.frame.hasName = 1;
  std::strcpy(edited.frame.name, "Dia 7");
  edited.frame.filterMode = 2;
  written.thumbShown = CreateJobBitmap(50, 25, &written.thumbShownBits);
  written.thumbRect = {0, 0, 50, 25};
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 50; ++x)
      written.thumbShownBits[y * 50 + x] = uint32_t(x * 5) << 16 | uint32_t(y * 10) << 8 | 160;
  DrawJobRow(canvas.dc, RECT{0, 0, kWidth, kRowHeight}, ODA_DRAWENTIRE, 0, false, written);
  DrawJobRow(canvas.dc, RECT{0, kRowHeight, kWidth, 2 * kRowHeight}, ODA_DRAWENTIRE, ODS_SELECTED, false, selected);
  DrawJobRow(canvas.dc, RECT{0, 2 * kRowHeight, kWidth, 3 * kRowHeight}, ODA_DRAWENTIRE, 0, true, edited);
  SaveBmp(canvas, "job_rows.bmp");
  // The selected row's inner rectangle is white, the others keep the menu colour.
  EXPECT_EQ(canvas.At(kWidth - 20, kRowHeight + 4), 0xFFFFFFu);
}

}  // namespace
