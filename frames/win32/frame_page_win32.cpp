#include "frames/win32/frame_page_win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/decimal.h"
#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/log/module_string.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/system.h"
#include "frames/frame_panel.h"
#include "frames/frame_panel_services.h"
#include "frames/panel_name.h"
#include "frames/panel_sizes.h"
#include "frames/scan_type.h"
#include "frames/settings_records.h"
#include "frames/orientation/preview_orientation.h"
#include "frames/win32/record_cleanup_win32.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "state/data_source_state.h"
#include "tone/ui/auto_adjust_dialogs_win32.h"

HWND gPaletteFramePage = nullptr;

namespace {

constexpr uint32_t kUntitledFrameString = 711;  // "Rahmen ohne Titel"
constexpr int kSizeUnitLabels[] = {1189, 1190};
constexpr uint32_t kFirstSizeUnitString = 650;   // "inch", "cm"
constexpr uint32_t kPicaUnitString = 656;        // then "point", "pixel"
constexpr uint32_t kRulingUnitString = 652;      // "lpi"
constexpr uint32_t kResolutionUnitString = 654;  // "dpi"
constexpr int kRulingUnitLabel = 1191;
constexpr int kResolutionUnitLabel = 1192;

// The filter kinds of the combo as filled last.
std::vector<uint32_t> gFilterKinds;

std::string Decimal(double value, int decimals) {
  unsigned char shown[256];
  char text[256];
  FormatDecimal(shown, value, decimals);
  PStrToText(shown, text);
  return text;
}

void ShowText(HWND page, int id, const std::string& text) { SetItemTextIfChanged(page, id, text.c_str()); }

int SizeUnit() { return GetDefault(gDefaults, kDefaultSizeUnit); }
double SizeFactor(const FrameRecord& frame) { return PanelUnitFactor(SizeUnit(), frame.outputResolution); }
// Pixels are whole numbers, the other units show one decimal.
std::string SizeText(double value) { return Decimal(value, SizeUnit() == 4 ? 0 : 1); }

TypedNumber ReadNumber(HWND page, int id) {
  char text[256] = "";
  GetDlgItemTextA(page, id, text, sizeof text);
  unsigned char number[256];
  PStrFromC(number, text);
  const bool valid = std::strspn(text, " ") < std::strlen(text) && std::strpbrk(text, "0123456789") != nullptr;
  return TypedNumber{valid, ParseDecimal(number)};
}

void ShowFields(HWND page, int except) {
  const FrameRecord* frame = gCurrentFrame;
  if (!frame) return;
  SuspendFieldUpdates(false);
  const bool swapped = OrientationSwapAxes() != 0;
  const double factor = SizeFactor(*frame);
  auto show = [&](int id, const std::string& text) {
    if (id != except) ShowText(page, id, text);
  };
  for (int id : {kOriginalWidthField, kOriginalHeightField, kScaleXField, kScaleYField, kOutputWidthField,
                 kOutputHeightField}) {
    const bool width = FieldShowsWidth(id, swapped);
    const double extent = width ? frame->width : frame->height;
    const double scale = width ? frame->outputScaleX : frame->outputScaleY;
    if (id == kScaleXField || id == kScaleYField) show(id, Decimal(scale, 1));
    else if (id == kOriginalWidthField || id == kOriginalHeightField) show(id, SizeText(extent * factor));
    else show(id, SizeText(scale * extent * 0.01 * factor));
  }
  show(kQualityFactorField, Decimal(frame->qualityFactor, 1));
  show(kScreenRulingField, std::to_string(frame->screenRuling));
  show(kOutputResolutionField, std::to_string(frame->outputResolution));
  unsigned char size[256];
  char sizeText[256];
  // A copy of the frame settles its scan size; the frame itself stays as it is.
  FrameRecord settled = *frame;
  SettlePanelScanSize(&settled);
  FormatDataSize(size, DataSizeMegabytes(settled.scanPixelWidth, settled.scanPixelHeight, settled,
                                         GetDefault(gDefaults, kDefaultOutputCmsMode)));
  PStrToText(size, sizeText);
  show(kDataSizeField, sizeText);
  show(kFrameNameField, frame->hasName && frame->name[0] ? std::string(frame->name, strnlen(frame->name, 47))
                                                         : ModuleString(kUntitledFrameString));
  const int unit = SizeUnit();
  const uint32_t unitString = unit <= 1 ? kFirstSizeUnitString + unit : kPicaUnitString + (unit - 2);
  for (int label : kSizeUnitLabels) ShowText(page, label, ModuleString(unitString));
  ShowText(page, kRulingUnitLabel, ModuleString(kRulingUnitString));
  ShowText(page, kResolutionUnitLabel, ModuleString(kResolutionUnitString));
  SuspendFieldUpdates(true);
}

void RefreshPage() {
  if (gPaletteFramePage) ShowFields(gPaletteFramePage, 0);
}

void UpdatePageEnabling() {
  HWND page = gPaletteFramePage;
  const FrameRecord* frame = gCurrentFrame;
  if (!page || !frame) return;
  const bool filterable = frame->bitsPerChannel == 8 || (frame->bitsPerChannel == 16 && frame->bitDepthChoice == 0);
  EnableWindow(GetDlgItem(page, kFilterCombo), filterable);
  ComboSelect(page, kFilterCombo, FilterComboIndex(gFilterKinds, frame->filterMode));
  ComboSelect(page, kScanTypeCombo, BitDepthComboIndex(*frame));
  ComboSelect(page, kImageTypeCombo, frame->imageType + 1);
}

void ReloadPageCombos() {
  if (gPaletteFramePage) FillSettingsComboOfPanel(gPaletteFramePage);
}

// A typed value goes into the frame; the dependent fields follow at once
// unless the field stays pending (the palette's timer rewrites it later).
void OnFieldEdited(HWND page, int id) {
  FrameRecord* frame = gCurrentFrame;
  if (!frame) return;
  const PanelLimits limits = CurrentPanelLimits();
  const TypedNumber typed = ReadNumber(page, id);
  bool pending = false;
  switch (id) {
    case kFrameNameField: {
      char text[256] = "";
      GetDlgItemTextA(page, id, text, sizeof text);
      pending = ApplyFrameNameEdit(frame, text);
      break;
    }
    case kQualityFactorField: pending = ApplyQualityFactorEdit(frame, limits, typed); break;
    case kScreenRulingField: pending = ApplyScreenRulingEdit(frame, limits, typed, 1.0); break;
    case kOutputResolutionField: pending = ApplyOutputResolutionEdit(frame, limits, typed, 1.0); break;
    case kScaleXField:
    case kScaleYField:
      pending = ApplyScaleEdit(frame, limits, FieldShowsWidth(id, OrientationSwapAxes() != 0), typed,
                               gFrameSizeLocks.link, PanelScaleClamp());
      break;
    case kOutputWidthField:
    case kOutputHeightField:
      pending = ApplyOutputSizeEdit(frame, limits, FieldShowsWidth(id, OrientationSwapAxes() != 0), typed,
                                    SizeFactor(*frame), gFrameSizeLocks.link, PanelScaleClamp());
      break;
    case kOriginalWidthField:
    case kOriginalHeightField: {
      const bool width = FieldShowsWidth(id, OrientationSwapAxes() != 0);
      const double area = width ? gScanAreaInches.width : gScanAreaInches.height;
      pending = ApplyOriginalSizeEdit(frame, width, typed, SizeFactor(*frame), area);
      break;
    }
    default: return;
  }
  NotePanelFieldPending(pending, static_cast<uint16_t>(id));
  // A name emptied by the user shows as "Rahmen ohne Titel" at once.
  if (!pending) ShowFields(page, id == kFrameNameField && !frame->hasName ? 0 : id);
}

void OnScanTypeChange(HWND page) {
  if (!gCurrentFrame) return;
  ApplyScanTypeChoice(gCurrentFrame, ComboSelection(page, kScanTypeCombo), gScanFrame.qualityFactor,
                      CurrentPanelLimits());
  UpdatePageEnabling();
  RefreshPage();
}

// The automatic adjustment that a subject's choice runs belongs to the tone
// tools; the page keeps the frame's subject.
void OnImageTypeChange(HWND page) {
  const int selection = ComboSelection(page, kImageTypeCombo);
  if (!gCurrentFrame || selection < 1) return;
  gCurrentFrame->imageType = static_cast<uint8_t>(selection - 1);
}

void OnFilterChange(HWND page) {
  if (!gCurrentFrame) return;
  gCurrentFrame->filterMode = static_cast<uint8_t>(FilterKindAtIndex(gFilterKinds, ComboSelection(page, kFilterCombo)));
  RefreshPage();
}

void OnSettingsComboChange(HWND page) {
  const int selection = ComboSelection(page, kSettingsCombo);
  switch (SettingsComboActionOf(ComboCount(page, kSettingsCombo), selection)) {
    case SettingsComboAction::kSave: SaveSettingsRecord(); break;
    case SettingsComboAction::kCleanUp:
      RunRecordCleanupDialog(page, gAppStore, kSettingsRecordType, kFirstUniqueRecordId, false, nullptr, nullptr);
      break;
    case SettingsComboAction::kLoad: {
      char name[256];
      ComboItemText(page, kSettingsCombo, selection, name);
      LoadSelectedSettingsRecord(name);
      break;
    }
    case SettingsComboAction::kNone: return;
  }
  FillSettingsComboWithCommands(page);
}

std::vector<std::string> SettingsNames() {
  std::vector<std::string> names;
  const int count = RecordStoreCount(gAppStore, kSettingsRecordType);
  for (int index = 1; index <= count; ++index) {
    char name[kRecordNameSize];
    if (RecordStoreNameByIndex(gAppStore, kSettingsRecordType, index, name)) names.push_back(name);
  }
  return names;
}

}  // namespace

