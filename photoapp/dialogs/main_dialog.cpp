// The main dialog's controls, settings and messages.
#include "photoapp/dialogs/main_dialog.h"

#include "photoapp/dialogs/about_dialog.h"
#include "photoapp/resource.h"
#include "photoapp/window/app.h"

namespace {

constexpr int kProgressRange = 100;
// System-menu commands whose low word lies here open the About box.
constexpr WPARAM kAboutFirst = 16;
constexpr WPARAM kAboutLast = 31;

}  // namespace

MainDialog::MainDialog(HWND parent) : Dialog(IDD_PHOTOREFINER_MAIN, parent) { link_.SetURL(kMakerAddress); }

std::array<MainDialog::SliderBinding, 5> MainDialog::Sliders() {
  return {{{denoise_, "denoise", 100, 60, 10},
           {details_, "sharpen", 100, 10, 10},
           {midtones_, "gamma", 200, 140, 10},
           {auto_balance_, "autobr", 200, 200, 10},
           {colour_, "satur", 400, 280, 20}}};
}

void MainDialog::DoDataExchange(DataExchange& exchange) {
  ExchangeControl(exchange, IDC_STATUS, status_);
  ExchangeControl(exchange, IDC_UPDATES_LINK, link_);
  ExchangeControl(exchange, IDC_PROGRESS, progress_);
  ExchangeControl(exchange, IDC_COLOUR, colour_);
  ExchangeControl(exchange, IDC_AUTO_BALANCE, auto_balance_);
  ExchangeControl(exchange, IDC_MIDTONES, midtones_);
  ExchangeControl(exchange, IDC_DETAILS, details_);
  ExchangeControl(exchange, IDC_DENOISE, denoise_);
  ExchangeControl(exchange, IDC_AFTER_VIEW, after_view_);
  ExchangeControl(exchange, IDC_BEFORE_VIEW, before_view_);
  ExchangeRadio(exchange, IDC_LANDSCAPE, subject_type_);
}

BOOL MainDialog::OnInitDialog() {
  full_size_ = false;
  subject_type_ = 1;
  Dialog::OnInitDialog();
  before_view_.SetLinkedView(&after_view_);
  after_view_.SetLinkedView(&before_view_);
  const WinApp* app = GetApp();
  for (const SliderBinding& binding : Sliders()) {
    binding.slider.SetRange(0, binding.maximum);
    const int position = app ? app->GetProfileInt(kSettingsSection, binding.key, binding.default_position)
                             : binding.default_position;
    binding.slider.SetPos(position);
    binding.slider.SetTicFreq(binding.tick_frequency);
  }
  progress_.SetRange(0, kProgressRange);
  progress_.SetPos(0);

  HMENU system_menu = GetSystemMenu(GetSafeHwnd(), FALSE);
  char about[128] = {};
  if (system_menu && LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
    AppendMenuA(system_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system_menu, MF_STRING, IDM_ABOUTBOX, about);
  }
  icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  SendMessageA(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  return TRUE;
}

void MainDialog::DestroyWindow() {
  if (WinApp* app = GetApp())
    for (const SliderBinding& binding : Sliders())
      app->WriteProfileInt(kSettingsSection, binding.key, binding.slider.GetPos());
  Dialog::DestroyWindow();
}

void MainDialog::SetStatusText(const std::string& text) { status_.SetWindowText(text); }

void MainDialog::SetStatus(const std::string& text) { SetStatusText(text); }

void MainDialog::SetProgress(int percent) { progress_.SetPos(percent); }

bool MainDialog::OnCommand(WPARAM wparam, LPARAM) {
  if (HIWORD(wparam) != BN_CLICKED) return false;
  switch (LOWORD(wparam)) {
    case IDC_LOAD: OnLoadClicked(); return true;
    case IDC_BEFORE_VIEW: return true;
    case IDC_ZOOM_IN: OnZoomIn(); return true;
    case IDC_ZOOM_OUT: OnZoomOut(); return true;
    case IDC_APPLY:
    case IDC_LANDSCAPE:
    case IDC_MID_DETAILS:
    case IDC_CLOSE_UP: ApplyEnhancements(); return true;
    case IDC_SAVE: OnSaveClicked(); return true;
    case IDC_ORIGINAL: WorkOnFullSize(); return true;
    case IDC_PREVIEW: WorkOnPreview(); return true;
  }
  return false;
}

bool MainDialog::OnMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR* answer) {
  switch (message) {
    case WM_SYSCOMMAND:
      // Other commands go on to the system's handling.
      if (LOWORD(wparam) < kAboutFirst || LOWORD(wparam) > kAboutLast) return false;
      OnAbout();
      *answer = TRUE;
      return true;
    case WM_PAINT:
      if (!OnPaint()) return false;
      *answer = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      *answer = reinterpret_cast<INT_PTR>(icon_);
      return true;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wparam));
      return false;
  }
  return false;
}

void MainDialog::OnAbout() {
  AboutDialog about(GetSafeHwnd());
  about.DoModal();
}

// Minimised, the dialog draws its icon centred; otherwise the system paints.
bool MainDialog::OnPaint() {
  if (!IsIconic(GetSafeHwnd())) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(GetSafeHwnd(), &paint);
  SendMessageA(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const RECT client = GetClientRect();
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(GetSafeHwnd(), &paint);
  return true;
}

// A slider applies when it is released or a key moved it, not while it is dragged.
void MainDialog::OnHScroll(int code) {
  if (code == SB_ENDSCROLL && before_view_.HasImage()) ApplyEnhancements();
}

void MainDialog::OnZoomIn() {
  before_view_.ZoomIn();
  after_view_.SetZoom(before_view_.GetZoom());
}

void MainDialog::OnZoomOut() {
  before_view_.ZoomOut();
  after_view_.SetZoom(before_view_.GetZoom());
}
