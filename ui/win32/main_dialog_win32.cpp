#include "ui/win32/main_dialog_win32.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "foundation/dialogs/alerts.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "foundation/win32/global_dib_draw_win32.h"
#include "frames/frame_list.h"
#include "frames/frame_panel.h"
#include "frames/orientation/preview_orientation.h"
#include "frames/param_snapshot.h"
#include "frames/win32/frame_page_win32.h"
#include "ui/brightness_extremes.h"
#include "ui/frame_mouse_edit.h"
#include "ui/win32/frame_edit_view_win32.h"
#include "ui/win32/frame_overlay_win32.h"
#include "ui/win32/general_page_win32.h"
#include "output/file_output.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/prescan.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/frame_region_refresh.h"
#include "ui/frame_settings_reset.h"
#include "ui/main_commands.h"
#include "ui/main_window_layout.h"
#include "ui/marked_points.h"
#include "ui/preview_cursor.h"
#include "ui/preview_geometry.h"
#include "ui/preview_orientation_store.h"
#include "ui/preview_param.h"
#include "ui/preview_pipette.h"
#include "ui/win32/brightness_extremes_win32.h"
#include "ui/win32/image_session_win32.h"
#include "ui/win32/main_caption_win32.h"
#include "ui/ui_state_records.h"
#include "ui/win32/dialog_placement.h"
#include "ui/win32/dialog_positions_win32.h"
#include "ui/win32/dialog_size_win32.h"
#include "ui/window_state_records.h"

