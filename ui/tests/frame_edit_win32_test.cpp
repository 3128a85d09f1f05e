// Frame editing on the real main window: presses on the preview control
// come as WM_LBUTTONDOWN, the drags that follow as scripted steps of cursor
// and buttons, and one drag as real mouse input (SendInput).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "color/color_profile_set.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/global_dib.h"
#include "foundation/scripted_system.h"
#include "foundation/system.h"
#include "foundation/system_services.h"
#include "frames/frame_list.h"
#include "frames/frame_panel.h"
#include "frames/orientation/preview_orientation.h"
#include "frames/panel_sizes.h"
#include "frames/win32/frame_page_win32.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/dialog_shell.h"
#include "ui/marked_points.h"
#include "ui/preview_cursor.h"
#include "ui/palette_state.h"
#include "ui/preview_geometry.h"
#include "ui/preview_pipette.h"
#include "ui/tone_hooks_install.h"
#include "tone/tone_window_hooks.h"
#include "ui/tests/frame_list_fixture.h"
#include "ui/win32/frame_overlay_win32.h"
#include "ui/win32/general_page_win32.h"
#include "ui/win32/main_caption_win32.h"

namespace {

constexpr int kPreviewControl = 1047;

struct Step {
  double x, y;  // inches
  bool held;
};

class MainWindowFrameEdit : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gScanAreaInches = {8.0, 6.0};
    gScanFrame.colorMode = 2;
    gScanFrame.bitsPerChannel = 8;
    gScanFrame.outputScaleX = gScanFrame.outputScaleY = 100.0f;
    gScanFrame.outputResolution = 300;
    ASSERT_TRUE(CreateMainDialog());
    dialog_ = static_cast<HWND>(gMainDialog);
    control_ = GetDlgItem(dialog_, kPreviewControl);
    RECT client;
    GetClientRect(control_, &client);
    pixelsPerInch_ = client.right / 8.0;
    ASSERT_GT(pixelsPerInch_, 10.0);
    // The prescan's image: a ramp in the unprocessed and the displayed preview.
    ASSERT_TRUE(AllocPreviewBuffers(client.bottom, client.right));
    FillGlobalDibGradient(gPreviewBaseDib, MakeColorRef(20, 40, 60), MakeColorRef(220, 200, 180), true);
    CopyGlobalDib(gPreviewBaseDib, gPreviewDib);
    // The current frame A, then B, in place of what the window started with.
    DeleteAllFrames();
    AppendFramesAt({DRect{1, 1, 2, 2}, DRect{4, 3, 2, 2}});
    InvalidateRect(control_, nullptr, TRUE);
    UpdateWindow(dialog_);
  }
  void TearDown() override {
    DestroyMainDialog();
    DeleteAllFrames();
    gFrameSizeLocks = SizeLocks{};
    gPreviewToolMode = 0;
    SetPreviewOrientation(0, 0, 0);
    ResetDataSourceState();
  }
  POINT InControl(double x, double y) const {
    return POINT{static_cast<LONG>(std::lround(x * pixelsPerInch_)), static_cast<LONG>(std::lround(y * pixelsPerInch_))};
  }
  POINT OnScreen(double x, double y) const {
    POINT p = InControl(x, y);
    ClientToScreen(control_, &p);
    return p;
  }
  // A press at (x, y) inches on the preview and the steps of the drag.
  void ScriptedDrag(double x, double y, const std::vector<Step>& steps) {
    ScopedScriptedSystem system;
    system->keysDown = {kVirtualKeyLeftButton};
    for (const Step& s : steps) {
      const POINT p = OnScreen(s.x, s.y);
      system->inputSteps.push_back(
          {WinPoint{p.x, p.y}, s.held ? std::set<int>{kVirtualKeyLeftButton} : std::set<int>{}});
    }
    const POINT press = InControl(x, y);
    SendMessageA(control_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  }
  void ExpectCurrent(double x, double y, double w, double h) const {
    const FrameRecord& f = FrameListHead()->frame;
    const double pixel = 1.0 / pixelsPerInch_;
    EXPECT_NEAR(f.originX, x, pixel);
    EXPECT_NEAR(f.originY, y, pixel);
    EXPECT_NEAR(f.width, w, pixel);
    EXPECT_NEAR(f.height, h, pixel);
  }

  HWND dialog_ = nullptr;
  HWND control_ = nullptr;
  double pixelsPerInch_ = 0.0;
};

