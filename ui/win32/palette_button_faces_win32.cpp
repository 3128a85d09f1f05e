#include "ui/win32/palette_button_faces_win32.h"

#include <algorithm>
#include <cstring>

#include "color/color_management.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "output/job_manager.h"
#include "records/defaults_block.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/palette_button_faces.h"

namespace {

constexpr int kPrescanButton = 1012;
constexpr int kScanButton = 1017;
constexpr int kCancelButton = 1018;
constexpr int kOptionButton = 1019;
constexpr uint32_t kWidestScanText = 608;  // "Scan Batch"
constexpr uint16_t kScanImage = 330;
constexpr int kTextSize = 64;

HBITMAP gScanFace = nullptr;

HFONT ButtonFont(HWND palette) {
  return reinterpret_cast<HFONT>(SendDlgItemMessageA(palette, kCancelButton, WM_GETFONT, 0, 0));
}

HBITMAP LoadFaceImage(uint16_t id) {
  return LoadBitmapA(static_cast<HINSTANCE>(GetModuleInstance()), MAKEINTRESOURCEA(id));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP b = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof b, &b)) return SIZE{};
  return SIZE{b.bmWidth, b.bmHeight};
}

void SetTextIfChanged(HWND palette, int id, uint32_t textId) {
  char text[kTextSize] = "", shown[kTextSize] = "";
  LoadResourceString(GetModuleInstance(), textId, text, sizeof text);
  GetDlgItemTextA(palette, id, shown, sizeof shown);
  if (std::strcmp(text, shown) != 0) SetDlgItemTextA(palette, id, text);
}

}  // namespace

void PrepareScanButtonBitmap(HWND palette) {
  if (gScanFace) return;
  char text[kTextSize] = "";
  const int length = LoadResourceString(GetModuleInstance(), kWidestScanText, text, sizeof text);
  HDC dc = GetDC(palette);
  HFONT font = ButtonFont(palette);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SIZE textSize = {};
  GetTextExtentPoint32A(dc, text, length, &textSize);
  if (oldFont) SelectObject(dc, oldFont);
  HBITMAP image = LoadFaceImage(kScanImage);
  const SIZE imageSize = BitmapSize(image);
  if (image) DeleteObject(image);
  gScanFace = CreateCompatibleBitmap(dc, std::max(imageSize.cx, textSize.cx + 2), imageSize.cy);
  ReleaseDC(palette, dc);
}

void ComposeScanButtonImage(HWND palette, uint16_t imageId, uint16_t textId) {
  const SIZE faceSize = BitmapSize(gScanFace);
  if (!faceSize.cx) return;
  HDC screen = GetDC(palette);
  HDC face = CreateCompatibleDC(screen);
  HDC from = CreateCompatibleDC(screen);
  HGDIOBJ oldFace = SelectObject(face, gScanFace);
  RECT all = {0, 0, faceSize.cx, faceSize.cy};
  FillRect(face, &all, GetSysColorBrush(COLOR_BTNFACE));
  if (HBITMAP image = LoadFaceImage(imageId)) {
    const SIZE imageSize = BitmapSize(image);
    HGDIOBJ oldImage = SelectObject(from, image);
    BitBlt(face, (faceSize.cx - imageSize.cx) / 2, (faceSize.cy - imageSize.cy) / 2, imageSize.cx, imageSize.cy, from,
           0, 0, SRCCOPY);
    SelectObject(from, oldImage);
    DeleteObject(image);
  }
  char text[kTextSize] = "";
  const int length = LoadResourceString(GetModuleInstance(), textId, text, sizeof text);
  HFONT font = ButtonFont(palette);
  HGDIOBJ oldFont = font ? SelectObject(face, font) : nullptr;
  SetBkMode(face, TRANSPARENT);
  // A white copy one pixel up and left under the black text raises it.
  RECT raised = all;
  OffsetRect(&raised, -1, -1);
  SetTextColor(face, RGB(255, 255, 255));
  DrawTextA(face, text, length, &raised, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetTextColor(face, RGB(0, 0, 0));
  DrawTextA(face, text, length, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (oldFont) SelectObject(face, oldFont);
  SelectObject(face, oldFace);
  DeleteDC(from);
  DeleteDC(face);
  ReleaseDC(palette, screen);
}

void UpdateScanButtons(HWND palette, bool reset) {
  const bool alt = IsKeyDown(VK_MENU), shift = IsKeyDown(VK_SHIFT), control = IsKeyDown(VK_CONTROL);
  const bool editing = IsEditingJobEntry();
  SetTextIfChanged(palette, kOptionButton, OptionButtonTextId(alt, shift, control, gPreviewZoomed));
  SetTextIfChanged(palette, kPrescanButton, PrescanButtonTextId(editing, alt, gPreviewZoomed));
  const FrameRecord* frame = gCurrentFrame ? gCurrentFrame : &gScanFrame;
  const ScanButtonFace face = ScanButtonFaceFor(
      ScanButtonInputs{editing, gBatchOutput, gIcmEnabled != 0, GetDefault(gDefaults, kDefaultOutputCmsMode), frame});
  if (!ScanButtonFaceChanged(face, reset)) return;
  PrepareScanButtonBitmap(palette);
  ComposeScanButtonImage(palette, face.imageId, face.textId);
  SendDlgItemMessageA(palette, kScanButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(gScanFace));
}