void FillScanTypeCombo(HWND page) {
  ComboClear(page, kScanTypeCombo);
  const bool highBit = gDataSourceState.deviceHas16Bits;
  // The bit count is written over the text's leading spaces.
  auto counted = [](uint32_t stringId, int bits, const char* reduced) {
    std::string text = ModuleString(stringId);
    const std::string digits = std::to_string(bits);
    text.replace(0, std::min(digits.size(), text.size()), digits);
    return text + reduced;
  };
  ComboAddText(page, kScanTypeCombo, counted(kScanTypeColorString, highBit ? 48 : 24, highBit ? "->24" : "").c_str());
  ComboAddText(page, kScanTypeCombo, counted(kScanTypeGreyString, highBit ? 16 : 8, highBit ? "->8" : "").c_str());
  ComboAddText(page, kScanTypeCombo, counted(kScanTypeLineArtString, 1, "").c_str());
  for (uint32_t id : {kScanTypeColor48String, kScanTypeGrey16String, kScanTypeZirColorString, kScanTypeZirGreyString}) {
    const int position = ComboCount(page, kScanTypeCombo);
    ComboAddText(page, kScanTypeCombo, ModuleString(id).c_str());
    // The device has no such depth.
    if (!highBit) ComboSetItemData(page, kScanTypeCombo, position, kComboItemUnavailable);
  }
  ComboFitWidth(page, kScanTypeCombo);
  ComboSelect(page, kScanTypeCombo, gCurrentFrame ? BitDepthComboIndex(*gCurrentFrame) : 1);
}