TEST_F(MainWindowFrameEdit, ScriptedDragsDrawResizeAndSelect) {
  // A new frame on free space.
  ScriptedDrag(6.5, 0.5, {{7.0, 1.0, true}, {7.5, 1.5, true}, {7.5, 1.5, false}});
  ASSERT_EQ(CountFrames(), 3);
  ExpectCurrent(6.5, 0.5, 1.0, 1.0);

  // A back to the head, then its bottom-right corner with the width lock.
  ScriptedDrag(2.0, 2.0, {{2.0, 2.0, false}});
  ExpectCurrent(1, 1, 2, 2);
  gFrameSizeLocks = SizeLocks{true, false, false};
  ScriptedDrag(3.0, 3.0, {{3.5, 3.2, true}, {4.0, 3.4, true}, {4.0, 3.4, false}});
  ExpectCurrent(1, 1, 3, 3);
  const FrameRecord& a = FrameListHead()->frame;
  EXPECT_NEAR(a.width, a.height, 1e-9);
  EXPECT_NEAR(a.outputScaleX, 100.0 * 2.0 / a.width, 1e-3);

  // A press on B selects it.
  ScriptedDrag(5.8, 4.8, {{5.8, 4.8, false}});
  ExpectCurrent(4, 3, 2, 2);
  EXPECT_EQ(CountFrames(), 3);
}

// The window carries the frame page; selecting another frame shows that frame there.
TEST_F(MainWindowFrameEdit, SelectingAFrameShowsItOnTheFramePage) {
  ASSERT_NE(gPaletteFramePage, nullptr);
  ASSERT_EQ(GetParent(gPaletteFramePage), dialog_);
  FrameRecord& b = FrameListHead()->next->frame;
  b.qualityFactor = 1.7;
  b.outputResolution = 255;
  ScriptedDrag(5.8, 4.8, {{5.8, 4.8, false}});
  ExpectCurrent(4, 3, 2, 2);
  char text[64] = "";
  GetDlgItemTextA(gPaletteFramePage, kQualityFactorField, text, sizeof text);
  EXPECT_STREQ(text, "1.7");
  GetDlgItemTextA(gPaletteFramePage, kOutputResolutionField, text, sizeof text);
  EXPECT_STREQ(text, "255");
}

TEST_F(MainWindowFrameEdit, TheDeleteButtonRemovesTheCurrentFrameButNotTheLast) {
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1223, BN_CLICKED), 0);
  ASSERT_EQ(CountFrames(), 1);
  ExpectCurrent(4, 3, 2, 2);

  // On the last frame the button asks first; No keeps frame and preview.
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerNo);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1223, BN_CLICKED), 0);
    ASSERT_EQ(prompts.Asked().size(), 1u);
    EXPECT_EQ(prompts.Asked(0).title, "Warnung");
    EXPECT_EQ(prompts.Asked(0).text,
              "M\xF6" "chten Sie wirklich ALLE Previews, Preview-Dateien und die Rahmenparameter l\xF6" "schen?");
  }
  EXPECT_EQ(CountFrames(), 1);
  ExpectCurrent(4, 3, 2, 2);
  EXPECT_NE(gPreviewDib, nullptr);

  // Yes: the frame covers the scan area again with the defaults; the preview is gone.
  FrameListHead()->frame.globalColorRanges = 1;
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerYes);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1223, BN_CLICKED), 0);
  }
  ASSERT_EQ(CountFrames(), 1);
  ExpectCurrent(0, 0, 8, 6);
  EXPECT_EQ(FrameListHead()->frame.globalColorRanges, 7);
  EXPECT_EQ(gPreviewDib, nullptr);
}

TEST_F(MainWindowFrameEdit, TheDeleteButtonDoesNothingWhileZoomed) {
  gPreviewZoomed = true;
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1223, BN_CLICKED), 0);
  gPreviewZoomed = false;
  EXPECT_EQ(CountFrames(), 2);
}

