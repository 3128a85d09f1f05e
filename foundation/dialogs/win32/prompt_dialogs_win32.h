// The real dialogs behind the prompt seam, one per kind of prompt.
#pragma once

#include <windows.h>

#include "foundation/dialogs/prompts.h"

// The module whose templates and strings the dialogs use.
HINSTANCE DialogModule();

// Dialog templates and items.
enum : int {
  kNameDialog = 197,
  kNameEdit = 1108,
  kNamePromptText = 1228,
  kOpenImageTemplate = 11,
  kPreviewButton = 4098,
  kFileSizeText = 1089,
  kSaveImageTemplate = 1560,
  kSaveImageBatchTemplate = 1561,
};

PromptAnswer RunNameDialog(const PromptRequest& request);
PromptAnswer RunFolderChooser(const PromptRequest& request);
// Open, open-image and save dialogs.
PromptAnswer RunFileDialog(const PromptRequest& request);
PromptAnswer RunSaveImageDialog(const PromptRequest& request);

// The open-image dialog's hook (template 11).
UINT_PTR CALLBACK OpenImageHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// A thumbnail of the file drawn into the bitmap (selected into dc) at the
// largest rectangle of its aspect ratio inside the box; false when the file
// cannot be read as an image.
bool RenderFileThumbnail(const char* path, HDC dc, HBITMAP target, const RECT& box);