namespace {

constexpr int kPreviewControl = 1047;
constexpr int kPreviewFrame = 1081;
constexpr int kHintLine = 1214;
constexpr int kVirtualKeyAlt = 0x12;
constexpr int kVirtualKeyShift = 0x10;
constexpr int kBorderZone = 4;
constexpr int kMainDialogSlot = 0;
constexpr int kPageGap = 8;  // between the preview and the general page
constexpr uint32_t kWarningCaption = 500;
constexpr uint32_t kDeleteEverythingAlert = 505;
constexpr uint32_t kHoldPollMilliseconds = 10;

WNDPROC gPreviewControlProc = nullptr;
HCURSOR gPreviewClassCursor = nullptr;

HWND PreviewControl(HWND dialog) { return GetDlgItem(dialog, kPreviewControl); }

DRect CurrentFrameRect() {
  const FrameRecord* f = gCurrentFrame;
  return f ? DRect{f->originX, f->originY, f->width, f->height} : DRect{};
}

RECT ItemRectInDialog(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// With the preview image its rows, oriented and matched for the monitor, else the control's face lightened a little.
void PaintPreview(HWND dialog, HDC dc) {
  if (gPreviewDib) {
    DrawGlobalDibRows(gPreviewDib, dialog, kPreviewControl, dc, 0, 0, true);
    return;
  }
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  auto light = [](int v) { return std::min(v, 247) + 8; };
  HBRUSH brush = CreateSolidBrush(RGB(light(GetRValue(face)), light(GetGValue(face)), light(GetBValue(face))));
  RECT client;
  GetClientRect(PreviewControl(dialog), &client);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

// The window minus the preview control, kept from the last layout for WM_SIZE.
SIZE gDialogExtra = {};
bool gLayoutDone = false;

// The preview's height over its width, as the control shows the scan area.
double PreviewRatio() {
  double ratio = gScanAreaInches.width > 0 ? gScanAreaInches.height / gScanAreaInches.width : 1.0;
  return OrientationSwapAxes() ? 1.0 / ratio : ratio;
}

MainWindowSizing CurrentSizing() {
  MinimumPreviewInputs minimum = {};
  GetDeviceScanExtent(&minimum.extentWidth, &minimum.extentHeight);
  if (OrientationSwapAxes()) std::swap(minimum.extentWidth, minimum.extentHeight);
  minimum.minPercent = GetDeviceScaleLimits().minPercent;
  minimum.factorA = kPreviewFactorA;
  minimum.factorB = kPreviewFactorB;
  // Until the frame panel exists, no panel height raises the minimum.
  minimum.panelHeight = 0;
  minimum.ratio = PreviewRatio();
  MainWindowSizing sizing = {};
  sizing.ratio = minimum.ratio;
  MinimumPreviewSize(&sizing.minWidth, &sizing.minHeight, minimum);
  sizing.extraWidth = gDialogExtra.cx;
  sizing.extraHeight = gDialogExtra.cy;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  sizing.work = WinRect{work.left, work.top, work.right, work.bottom};
  return sizing;
}

// A page's width or height; 0 without the page.
LONG PageWidth(HWND page) {
  RECT r = {};
  if (page) GetWindowRect(page, &r);
  return r.right - r.left;
}
LONG PageHeight(HWND page) {
  RECT r = {};
  if (page) GetWindowRect(page, &r);
  return r.bottom - r.top;
}

// The preview control at width x height, its frame 4 pixels round it, the
// hint line below it and the pages beside it.
void PlacePreviewControls(HWND dialog, LONG width, LONG height) {
  const RECT preview = ItemRectInDialog(dialog, kPreviewControl);
  MoveWindow(PreviewControl(dialog), preview.left, preview.top, width, height, FALSE);
  MoveWindow(GetDlgItem(dialog, kPreviewFrame), preview.left - 4, preview.top - 4, width + 8, height + 8, FALSE);
  const RECT hint = ItemRectInDialog(dialog, kHintLine);
  MoveWindow(GetDlgItem(dialog, kHintLine), preview.left, preview.top + height + 6, hint.right - hint.left,
             hint.bottom - hint.top, FALSE);
  if (gPaletteGeneralPage)
    SetWindowPos(gPaletteGeneralPage, nullptr, preview.left + width + kPageGap, preview.top - 4, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  if (gPaletteFramePage)
    SetWindowPos(gPaletteFramePage, nullptr, preview.left + width + kPageGap,
                 preview.top - 4 + PageHeight(gPaletteGeneralPage), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  gPreviewClientRect = WinRect{preview.left, preview.top, preview.left + width, preview.top + height};
}

// The preview pass over the whole scan area at the control's size, and the
// preview buffers remade at that size from the stored preview.
void PreparePreviewPass() {
  const LONG width = gPreviewClientRect.right - gPreviewClientRect.left;
  const LONG height = gPreviewClientRect.bottom - gPreviewClientRect.top;
  FrameRecord& pass = gDataSourceState.frameStateArea.scratchFrame;
  pass.originX = pass.originY = 0.0;
  pass.width = gScanAreaInches.width;
  pass.height = gScanAreaInches.height;
  SetupPrescanFrame(&pass, width, height);
  const LONG imageWidth = OrientationSwapAxes() ? height : width;
  const LONG imageHeight = OrientationSwapAxes() ? width : height;
  MakePreviewBitmap(imageWidth, imageHeight, CurrentFrameRect(), &pass);
  gPrescanArea = DRect{0.0, 0.0, gScanAreaInches.width, gScanAreaInches.height};
}

// WM_SIZING: the dragged rectangle follows the preview's rules.
BOOL LimitMainDialogSizing(int edge, RECT* dragged) {
  if (!gLayoutDone) return FALSE;
  const WinRect r = LimitMainWindowRect(WinRect{dragged->left, dragged->top, dragged->right, dragged->bottom}, edge,
                                        CurrentSizing());
  *dragged = RECT{r.left, r.top, r.right, r.bottom};
  return TRUE;
}

// The window height that holds the lowest page beside the preview; 0 before
// the layout or without pages.
LONG PagesWindowHeight(HWND dialog) {
  HWND lowest = gPaletteFramePage ? gPaletteFramePage : gPaletteGeneralPage;
  if (!gLayoutDone || !lowest) return 0;
  RECT window, client, page;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  GetWindowRect(lowest, &page);
  POINT clientBottom = {0, client.bottom};
  ClientToScreen(dialog, &clientBottom);
  return page.bottom - window.top + (window.bottom - clientBottom.y);
}

// WM_GETMINMAXINFO: however the window is resized, it stays high enough to
// hold the pages.
void KeepPagesInside(HWND dialog, MINMAXINFO* info) {
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, PagesWindowHeight(dialog));
}

// WM_SIZE: the preview takes the window's new size less the extra size; the
// preview is remade at it from the stored preview.
void ResizeMainDialog(HWND dialog) {
  if (!gLayoutDone) return;
  RECT window;
  GetWindowRect(dialog, &window);
  const LONG width = window.right - window.left - gDialogExtra.cx;
  LONG height = window.bottom - window.top - gDialogExtra.cy;
  // A window held at the pages' height leaves room below a preview that
  // keeps the scan area's proportions.
  if (window.bottom - window.top <= PagesWindowHeight(dialog))
    height = std::min<LONG>(height, std::lround(width * PreviewRatio()));
  if (width < 1 || height < 1) return;
  if (width == gPreviewClientRect.right - gPreviewClientRect.left &&
      height == gPreviewClientRect.bottom - gPreviewClientRect.top)
    return;
  FreePreviewBuffers();
  PlacePreviewControls(dialog, width, height);
  PreparePreviewPass();
  // Every frame within the scan area again: no wider or higher, its origin moved back.
  auto limit = [](FrameRecord& f) {
    KeepRectInArea(&f.originX, &f.originY, &f.width, &f.height, gScanAreaInches.width, gScanAreaInches.height);
  };
  limit(gDataSourceState.frameStateArea.scratchFrame);
  limit(gDataSourceState.frameStateArea.defaultFrame);
  for (FrameListNode* node = FrameListHead(); node; node = node->next) limit(node->frame);
  InvalidateRect(dialog, nullptr, TRUE);
  SaveDialogSize(dialog);
}

// The prescan's window: its preview control, the Ctrl+"." keys and the
// cancel commands of the busy state.
class MainWindowPrescanView : public PrescanView {
 public:
  explicit MainWindowPrescanView(HWND dialog) : dialog_(dialog) {}
  void PreviewSize(int32_t* width, int32_t* height) override {
    RECT client;
    GetClientRect(PreviewControl(dialog_), &client);
    *width = client.right;
    *height = client.bottom;
  }
  bool StopRequested() override { return gUiBusyState == kUiCancelRequested; }
  void DrawRows(int32_t first, int32_t count) override {
    DrawGlobalDibRows(gPreviewDib, dialog_, kPreviewControl, nullptr, first, count, true);
  }
  void ShowPrescanRunning(bool) override {}

 private:
  HWND dialog_;
};

RECT FramePreviewRect(const FrameRecord& frame) {
  const Rect16 r = FrameToPreviewRect(frame.originX, frame.originY, frame.width, frame.height, true, nullptr);
  return RECT{r.left, r.top, r.right, r.bottom};
}

// What the cursor over the preview shows: the tool mode's cursor, else the frames decide.
PreviewPointer PointerAt(POINT at) {
  PreviewPointer p{};
  p.shift = IsKeyDown(kVirtualKeyShift);
  p.flipV = OrientationFlipY() != 0;
  p.swapAxes = OrientationSwapAxes() != 0;
  const FrameListNode* head = FrameListHead();
  if (!head) return p;
  RECT current = FramePreviewRect(head->frame);
  p.inCurrentFrame = PtInRect(&current, at) != 0;
  RECT zone = current;
  InflateRect(&zone, kBorderZone, kBorderZone);
  if (PtInRect(&zone, at)) p.edge = CurrentFrameHandleAt(WinPoint{at.x, at.y});
  if (!gPreviewZoomed)
    for (const FrameListNode* node = head->next; node && !p.onOtherFrame; node = node->next) {
      RECT other = FramePreviewRect(node->frame);
      p.onOtherFrame = PtInRect(&other, at) != 0;
    }
  return p;
}

// In the curve-point pick only the dialog itself or a plain static text
// under the cursor takes the extremes button's cursor.
bool TakesSpecialCursor(HWND dialog, POINT at) {
  if (gPreviewToolMode != kPipetteToolMode) return true;
  HWND under = WindowFromPoint(at);
  if (under == dialog) return true;
  char name[16] = {};
  GetClassNameA(under, name, sizeof name);
  return lstrcmpiA(name, "Static") == 0 && !(GetWindowLongA(under, GWL_STYLE) & SS_NOTIFY);
}

// Over the extremes button with Shift: its upper half offers the brightest
// point, its lower half the darkest, which a click then fixes.
bool SetExtremesButtonCursor(HWND dialog, POINT at) {
  RECT button;
  if (!IsKeyDown(kVirtualKeyShift) || !GetWindowRect(GetDlgItem(dialog, kCommandBrightnessExtremes), &button) ||
      !PtInRect(&button, at))
    return false;
  gSpecialCursorId = BrightestAtCursor(WinRect{button.left, button.top, button.right, button.bottom}, at.y)
                         ? kCursorBrightestPoint
                         : kCursorDarkestPoint;
  return TakesSpecialCursor(dialog, at) && SetCursorById(gSpecialCursorId);
}

BOOL MainDialogSetCursor(HWND dialog) {
  if (GetActiveWindow() != dialog) return FALSE;
  const WinPoint cursor = CursorScreenPosition();
  POINT at = {cursor.x, cursor.y};
  if (SetExtremesButtonCursor(dialog, at)) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
  HWND control = PreviewControl(dialog);
  POINT inControl = at;
  ScreenToClient(control, &inControl);
  RECT client;
  GetClientRect(control, &client);
  if (PtInRect(&client, inControl)) {
    const PreviewCursor chosen = ChoosePreviewCursor(gPreviewToolMode, PointerAt(inControl));
    if (chosen.hover != 0) gPreviewHoverTarget = chosen.hover;
    if (chosen.cursorId != 0 && SetCursorById(chosen.cursorId)) {
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
  }
  // The system's sizing cursors at the border; the arrow elsewhere.
  RECT window;
  GetWindowRect(dialog, &window);
  InflateRect(&window, -kBorderZone, -kBorderZone);
  if (PtInRect(&window, at)) SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  return FALSE;
}

void RunPrescanRoad(HWND dialog) {
  gUiBusyState = kUiPrescanRunning;
  gPreviewZoomed = false;
  DeletePreviewAuxFile();
  MainWindowPrescanView view(dialog);
  RunPrescan(view, false);
  PaintPreviewNow(dialog);
  gUiBusyState = kUiIdle;
}

void RunScanRoad() {
  // In file mode the user first chooses where the files go.
  if (gFileOutputMode && !ChooseScanOutputFile(gMainDialog)) return;
  StorePreviewParam();
  MainWindowService().startTransfer();
}

// Not while zoomed. The last frame is not deleted: when the user confirms,
// the frames, the previews and their files start afresh instead.
void DeleteFrameCommand(HWND dialog) {
  if (gPreviewZoomed) return;
  if (CountFrames() > 1) {
    PreviewEditView view(dialog, kPreviewControl);
    DeleteCurrentFrameInteractive(view);
    return;
  }
  if (ShowAlert(GetModuleInstance(), kWarningCaption, kDeleteEverythingAlert, true, dialog) != kAnswerYes) return;
  ResetFrameSettings(true);
  DeletePreviewFiles(true, true);
  FreePreviewBuffers();
  PaintPreviewNow(dialog);
  UpdateFramePanelEnabling();
  SaveParamSnapshot();
}

// The preview laid out for the new orientation and the current frame rendered again.
void RedrawPreviewAfterRotation(HWND dialog) {
  InvalidateRect(PreviewControl(dialog), nullptr, TRUE);
  InvalidateRect(GetDlgItem(dialog, kPreviewFrame), nullptr, TRUE);
  LayoutPreviewArea(dialog);
  if (!gCurrentFrame) return;
  PreviewEditView view(dialog, kPreviewControl);
  RefreshPreviewAfterFrameChange(*gCurrentFrame, false, true, 2, view);
}

// A quarter turn clockwise; with Shift the other way, which is three turns
// unless exactly one mirror is on, since a single mirror reverses the turning.
void RotateCommand(HWND dialog) {
  const bool oneMirror = (PreviewMirrorH() != 0) != (PreviewMirrorV() != 0);
  const int turns = IsKeyDown(kVirtualKeyShift) != oneMirror ? 3 : 1;
  for (int i = 0; i < turns; ++i) RotatePreviewQuarter();
  if (FrameRecord* frame = gCurrentFrame) {
    frame->mirrorH = PreviewMirrorH();
    frame->mirrorV = PreviewMirrorV();
    frame->quarterTurns = static_cast<uint16_t>(PreviewQuarterTurns());
  }
  ShowOriginalSize();
  ShowOutputSize();
  ShowScaleFields();
  RedrawPreviewAfterRotation(dialog);
}

// Each frame's place in the list, at the top left of its outline.
void DrawFrameNumbers(HWND dialog) {
  HWND control = PreviewControl(dialog);
  HDC dc = GetDC(control);
  unsigned number = 0;
  for (const FrameListNode* node = FrameListHead(); node; node = node->next) {
    const RECT r = FramePreviewRect(node->frame);
    char text[8];
    const int length = std::snprintf(text, sizeof text, "%u", ++number);
    TextOutA(dc, r.left + 4, r.top + 4, text, length);
  }
  ReleaseDC(control, dc);
}

// The numbers show while the button stays held.
void FrameNumbersCommand(HWND dialog) {
  DrawFrameNumbers(dialog);
  while (IsKeyDown(kVirtualKeyLeftButton)) SleepMs(kHoldPollMilliseconds);
  PaintPreviewNow(dialog);
}

BOOL MainDialogCommand(HWND dialog, WPARAM wParam) {
  const int command = LOWORD(wParam);
  if (TakeCommandWhileBusy(command)) return TRUE;
  switch (command) {
    case kCommandCancel:
    case kCommandPaletteCancel:
    case kCommandCloseKey:
      MainWindowService().requestClose();
      return TRUE;
    case kCommandPrescan:
      // Without Alt (outside a zoomed view) the button reads "Öffnen" and opens another image.
      if (IsKeyDown(kVirtualKeyAlt) != gPreviewZoomed) {
        RunPrescanRoad(dialog);
      } else {
        if (gDeviceTable.count > kOpenImageRow) ReopenImageSession(gDeviceTable.entries[kOpenImageRow], nullptr, false);
      }
      return FALSE;
    case kCommandOverview:
      if (ReinitializeSource(0)) PostDeviceCommand(kCommandDevicePrescan, true);
      return FALSE;
    case kCommandDevicePrescan:
      RunPrescanRoad(dialog);
      return TRUE;
    case kCommandScan:
      RunScanRoad();
      return TRUE;
    case kCommandPreview:
      return TRUE;
    case kCommandRotate:
      RotateCommand(dialog);
      return FALSE;
    case kCommandDeleteFrame:
      DeleteFrameCommand(dialog);
      return FALSE;
    case kCommandFrameNumbers:
      FrameNumbersCommand(dialog);
      return FALSE;
    case kCommandToolStripSelector:
      // One step on, with Shift one step back, of the four values.
      WriteTdemSetting(static_cast<uint8_t>((ReadTdemSetting() + (IsKeyDown(kVirtualKeyShift) ? 3 : 1)) % 4));
      ReopenCurrentDevice();
      return FALSE;
    case kCommandBrightnessExtremes: {
      if (IsKeyDown(kVirtualKeyShift) &&
          (gSpecialCursorId == kCursorBrightestPoint || gSpecialCursorId == kCursorDarkestPoint)) {
        PlaceExtremeFixedPoint(gSpecialCursorId == kCursorBrightestPoint);
        return FALSE;
      }
      const RECT button = ItemRectInDialog(dialog, kCommandBrightnessExtremes);
      if (GetActiveWindow() != static_cast<HWND>(gJobManagerWindow)) ShowBrightnessExtremes(dialog, &button);
      return FALSE;
    }
    default:
      return FALSE;
  }
}

LRESULT CALLBACK PreviewControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    PaintPreview(GetParent(control), dc);
    DrawAllFrames(control, dc);
    EndPaint(control, &paint);
    return 0;
  }
  if (message == WM_LBUTTONDOWN && gUiBusyState == kUiIdle) {
    // The loops follow the mouse until the button is released.
    PreviewEditView view(GetParent(control), kPreviewControl);
    PressOnPreview(WinPoint{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))}, view);
    return 0;
  }
  return CallWindowProcA(gPreviewControlProc, control, message, wParam, lParam);
}

// Until the palette hosts them, the general page stands right of the
// preview and the frame page below it, each cut to the height of its shown
// controls: the window grows by their width.
void ShowPalettePages(HWND dialog) {
  HWND general = CreateGeneralPage(dialog);
  HWND frame = CreateFramePage(dialog);
  if (!general && !frame) return;
  for (HWND page : {general, frame})
    if (page) FitDialogToChildren(page, false, true, kPageGap);
  RECT window;
  GetWindowRect(dialog, &window);
  const LONG width = std::max(PageWidth(general), PageWidth(frame)) + kPageGap;
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + width, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER);
  for (HWND page : {general, frame})
    if (page) ShowWindow(page, SW_SHOW);
}