// White pixels (the text's background) in the corner where a frame's number goes.
int WhitePixelsAtLabel(HWND control, POINT corner) {
  HDC dc = GetDC(control);
  int white = 0;
  for (int y = corner.y + 4; y < corner.y + 12; ++y)
    for (int x = corner.x + 4; x < corner.x + 10; ++x) white += GetPixel(dc, x, y) == RGB(255, 255, 255);
  ReleaseDC(control, dc);
  return white;
}

// The button is held until the window asks for the first time; what the
// preview shows then is kept.
class HeldOnce : public PlatformServicesForwarder {
 public:
  HeldOnce(HWND control, POINT first, POINT second) : control_(control), first_(first), second_(second) {}
  bool AsyncKeyDown(int key) override {
    if (key != kVirtualKeyLeftButton) return PlatformServicesForwarder::AsyncKeyDown(key);
    if (asked_++ > 0) return false;
    whileHeld[0] = WhitePixelsAtLabel(control_, first_);
    whileHeld[1] = WhitePixelsAtLabel(control_, second_);
    return true;
  }
  int whileHeld[2] = {0, 0};

 private:
  HWND control_;
  POINT first_, second_;
  int asked_ = 0;
};

TEST_F(MainWindowFrameEdit, FrameNumbersShowWhileTheButtonIsHeld) {
  const POINT a = InControl(1, 1), b = InControl(4, 3);
  ASSERT_EQ(WhitePixelsAtLabel(control_, a), 0);
  HeldOnce held(control_, a, b);
  InstallSystemServices(&held);
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1225, BN_CLICKED), 0);
  InstallSystemServices(nullptr);
  EXPECT_GT(held.whileHeld[0], 0);
  EXPECT_GT(held.whileHeld[1], 0);
  EXPECT_EQ(WhitePixelsAtLabel(control_, a), 0);
  EXPECT_EQ(WhitePixelsAtLabel(control_, b), 0);
}

TEST_F(MainWindowFrameEdit, TheRotateButtonTurnsThePreviewAndStoresTheTurnInTheFrame) {
  RECT before;
  GetClientRect(control_, &before);
  ASSERT_GT(before.right, before.bottom);
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1221, BN_CLICKED), 0);
  EXPECT_EQ(PreviewQuarterTurns(), 1);
  EXPECT_EQ(FrameListHead()->frame.quarterTurns, 1);
  RECT after;
  GetClientRect(control_, &after);
  EXPECT_LT(after.right, after.bottom);  // the scan area stands upright

  // Shift turns back, unless exactly one mirror reverses the turning.
  struct Case {
    bool shift;
    bool mirrorH;
    int expected;
  };
  for (const Case& c : {Case{true, false, 0}, Case{true, true, 1}, Case{false, true, 0}}) {
    SetPreviewOrientation(c.mirrorH, 0, static_cast<uint16_t>(PreviewQuarterTurns()));
    ScopedScriptedSystem system;
    if (c.shift) system->keysDown = {0x10};
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1221, BN_CLICKED), 0);
    EXPECT_EQ(PreviewQuarterTurns(), c.expected) << "shift " << c.shift << ", mirror " << c.mirrorH;
    EXPECT_EQ(FrameListHead()->frame.quarterTurns, c.expected);
    EXPECT_EQ(FrameListHead()->frame.mirrorH, c.mirrorH ? 1 : 0);
  }
}

TEST_F(MainWindowFrameEdit, ATinyDragOnFreeSpaceLeavesNoFrame) {
  ScriptedDrag(6.5, 0.5, {{6.55, 2.0, true}, {6.55, 2.0, false}});
  EXPECT_EQ(CountFrames(), 2);
  ExpectCurrent(1, 1, 2, 2);
}

