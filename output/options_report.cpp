// The options section of the output statistics report. Which stored option
// each row prints is bound here, in one table per group.
#include <cstring>
#include <string>

#include "color/icc_profile_bytes.h"
#include "color/profile_files.h"
#include "foundation/paths.h"
#include "foundation/name_list.h"
#include "foundation/record_store.h"
#include "output/output_report.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/gamma_tables.h"

namespace {

constexpr RecordType kSettingsRecordType = TagFromString("Set1");

// The options as the section started.
DefaultsBlock gReportDefaults;

template <typename T>
T Option(DefaultsField<T> field) {
  return GetDefault(gReportDefaults, field);
}
std::string OptionText(DefaultsArea area) {
  const char* bytes = reinterpret_cast<const char*>(DefaultsBytes(gReportDefaults, area));
  return std::string(bytes, strnlen(bytes, area.size));
}

std::string Text(const std::string& text) { return ReportFormat(": %8s", text.c_str()); }
std::string YesNo(bool yes) { return Text(YesNoText(yes)); }
// The entry of a list of string ids, "???" outside it.
template <size_t N>
std::string Choice(long value, long first, const uint32_t (&ids)[N]) {
  const long index = value - first;
  return Text(index >= 0 && index < static_cast<long>(N) ? ReportString(ids[index]).c_str() : "???");
}
std::string Number(long value) { return ReportFormat(": %8ld", value); }
std::string Percent(long value) { return ReportFormat(": %7ld%%", value); }

// The description of an installed profile of the class (and colour space) by the stored file name, or "---".
// Colour space 0: any.
std::string ProfileRow(DefaultsArea stored, uint32_t deviceClass, uint32_t colorSpace) {
  const std::string path = OptionText(stored);
  if (path.empty()) return Text("---");
  const uint32_t flags = uint32_t{kMatchDeviceClass} | (colorSpace ? uint32_t{kMatchColorSpace} : 0u);
  PathPairNode* list = EnumerateColorProfiles(deviceClass, colorSpace, flags, nullptr);
  char description[kPathSize] = "---";
  const int position = IndexOfFileName(FileNamePart(path.c_str()), list);
  if (position == 0 || !GetPairFirstAt(position, description, list)) std::strcpy(description, "---");
  FreePathPairList(&list);
  return Text(description);
}

std::string DefaultSettingsName() {
  char name[kRecordNameSize] = {};
  const int32_t id = static_cast<int32_t>(Option(kDefaultSettingsRecordId));
  if (!gAppStore || !RecordStoreNameById(gAppStore, kSettingsRecordType, id, name) || !name[0]) return Text("---");
  return Text(name);
}

struct OptionsRow {
  uint32_t label;
  std::string (*value)();  // the value text from ": " on; null for a label-only line
};

const OptionsRow kGeneralRows[] = {
    {2702, [] { return Choice(Option(kDefaultColorModelRgb) ? 1 : 0, 0, {827u, 826u}); }},
    {2703, [] { return Choice(Option(kDefaultSizeUnit), 0, {800u, 801u, 656u, 657u, 658u}); }},
    {2704, [] { return Choice(Option(kDefaultDensitometerRadius), 1, {807u, 808u, 809u}); }},
    {2705, DefaultSettingsName},
    {2706, [] { return Choice(Option(kDefaultInterpolation), 0, {836u, 837u}); }},
    {2707, [] { return ReportFormat(": %7ldx", static_cast<long>(Option(kDefaultPrescanFactor))); }},
    // The working folder is kept by the main window's settings, not built yet.
    {2708, [] { return Text("---"); }},
    {2709, [] { return ReportFormat(": %8.2f", CurrentGamma()); }},
    {2710, [] { return YesNo(Option(kDefaultZirOutputReduction) != 0); }},
    {2711, [] { return ReportFormat(": %8.2f", Option(kDefaultZirGamma)); }},
    {2712, [] { return ReportFormat(": %8.1f", Option(kDefaultQualityFactor)); }},
    {2713, [] { return YesNo(Option(kDefaultReopenAfterScan) != 0); }},
    {2714, [] { return YesNo(Option(kDefaultRealTimeCorrectionOff) == 0); }},
};

const OptionsRow kAutoRows[] = {
    {2716, [] { return Number(Option(kDefaultAutoHighlightThreshold)); }},
    {2718, [] { return YesNo(Option(kDefaultAutoHighlightLevels) != 0); }},
    {2717, [] { return Number(Option(kDefaultAutoShadowThreshold)); }},
    {2719, [] { return YesNo(Option(kDefaultAutoShadowLevels) != 0); }},
    {2720, [] { return Percent(Option(kDefaultHighlightTargetPercent)); }},
    {2721, [] { return Percent(100 - Option(kDefaultShadowTargetInverse)); }},
    {2722, [] { return Percent(Option(kDefaultCastRemoval)); }},
    // The midtone factors are floats: printed as integers.
    {2723, [] { return Number(static_cast<long>(Option(kDefaultAutoPipetteMidFactor1))); }},
    {2724, [] { return Number(static_cast<long>(Option(kDefaultAutoPipetteMidFactor2))); }},
    {2725, [] {
       return YesNo((gLightSourceFlag ? Option(kDefaultAutoContrastTransparency)
                                      : Option(kDefaultAutoContrastReflective)) != 0);
     }},
    {2726, [] { return YesNo(Option(kDefaultAutoWithFeeder) != 0); }},
    {2727, [] { return Percent(Option(kDefaultMidPipetteTarget)); }},
    {2728, [] { return YesNo(Option(kDefaultMidPipetteTargetOn) != 0); }},
};

const OptionsRow kCmsRows[] = {
    {2730, nullptr},
    {2731, [] { return Choice(Option(kDefaultInputCmsMode), 1, {812u, 813u, 825u, 835u}); }},
    {2732, [] { return Choice(Option(kDefaultMonitorMatchingMode), 0, {830u, 831u, 832u}); }},
    {2733, [] { return Choice(Option(kDefaultOutputCmsMode), 1, {814u, 815u, 818u, 817u, 818u}); }},
    {2734, nullptr},
    {2735, [] { return ProfileRow(kDefaultScannerProfileReflective, IccSignature("scnr"), IccSignature("RGB ")); }},
    {2736, [] { return ProfileRow(kDefaultScannerProfileTransparency, IccSignature("scnr"), IccSignature("RGB ")); }},
    {2737, [] { return ProfileRow(kDefaultInternalProfile, IccSignature("mntr"), IccSignature("RGB ")); }},
    {2738, [] { return ProfileRow(kDefaultOutputProfile, IccSignature("prtr"), 0); }},
    {2739, [] { return Choice(Option(kDefaultRenderingIntent), 0, {838u, 839u, 840u, 841u}); }},
    {2742, nullptr},
    // The current image's profile path and the embedded profile's
    // description come from services not built yet.
    {2741, [] { return Text("---"); }},
    {2742, [] { return YesNo(Option(kDefaultEmbedIccProfile) != 0); }},
    {2743, [] { return Text("---"); }},
    {2744, [] {
       const std::string name = OptionText(kDefaultCalibrationProfileName);
       return Text(name.empty() ? "---" : name);
     }},
    // The separation source's description: a service not built yet.
    {2745, [] { return Text("???"); }},
};

const OptionsRow kScannerRows[] = {
    // The device's dither names and aperture list are not built yet: no dither, no aperture row.
    {2748, [] { return Text(ReportString(806).c_str()); }},
    {2749, [] {
       const long colour = Option(kDefaultDropoutColor);
       return ReportFormat(": %s", colour >= 0 && colour < 4 ? ReportString(802 + colour).c_str() : "???");
     }},
    {2758, [] {
       return ReportFormat(": R:%d G:%d B:%d M:%d", Option(kDefaultLampRed), Option(kDefaultLampGreen),
                           Option(kDefaultLampBlue), Option(kDefaultLampOverall));
     }},
    {2755, [] { return YesNo(Option(kDefaultMonochromePrescan) != 0); }},
    {2756, [] { return YesNo(Option(kDefaultFastPrescan) != 0); }},
    {2757, [] { return YesNo(Option(kDefaultFastScan) != 0); }},
    {2761, [] { return YesNo(Option(kDefaultSuperFineScan) != 0); }},
    {2752, [] { return YesNo(Option(kDefaultLimitGammaSlope) != 0); }},
    {2753, [] { return YesNo(Option(kDefaultSingleFocusInBatch) != 0); }},
    {2754, [] { return YesNo(Option(kDefaultMaxFrameWithFeeder) != 0); }},
};

// The scan mode's name: a service not built yet.
const OptionsRow kScanModeRow = {2759, [] { return Text("---"); }};

bool WriteRows(ReportFile* file, int indent, const OptionsRow* rows, size_t count) {
  bool ok = true;
  for (size_t r = 0; r < count; ++r)
    ok = rows[r].value ? WriteReportRow(file, indent, rows[r].label, rows[r].value())
                       : WriteLabeledLine(file, indent, (std::string(":") + kReportLineEnd).c_str(), rows[r].label);
  return ok;
}

bool EmptyIndentedLine(ReportFile* file, int indent) { return WriteIndentedText(file, indent, kReportLineEnd); }

bool WriteGroup(ReportFile* file, int indent, uint32_t heading, const OptionsRow* rows, size_t count) {
  WriteLabeledLine(file, indent, (std::string(":") + kReportLineEnd).c_str(), heading);
  WriteUnderline(file, indent, heading, "", true);
  return WriteRows(file, indent, rows, count);
}

template <size_t N>
bool WriteGroup(ReportFile* file, int indent, uint32_t heading, const OptionsRow (&rows)[N]) {
  return WriteGroup(file, indent, heading, rows, N);
}

}  // namespace

bool WriteOptionsReport(ReportFile* file, int indent) {
  const int i = indent + 4;
  gReportDefaults = gDefaults;
  EmptyIndentedLine(file, i);
  WriteIndentedText(file, i, (std::string(ReportString(2700).c_str()) + kReportLineEnd).c_str());
  WriteUnderline(file, i, 2700, "", false);
  EmptyIndentedLine(file, i);
  WriteGroup(file, i, 2701, kGeneralRows);
  EmptyIndentedLine(file, i);
  WriteGroup(file, i, 2715, kAutoRows);
  EmptyIndentedLine(file, i);
  WriteGroup(file, i, 2729, kCmsRows);
  EmptyIndentedLine(file, i);
  WriteGroup(file, i, 2747, kScannerRows);
  EmptyIndentedLine(file, i);
  return WriteRows(file, i, &kScanModeRow, 1);
}
