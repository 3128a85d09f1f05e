// Dialog 434 "JPEG-Optionen": the quality slider (steps 1 to 10) and the
// three coding choices, on the module's copy of the options.
#include <windows.h>
#include <commctrl.h>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "output/jpeg_options.h"

namespace {

enum : int {
  kJpegOptionsDialog = 434,
  kQualitySlider = 1477,
  kBaselineRadio = 1482,
  kOptimisedRadio = 1483,
  kProgressiveRadio = 1484,
};

int CodingRadio(const JpegOptions& options) {
  if (options.baseline) return kBaselineRadio;
  if (options.optimised) return kOptimisedRadio;
  return kProgressiveRadio;
}

bool Selected(HWND dialog, int item) { return IsDlgButtonChecked(dialog, item) == BST_CHECKED; }

INT_PTR CALLBACK JpegOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOnParent(dialog, GetParent(dialog));
      SendDlgItemMessageA(dialog, kQualitySlider, TBM_SETRANGE, TRUE, MAKELPARAM(1, kJpegQualitySteps));
      LoadJpegOptions(&gJpegOptions);
      SendDlgItemMessageA(dialog, kQualitySlider, TBM_SETPOS, TRUE, JpegStepOfQuality(gJpegOptions.quality));
      CheckRadioButton(dialog, kBaselineRadio, kProgressiveRadio, CodingRadio(gJpegOptions));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const int step = static_cast<int>(SendDlgItemMessageA(dialog, kQualitySlider, TBM_GETPOS, 0, 0));
        gJpegOptions.quality = static_cast<uint16_t>(JpegQualityOfStep(step));
        gJpegOptions.baseline = Selected(dialog, kBaselineRadio);
        gJpegOptions.optimised = Selected(dialog, kOptimisedRadio);
        gJpegOptions.progressive = Selected(dialog, kProgressiveRadio);
        SaveJpegOptions(gJpegOptions);
        EndDialog(dialog, 1);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 1);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunJpegOptionsDialog(WindowHandle owner) {
  EnableToolWindowsForModal(false);
  const INT_PTR result = DialogBoxParamA(DialogModule(), MAKEINTRESOURCEA(kJpegOptionsDialog),
                                         static_cast<HWND>(owner), JpegOptionsProc, 0);
  EnableToolWindowsForModal(true);
  return static_cast<int>(result);
}