void FillFilterCombo(HWND page) {
  // An image file offers no automatic sharpening.
  gFilterKinds = BuildFilterKindTable(false, 0, 0);
  ComboClear(page, kFilterCombo);
  for (uint32_t kind : gFilterKinds) ComboAddText(page, kFilterCombo, ModuleString(FilterKindString(kind)).c_str());
  ComboFitWidth(page, kFilterCombo);
  ComboSelect(page, kFilterCombo, 1);
}

void FillSettingsComboWithCommands(HWND page) {
  ComboClear(page, kSettingsCombo);
  for (const std::string& name : SettingsNames()) ComboAddText(page, kSettingsCombo, name.c_str());
  ComboAddText(page, kSettingsCombo, ModuleString(kSettingsDeleteString).c_str());
  ComboAddText(page, kSettingsCombo, ModuleString(kSettingsSaveString).c_str());
  ComboFitWidth(page, kSettingsCombo);
  ComboSelect(page, kSettingsCombo, ComboCount(page, kSettingsCombo));
  FillSettingsComboOfPanel(page);
}

void FillSettingsComboOfPanel(HWND page) {
  if (!gCurrentFrame) return;
  const int match = MatchingSettingsIndex(gAppStore, SettingsNames(), *gCurrentFrame);
  ComboSelect(page, kSettingsCombo, match ? match : ComboCount(page, kSettingsCombo));
}

void InitFramePanel() {
  if (!gPaletteFramePage) return;
  FillImageCombos(gPaletteFramePage);
  ReloadFramePanel();
}

void FillImageCombos(HWND page) {
  FillScanTypeCombo(page);
  FillFilterCombo(page);
  FillSettingsComboWithCommands(page);
  FillImageTypeCombo(page);
}

void FillImageTypeCombo(HWND page) {
  FillSubjectCombo(page, kImageTypeCombo, true, true, true);
  ComboFitWidth(page, kImageTypeCombo);
  if (gCurrentFrame) ComboSelect(page, kImageTypeCombo, gCurrentFrame->imageType + 1);
}

HWND CreateFramePage(HWND parent) {
  return CreateDialogParamA(static_cast<HINSTANCE>(GetModuleInstance()), MAKEINTRESOURCEA(kFramePageTemplate), parent,
                            FramePageProc, 0);
}

INT_PTR CALLBACK FramePageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      gPaletteFramePage = page;
      SetFramePanelView(FramePanelView{RefreshPage, UpdatePageEnabling, ReloadPageCombos});
      FillImageCombos(page);
      UpdatePageEnabling();
      RefreshPage();
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code == EN_CHANGE && FieldUpdatesAllowed()) OnFieldEdited(page, id);
      if (code != CBN_SELCHANGE) return TRUE;
      if (id == kScanTypeCombo) OnScanTypeChange(page);
      if (id == kFilterCombo) OnFilterChange(page);
      if (id == kSettingsCombo) OnSettingsComboChange(page);
      if (id == kImageTypeCombo) OnImageTypeChange(page);
      return TRUE;
    }
    case WM_DESTROY:
      if (gPaletteFramePage == page) {
        gPaletteFramePage = nullptr;
        SetFramePanelView(FramePanelView{});
      }
      return FALSE;
    default:
      return FALSE;
  }
}
