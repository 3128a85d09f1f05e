// The system's open and save dialogs; the open-image dialog adds template 11
// with a preview of the selected file and its size.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "foundation/log/caught_exception.h"
#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/image_preview_rules.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/win32/gdi_helpers_win32.h"

namespace {

// The preview of one open-image dialog: a 32-bit DIB section the size of button 4098.
struct ImagePreview {
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
  RECT box{};
};

ImagePreview* PreviewOf(HWND hookDialog) {
  return reinterpret_cast<ImagePreview*>(GetWindowLongPtrA(hookDialog, GWLP_USERDATA));
}

void FillWithMenuColour(const ImagePreview& preview) {
  COLORREF menu = GetSysColor(COLOR_MENU);
  uint32_t bgr = (GetRValue(menu) << 16) | (GetGValue(menu) << 8) | GetBValue(menu);
  size_t count = static_cast<size_t>(preview.box.right) * preview.box.bottom;
  for (size_t i = 0; i < count; ++i) preview.pixels[i] = bgr;
}

void CreatePreview(HWND hookDialog) {
  auto* preview = new ImagePreview;
  SetWindowLongPtrA(hookDialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(preview));
  HWND button = GetDlgItem(hookDialog, kPreviewButton);
  if (!button) return;
  GetClientRect(button, &preview->box);
  HDC dc = GetDC(button);
  void* pixels = nullptr;
  if (CreateDibSectionForRect(dc, preview->box, &preview->bitmap, &pixels, 32)) {
    preview->pixels = static_cast<uint32_t*>(pixels);
    FillWithMenuColour(*preview);
  }
  ReleaseDC(button, dc);
}

void DestroyPreview(HWND hookDialog) {
  ImagePreview* preview = PreviewOf(hookDialog);
  if (!preview) return;
  if (preview->bitmap) DeleteObject(preview->bitmap);
  delete preview;
  SetWindowLongPtrA(hookDialog, GWLP_USERDATA, 0);
}

void PaintPreview(const DRAWITEMSTRUCT& item, const ImagePreview& preview) {
  if (!preview.bitmap) return;
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, preview.bitmap);
  BitBlt(item.hDC, 0, 0, preview.box.right, preview.box.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void ShowFileSize(HWND hookDialog, const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return;
  char text[32];
  FormatFileSizeText(data.nFileSizeLow, text);
  SetDlgItemTextA(hookDialog, kFileSizeText, text);
}

void SelectionChanged(HWND hookDialog) {
  ImagePreview* preview = PreviewOf(hookDialog);
  HWND fileDialog = GetParent(hookDialog);
  char typedName[MAX_PATH];
  char path[MAX_PATH];
  LRESULT nameLength = SendMessageA(fileDialog, CDM_GETSPEC, sizeof typedName, reinterpret_cast<LPARAM>(typedName));
  LRESULT pathLength = SendMessageA(fileDialog, CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
  // The lengths count the terminator: a typed name of more than one character.
  if (nameLength <= 2 || pathLength <= 0 || !preview || !preview->bitmap) return;
  FillWithMenuColour(*preview);
  HWND button = GetDlgItem(hookDialog, kPreviewButton);
  HDC dc = GetDC(button);
  RenderFileThumbnail(path, dc, preview->bitmap, preview->box);
  ReleaseDC(button, dc);
  InvalidateRect(button, nullptr, FALSE);
  ShowFileSize(hookDialog, path);
}

}  // namespace

bool RenderFileThumbnail(const char* path, HDC dc, HBITMAP target, const RECT& box) {
  FileThumbnailSource* source = InstalledFileThumbnailSource();
  int32_t width = 0;
  int32_t height = 0;
  if (!source || !source->Open(path, box.right - box.left, &width, &height)) {
    if (source) source->Close();
    return false;
  }
  bool drawn = false;
  WinRect fitted;
  HBITMAP section = nullptr;
  void* bits = nullptr;
  if (FitAspectRect(width, height, *AsWinRect(&box), &fitted) &&
      CreateDibSectionForRect(dc, *AsRECT(&fitted), &section, &bits, 32)) {
    int32_t fittedWidth = RectWidth(fitted);
    int32_t fittedHeight = RectHeight(fitted);
    drawn = source->Draw(static_cast<uint8_t*>(bits), fittedWidth, fittedHeight, fittedWidth * 4, 4);
    if (drawn) {
      HDC from = CreateCompatibleDC(dc);
      HDC to = CreateCompatibleDC(dc);
      HGDIOBJ oldFrom = SelectObject(from, section);
      HGDIOBJ oldTo = SelectObject(to, target);
      BitBlt(to, fitted.left, fitted.top, fittedWidth, fittedHeight, from, 0, 0, SRCCOPY);
      SelectObject(to, oldTo);
      SelectObject(from, oldFrom);
      DeleteDC(to);
      DeleteDC(from);
    }
  }
  if (section) DeleteObject(section);
  source->Close();
  return drawn;
}

UINT_PTR OnOpenImageHookMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreatePreview(dialog);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      ImagePreview* preview = PreviewOf(dialog);
      if (item->CtlID != kPreviewButton || !preview) return FALSE;
      PaintPreview(*item, *preview);
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_SELCHANGE) SelectionChanged(dialog);
      return FALSE;
    case WM_DESTROY:
      DestroyPreview(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

UINT_PTR CALLBACK OpenImageHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback<UINT_PTR>("OpenImageHookProc", FALSE,
                                  [&] { return OnOpenImageHookMessage(dialog, message, wParam, lParam); });
}

PromptAnswer RunFileDialog(const PromptRequest& request) {
  std::vector<char> path(request.capacity > request.initial.size() ? request.capacity : request.initial.size() + 1);
  std::copy(request.initial.begin(), request.initial.end(), path.begin());

  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(request.owner);
  dialog.hInstance = DialogModule();
  dialog.lpstrFilter = request.filter.empty() ? nullptr : request.filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.c_str();
  dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_LONGNAMES;

  BOOL chosen;
  if (request.kind == PromptKind::kSaveFile) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    chosen = GetSaveFileNameA(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    if (request.kind == PromptKind::kOpenImageFile) {
      dialog.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
      dialog.lpTemplateName = MAKEINTRESOURCEA(kOpenImageTemplate);
      dialog.lpfnHook = OpenImageHookProc;
    }
    chosen = GetOpenFileNameA(&dialog);
  }
  PromptAnswer answer;
  if (chosen) {
    answer.result = kAnswerOk;
    answer.value = path.data();
  }
  return answer;
}