// The main dialog's share of the panel's first fill: its caption, then the
// preview laid out at the stored size.
void InitMainDialogPanel(HWND dialog) {
  SetMainCaption();
  ApplyStoredDialogSize(dialog, gPreviewZoomed);
  LayoutPreviewArea(dialog);
}

void MainDialogInit(HWND dialog) {
  LoadDialogPositions();
  RestoreDialogPosition(dialog, kMainDialogSlot);
  LoadPreviewOrientation();
  FreePreviewBuffers();
  gPreviewZoomed = false;
  DeleteAllFrames();
  ResetUiState();
  ShowPalettePages(dialog);
  InitMainDialogPanel(dialog);
  InitFramePanel();
  ShowWindow(dialog, SW_SHOWNORMAL);
  UpdateWindow(dialog);
  SetForegroundWindow(dialog);
  SetActiveWindow(dialog);

  HWND control = PreviewControl(dialog);
  gPreviewClassCursor = reinterpret_cast<HCURSOR>(SetClassLongPtrA(control, GCLP_HCURSOR, 0));
  gPreviewControlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PreviewControlProc)));
  PaintPreviewNow(dialog);
}

void MainDialogDestroy(HWND dialog) {
  SaveDialogSize(dialog);
  HWND control = PreviewControl(dialog);
  if (gPreviewControlProc) SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviewControlProc));
  SetClassLongPtrA(control, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(gPreviewClassCursor));
  gPreviewControlProc = nullptr;
  gPreviewClassCursor = nullptr;
  gLayoutDone = false;
  gMainDialog = nullptr;
}

}  // namespace