// ZIR_HOLD_WINDOW_MS keeps the window up that long (messages pumped), to take a screenshot.
void HoldForLooking() {
  const char* hold = std::getenv("ZIR_HOLD_WINDOW_MS");
  const DWORD end = GetTickCount() + (hold ? static_cast<DWORD>(std::atoi(hold)) : 0);
  MSG message;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

TEST_F(MainWindowFrameEdit, TheFocusMarkerAndTheMarchingOutline) {
  FrameListHead()->frame.focusMode = 1;
  InvalidateRect(control_, nullptr, TRUE);
  UpdateWindow(control_);
  // The focus marker's cross, ANDed onto the ramp, is black at the frame's centre.
  const POINT centre = InControl(2.0, 2.0);
  HDC dc = GetDC(control_);
  EXPECT_EQ(GetPixel(dc, centre.x, centre.y), RGB(0, 0, 0));
  EXPECT_NE(GetPixel(dc, centre.x + 3, centre.y + 3), RGB(0, 0, 0));
  ReleaseDC(control_, dc);
  // Each tick advances the current frame's style, eight styles round.
  const uint16_t first = CurrentFrameAnimatedStyle();
  for (int tick = 1; tick <= 8; ++tick) {
    AnimateCurrentFrameOutline(control_);
    EXPECT_EQ(CurrentFrameAnimatedStyle(), (first + tick) % 8);
  }
  HoldForLooking();
}

TEST_F(MainWindowFrameEdit, TheNeutralPointsShowWhileTheNeutralPipetteIsChosen) {
  InstallUserInterfaceToneHooks();
  // One neutral point of the current frame, inside it: a quarter across and 0.4 down the scan area.
  FrameRecord& frame = FrameListHead()->frame;
  frame.fixedPoints[0] = FramePoint{0.25, 0.4};
  for (ToneBlock& block : frame.tone) block.fixedPointValues[0] = ToneFixedPointValue{100, 120};
  gPreviewToolMode = kPipetteToolMode;
  RECT client;
  GetClientRect(control_, &client);
  const POINT centre{std::lround(client.right * 0.25), std::lround(client.bottom * 0.4)};
  // The pipette tip of marker 461 passes two pixels above its centre; the ramp is nowhere black.
  for (const uint16_t kind : {kPipetteNeutral, kPipetteBlack}) {
    gPipetteKind = kind;
    InvalidateRect(control_, nullptr, TRUE);
    UpdateWindow(control_);
    HDC dc = GetDC(control_);
    EXPECT_EQ(GetPixel(dc, centre.x, centre.y - 2) == RGB(0, 0, 0), kind == kPipetteNeutral) << kind;
    ReleaseDC(control_, dc);
  }
  InstallToneWindowHooks(ToneWindowHooks{});
}

TEST_F(MainWindowFrameEdit, TheFocusPointFollowsTheDraggedMarker) {
  FrameListHead()->frame.focusMode = 2;
  gPreviewToolMode = 9;
  ScriptedDrag(2.0, 2.0, {{2.5, 2.2, true}, {2.6, 2.4, true}, {2.6, 2.4, false}});
  EXPECT_EQ(gPreviewToolMode, 0);
  const double* focus = FrameListHead()->frame.focusRect;
  const double pixel = 1.0 / pixelsPerInch_;
  EXPECT_NEAR(focus[0] + focus[2] / 2, 2.6, 2 * pixel);
  EXPECT_NEAR(focus[1] + focus[3] / 2, 2.4, 2 * pixel);
  // Repainted, the marker shows at the new place.
  UpdateWindow(control_);
  const POINT corner = InControl(focus[0], focus[1]);
  HDC dc = GetDC(control_);
  EXPECT_EQ(GetPixel(dc, corner.x + 7, corner.y + 7), RGB(0, 0, 0));  // the 15-pixel marker's centre
  ReleaseDC(control_, dc);
}

void SendMouse(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

// Set when the window thread takes the press off its queue: a person holds the
// button until the window has reacted, however slowly a loaded machine runs.
std::atomic<bool> gPressTaken{false};

LRESULT CALLBACK NotePress(int code, WPARAM message, LPARAM info) {
  if (code == HC_ACTION && message == WM_LBUTTONDOWN) gPressTaken = true;
  return CallNextHookEx(nullptr, code, message, info);
}

bool WaitFor(const std::atomic<bool>& flag, DWORD milliseconds) {
  for (DWORD waited = 0; !flag && waited < milliseconds; waited += 10) Sleep(10);
  return flag;
}

TEST_F(MainWindowFrameEdit, ARealMouseDragDrawsANewFrame) {
  // Other tests' windows share the display: keep ours above them.
  SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(dialog_);
  const POINT from = OnScreen(6.5, 0.5), to = OnScreen(7.5, 1.5);
  if (WindowFromPoint(from) != control_) GTEST_SKIP() << "another window covers the preview";
  gPressTaken = false;
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, NotePress, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  std::atomic<bool> done{false}, pressSeen{false};
  std::thread person([&] {
    SendMouse(0, from);
    Sleep(150);
    SendMouse(MOUSEEVENTF_LEFTDOWN, from);
    pressSeen = WaitFor(gPressTaken, 10000);
    Sleep(100);
    for (int i = 1; i <= 5; ++i) {
      SendMouse(0, POINT{from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5});
      Sleep(60);
    }
    Sleep(300);
    SendMouse(MOUSEEVENTF_LEFTUP, to);
    Sleep(200);
    done = true;
  });
  MSG message;
  while (!done) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  person.join();
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  UnhookWindowsHookEx(hook);
  ASSERT_TRUE(pressSeen) << "the press never reached the window";
  ASSERT_EQ(CountFrames(), 3) << "the real drag drew no frame";
  ExpectCurrent(6.5, 0.5, 1.0, 1.0);
}

// The preview control's paints, each by the rectangle it had to paint.
std::vector<RECT> gPaintedRects;
WNDPROC gPaintingProc = nullptr;

LRESULT CALLBACK RecordPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RECT r;
  if (message == WM_PAINT && GetUpdateRect(window, &r, FALSE)) gPaintedRects.push_back(r);
  return CallWindowProcA(gPaintingProc, window, message, wParam, lParam);
}

TEST_F(MainWindowFrameEdit, TheExtremesButtonMarksTheBrightestThenTheDarkestPointOfTheFrame) {
  const ModuleHandle module = GetModuleInstance();
  SetModuleInstance(GetModuleHandleA(nullptr));
  // Inside frame A (1..3 inches), beyond the ramp's range either way.
  const POINT bright = InControl(2.5, 2.0), dark = InControl(1.5, 2.5);
  auto paint = [](POINT at, uint8_t v) {
    uint8_t* p = GlobalDibBits(gPreviewDib) + at.y * GlobalDibStride(gPreviewDib) + at.x * 4;
    p[0] = p[1] = p[2] = v;
  };
  paint(bright, 255);
  paint(dark, 0);
  // The cursor in the button's upper half with the button held, then in its lower half, then released.
  RECT button;
  GetWindowRect(GetDlgItem(dialog_, 1224), &button);
  const LONG x = (button.left + button.right) / 2;
  ScopedScriptedSystem system;
  system->keysDown = {kVirtualKeyLeftButton};
  system->inputSteps = {{WinPoint{x, button.top + 1}, {kVirtualKeyLeftButton}},
                        {WinPoint{x, button.bottom - 2}, {kVirtualKeyLeftButton}},
                        {WinPoint{x, button.bottom - 2}, {}}};
  gPaintedRects.clear();
  gPaintingProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPaints)));
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1224, BN_CLICKED), 0);
  SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPaintingProc));
  SetModuleInstance(module);

  // The 15-pixel marker centred on each point: the bright one goes when the
  // cursor moves to the lower half, both marked areas at the end.
  const RECT brightMarker = {bright.x - 7, bright.y - 7, bright.x + 8, bright.y + 8};
  const RECT darkMarker = {dark.x - 7, dark.y - 7, dark.x + 8, dark.y + 8};
  ASSERT_EQ(gPaintedRects.size(), 2u);
  EXPECT_TRUE(EqualRect(&gPaintedRects[0], &brightMarker)) << gPaintedRects[0].left << "," << gPaintedRects[0].top;
  RECT both;
  UnionRect(&both, &brightMarker, &darkMarker);
  EXPECT_TRUE(EqualRect(&gPaintedRects[1], &both)) << gPaintedRects[1].left << "," << gPaintedRects[1].top;
}

