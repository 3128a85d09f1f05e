// The main dialog's load and save flows.
#include <algorithm>
#include <cctype>

#include "photoapp/dialogs/jpeg_quality_dialog.h"
#include "photoapp/dialogs/main_dialog.h"
#include "photoapp/document/image_types.h"
#include "photoapp/window/app.h"
#include "photoapp/window/dc.h"
#include "photoapp/window/file_dialog.h"
#include "photoapp/window/message_box.h"

namespace {

const char kLoadFilter[] =
    "Image Files (bmp,jpg,pcx,png,tga,tif,wmf)|*.BMP;*.JPG;*.PCX;*.PNG;*.TGA;*.TIF;*.WMF;*.PAX|"
    "Windows BMP Files (*.BMP)|*.BMP|JPEG Files (*.JPG)|*.JPG|ZSoft PCX Files (*.PCX)|*.PCX|"
    "PNG Files (*.PNG)|*.PNG|Targa TGA Files (*.TGA)|*.TGA|TIFF Files (*.TIF)|*.TIF|"
    "Placeable Metafiles (*.WMF)|*.WMF|All files (*.*)|*.*||";
const char kLoadPatterns[] = "*.Bmp;*.Jpg;*.Pcx;*.Png;*.Tga;*.Tif;*.Wmf;*.Pax";
const char kSaveFilter[] =
    "JPEG Files (*.JPG)|*.JPG|Windows BMP Files (*.BMP)|*.BMP|ZSoft PCX Files (*.PCX)|*.PCX|"
    "PNG Files (*.PNG)|*.PNG|Targa TGA Files (*.TGA)|*.TGA|TIFF Files (*.TIF)|*.TIF|All files (*.*)|*.*||";
const char kOverwriteQuestion[] =
    "It is not recommended to overwrite the original file.\n\n"
    "Are you absolutly sure you want to replace the original file?\n"
    "If you click Yes, the original file will be replaced.";
constexpr int kDefaultQuality = 85;

// The text after the last backslash, unless that backslash is the first character.
std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos || slash == 0 ? path : path.substr(slash + 1);
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

}  // namespace

void MainDialog::OnLoadClicked() {
  FileDialog chooser(true, kLoadPatterns, kLoadPatterns, OFN_FILEMUSTEXIST, kLoadFilter);
  chooser.SetTitle("Load image file");
  if (chooser.DoModal() == IDOK) {
    LoadAndShowImage(chooser.GetPathName());
    before_view_.Invalidate();
    after_view_.Invalidate();
  }
  // Pending painting first; a WM_QUIT ends the flow.
  if (!PumpWaitingMessages()) return;
  WorkOnPreview();
}

// A file that yields no image (an extension the program does not read) is a
// failed load like any other.
int MainDialog::LoadAndShowImage(const std::string& path) {
  WaitCursor wait;
  const int result = before_view_.LoadIntoView(path);
  SetWindowText("PicRefine : " + FileNameOf(path));
  SetStatusText("Formatting for display");
  SetStatusText("");
  if (result != kImageOk || !before_view_.HasImage()) return 0;
  loaded_path_ = path;
  after_view_.GetDocument().CopyFrom(before_view_.GetDocument());
  after_view_.FitToView();
  full_size_ = false;
  SetStatusText("");
  return 1;
}

void MainDialog::OnSaveClicked() {
  FileDialog chooser(false, "", "", 0, kSaveFilter);
  chooser.SetTitle("Save current image to this file");
  if (chooser.DoModal() == IDOK) SaveImage(chooser.GetPathName());
}

bool MainDialog::SaveImage(const std::string& path) {
  WaitCursor wait;
  WinApp* app = GetApp();
  const int type = ImageTypeFromExtension(ExtensionOf(path));
  int quality = kDefaultQuality;
  int improve = app ? app->GetProfileInt(kSettingsSection, "downs", 1) : 1;
  if (type == kImageTypeJpeg) {
    JpegQualityDialog box(GetSafeHwnd());
    box.quality = JpegQualityDialog::kHigh;
    if (app) box.quality = app->GetProfileInt(kSettingsSection, "jpgq", box.quality);
    box.improve_sampling = improve;
    if (box.DoModal() != IDOK) return false;
    improve = box.improve_sampling;
    if (app) app->WriteProfileInt(kSettingsSection, "jpgq", box.quality);
    quality = JpegQualityValue(box.quality);
  }
  SetStatusText("Saving image");
  if (!PumpWaitingMessages()) return false;
  if (Upper(path) == Upper(loaded_path_) && ShowMessageBox(GetSafeHwnd(), kOverwriteQuestion, MB_YESNO) != IDYES)
    return false;
  const bool back_to_preview = !full_size_;
  if (back_to_preview) {
    SetStatusText("Working on Original...");
    WorkOnFullSize();
  }
  SetStatusText("Saving");
  if (after_view_.GetDocument().SaveFile(path, type, quality, improve != 0) != kImageOk) return false;
  SetStatusText("OK");
  if (back_to_preview) {
    SetStatusText("Back to Fit...");
    WorkOnPreview();
  }
  return true;
}