void PaintPreviewNow(HWND dialog) {
  HWND control = PreviewControl(dialog);
  HDC dc = GetDC(control);
  PaintPreview(dialog, dc);
  DrawAllFrames(control, dc);
  ReleaseDC(control, dc);
}

// The preview control keeps the aspect of the scan area within the work
// area and the device's minimum; its frame and the hint line follow it, and
// the preview pass is set up for its size. A stored preview of the image is
// taken back when one exists.
void LayoutPreviewArea(HWND dialog) {
  FreePreviewBuffers();
  gPreviewExtentWidth = gScanAreaInches.width;
  gPreviewExtentHeight = gScanAreaInches.height;
  RECT window, preview = ItemRectInDialog(dialog, kPreviewControl);
  GetWindowRect(dialog, &window);
  gDialogExtra = SIZE{(window.right - window.left) - (preview.right - preview.left),
                      (window.bottom - window.top) - (preview.bottom - preview.top)};
  const WinRect limited =
      LimitMainWindowRect(WinRect{window.left, window.top, window.right, window.bottom}, 0, CurrentSizing());
  // Resizing the window below sends WM_SIZE: the controls are placed first, so that it finds nothing to do.
  PlacePreviewControls(dialog, limited.right - limited.left - gDialogExtra.cx,
                       limited.bottom - limited.top - gDialogExtra.cy);
  gLayoutDone = true;
  SetWindowPos(dialog, nullptr, limited.left, limited.top, limited.right - limited.left, limited.bottom - limited.top,
               SWP_NOZORDER);
  PreparePreviewPass();
  InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      gMainDialog = dialog;
      MainDialogInit(dialog);
      PostDeviceCommand(kCommandDevicePrescan, false);
      return TRUE;
    case WM_DESTROY:
      MainDialogDestroy(dialog);
      return FALSE;
    case WM_COMMAND:
      return MainDialogCommand(dialog, wParam);
    case WM_SETCURSOR:
      return MainDialogSetCursor(dialog);
    case WM_SIZING:
      return LimitMainDialogSizing(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case WM_GETMINMAXINFO:
      KeepPagesInside(dialog, reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) ResizeMainDialog(dialog);
      return FALSE;
    case WM_WINDOWPOSCHANGED:
      StoreWindowPosition(dialog, kMainDialogSlot);
      return FALSE;
    default:
      return FALSE;
  }
}