// The cursor rests in the upper half of the extremes button; the left button
// is held until the window asks for the second time. At the first question
// the marker is on the preview: its pixels are read, and the window is kept
// as a picture (extremes_marker.bmp beside the test) to be looked at.
class HeldOverTheButton : public PlatformServicesForwarder {
 public:
  HeldOverTheButton(HWND dialog, HWND control, POINT point, WinPoint cursor)
      : dialog_(dialog), control_(control), point_(point), cursor_(cursor) {}
  bool AsyncKeyDown(int key) override {
    if (key != kVirtualKeyLeftButton) return PlatformServicesForwarder::AsyncKeyDown(key);
    if (asked_++ > 0) return false;
    HDC dc = GetDC(control_);
    centre = GetPixel(dc, point_.x, point_.y);
    ring = GetPixel(dc, point_.x, point_.y - 6);
    inside = GetPixel(dc, point_.x - 3, point_.y);
    ReleaseDC(control_, dc);
    kept = WriteWindowPicture(dialog_, "extremes_marker.bmp");
    return true;
  }
  WinPoint CursorPosition() override { return cursor_; }

  COLORREF centre = 0, ring = 0, inside = 0;
  bool kept = false;

 private:
  // The window's own pixels (what it drew, before the display shows it), as a 24-bit .bmp.
  static bool WriteWindowPicture(HWND window, const char* path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP section =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    const DWORD imageBytes = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof file + sizeof header + imageBytes), 0, 0,
                             DWORD(sizeof file + sizeof header)};
    FILE* out = std::fopen(path, "wb");
    const bool written = out && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&header, sizeof header, 1, out) == 1 &&
                         std::fwrite(bits, imageBytes, 1, out) == 1;
    if (out) std::fclose(out);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return written;
  }

  HWND dialog_, control_;
  POINT point_;
  WinPoint cursor_;
  int asked_ = 0;
};

TEST_F(MainWindowFrameEdit, TheExtremesMarkerShowsOnThePreviewWhileTheButtonIsHeld) {
  const ModuleHandle module = GetModuleInstance();
  SetModuleInstance(GetModuleHandleA(nullptr));
  const POINT bright = InControl(2.5, 2.0);
  uint8_t* p = GlobalDibBits(gPreviewDib) + bright.y * GlobalDibStride(gPreviewDib) + bright.x * 4;
  p[0] = p[1] = p[2] = 255;
  RECT button;
  GetWindowRect(GetDlgItem(dialog_, 1224), &button);
  HeldOverTheButton held(dialog_, control_, bright, WinPoint{(button.left + button.right) / 2, button.top + 1});
  InstallSystemServices(&held);
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1224, BN_CLICKED), 0);
  InstallSystemServices(nullptr);
  SetModuleInstance(module);
  // The marker's black ring and centre dot over the point; between them the preview shows.
  EXPECT_EQ(held.centre, RGB(0, 0, 0));
  EXPECT_EQ(held.ring, RGB(0, 0, 0));
  EXPECT_NE(held.inside, RGB(0, 0, 0));
  EXPECT_TRUE(held.kept);
  HDC dc = GetDC(control_);
  EXPECT_EQ(GetPixel(dc, bright.x, bright.y), RGB(255, 255, 255)) << "the marker is gone once the button is up";
  ReleaseDC(control_, dc);
}

TEST_F(MainWindowFrameEdit, AResizedWindowGrowsThePreviewAndKeepsTheFramesInTheScanArea) {
  FrameRecord& b = FrameListHead()->next->frame;
  b.originX = 7.0;
  b.originY = 5.0;
  RECT window, before;
  GetWindowRect(dialog_, &window);
  GetClientRect(control_, &before);
  SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left + 80, window.bottom - window.top + 60,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT after;
  GetClientRect(control_, &after);
  EXPECT_EQ(after.right, before.right + 80);
  EXPECT_EQ(after.bottom, before.bottom + 60);
  EXPECT_DOUBLE_EQ(b.originX, 6.0);
  EXPECT_DOUBLE_EQ(b.originY, 4.0);
  EXPECT_DOUBLE_EQ(b.width, 2.0);
  EXPECT_DOUBLE_EQ(b.height, 2.0);
}

// At the window's first size the frame page, cut to its controls, lies
// below the general page and inside the client area.
TEST_F(MainWindowFrameEdit, TheFramePageFitsTheFirstWindow) {
  ASSERT_NE(gPaletteGeneralPage, nullptr);
  ASSERT_NE(gPaletteFramePage, nullptr);
  RECT client, general, page;
  GetClientRect(dialog_, &client);
  GetWindowRect(gPaletteGeneralPage, &general);
  GetWindowRect(gPaletteFramePage, &page);
  EXPECT_EQ(page.top, general.bottom);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&page), 2);
  EXPECT_LE(page.bottom, client.bottom);
}

// Made short, the window keeps the frame page inside its client area.
TEST_F(MainWindowFrameEdit, AShortWindowKeepsTheFramePageInside) {
  ASSERT_NE(gPaletteFramePage, nullptr);
  RECT window;
  GetWindowRect(dialog_, &window);
  SetWindowPos(dialog_, nullptr, 0, 0, window.right - window.left, 120, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, page;
  GetClientRect(dialog_, &client);
  GetWindowRect(gPaletteFramePage, &page);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&page), 2);
  EXPECT_GT(page.top, 0);
  EXPECT_LE(page.bottom, client.bottom);
}

// Under the output conversion the caption names the separation the preview shows.
TEST_F(MainWindowFrameEdit, TheCaptionNamesTheShownSeparation) {
  auto caption = [&] {
    char text[256] = "";
    GetWindowTextA(dialog_, text, sizeof text);
    return std::string(text);
  };
  auto endsWith = [](const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  };
  gOutputConversionView = 1;
  gColorProfileSet.cmykMode = 5;
  gColorProfileSet.proofChannel = 1;
  SetMainCaption();
  EXPECT_TRUE(endsWith(caption(), " (Magenta)")) << caption();
  gColorProfileSet.proofChannel = kProofAllInks;
  SetMainCaption();
  EXPECT_TRUE(endsWith(caption(), " (CMYK)")) << caption();
  // Mode 3 converts nothing the preview shows: no channel part.
  gColorProfileSet.cmykMode = 3;
  SetMainCaption();
  EXPECT_FALSE(endsWith(caption(), ")")) << caption();
  gOutputConversionView = 0;
  gColorProfileSet.cmykMode = 0;
}

}  // namespace

TEST_F(MainWindowFrameEdit, ShiftOverTheExtremesButtonShowsItsHalfsCursorAndAClickFixesThatPoint) {
  const ModuleHandle module = GetModuleInstance();
  SetModuleInstance(GetModuleHandleA(nullptr));
  const POINT bright = InControl(2.5, 2.0), dark = InControl(1.5, 2.5);
  for (const auto& [at, v] : {std::pair<POINT, uint8_t>{bright, 255}, {dark, 0}}) {
    uint8_t* p = GlobalDibBits(gPreviewDib) + at.y * GlobalDibStride(gPreviewDib) + at.x * 4;
    p[0] = p[1] = p[2] = v;
  }
  HWND button = GetDlgItem(dialog_, 1224);
  RECT r;
  GetWindowRect(button, &r);
  const LONG x = (r.left + r.right) / 2;
  ScopedScriptedSystem system;
  const struct {
    LONG y;
    uint16_t cursor;
    POINT point;
  } cases[] = {{r.top + 1, 429, bright}, {r.bottom - 2, 430, dark}};
  for (int i = 0; i < 2; ++i) {
    const auto& c = cases[i];
    system->keysDown = {VK_SHIFT};
    system->cursor = WinPoint{x, c.y};
    SetCursor(nullptr);
    EXPECT_TRUE(SendMessageA(dialog_, WM_SETCURSOR, reinterpret_cast<WPARAM>(button), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.cursor))) << c.cursor;
    EXPECT_EQ(gSpecialCursorId, c.cursor);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1224, BN_CLICKED), 0);
    const MarkedPoint& point = gMarkedPoints[i];
    EXPECT_TRUE(point.set) << c.cursor;
    EXPECT_EQ(point.px, c.point.x) << c.cursor;
    EXPECT_EQ(point.py, c.point.y) << c.cursor;
    EXPECT_NEAR(point.x, c.point.x / pixelsPerInch_, 1e-9);
  }
  // Without Shift the button shows the extremes instead and fixes no point.
  system->keysDown = {};
  SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(1224, BN_CLICKED), 0);
  EXPECT_FALSE(gMarkedPoints[2].set);
  EXPECT_TRUE(system->beeps.empty());
  SetModuleInstance(module);
}
