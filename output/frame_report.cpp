// The frame sections of the output statistics report.
#include <cstdio>
#include <cstring>
#include <string>

#include "output/output_report.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/curve_tables.h"

namespace {

enum : uint32_t {
  kFrameHeading = 1520,
  kLineArtName = 16100, kGreyName = 16101, kRgbName = 16102, kCmykName = 16103, kLabName = 16104,
  kSelectiveLabel = 1551,
  kInputRulingString = 1545,
  kGlobalCorrectionLabel = 1565, kGlobalPointsLabel = 1566,
};

// The global colour correction's 7 points a column lie at this byte of the frame.
constexpr size_t kGlobalCorrectionPointsAt = 1878;
constexpr int kToneColumns[4] = {1, 2, 3, 0};  // R, G, B, then the master block
constexpr uint32_t kColumnNames[4] = {3000, 3001, 3002, 3016};
constexpr int kPointPercents[7] = {0, 12, 25, 50, 75, 87, 100};
constexpr int16_t kOutputCmsLab = 4;

bool SharpenKind(uint8_t filter) {
  return filter == 1 || (filter >= 3 && filter <= 6) || (filter >= 9 && filter <= 12);
}

const char* OutputFormatName(const FrameRecord& frame, ReportString* name) {
  uint32_t id;
  if (frame.colorMode == 2) {
    if (!GetDefault(gDefaults, kDefaultThreeChannelOutput)) id = kCmykName;
    else if (GetDefault(gDefaults, kDefaultOutputCmsMode) == kOutputCmsLab) id = kLabName;
    else id = kRgbName;
  } else {
    id = frame.bitsPerChannel == 1 ? kLineArtName : kGreyName;
  }
  *name = ReportString(id);
  return name->c_str();
}

const char* AngleText(uint16_t turns) {
  static const char* const kAngles[4] = {"0\xb0", "90\xb0", "180\xb0", "270\xb0"};
  return turns < 4 ? kAngles[turns] : "???";
}

// 6 lines; line L holds column L of every matrix row.
bool WriteMatrix(ReportFile* file, int indent, const int16_t* values, int rows) {
  bool ok = true;
  for (int line = 0; ok && line < 6; ++line) {
    std::string text = line == 0 ? ":    " : "";
    for (int r = 0; r < rows; ++r) text += ReportFormat(" %4ld", static_cast<long>(values[r * 6 + line]));
    text += kReportLineEnd;
    ok = line == 0 ? WriteLabeledLine(file, indent, text.c_str(), kSelectiveLabel)
                   : WriteIndentedText(file, indent + kReportLabelWidth + 5, text.c_str());
  }
  return ok;
}

bool WriteSelectiveCorrection(ReportFile* file, const FrameRecord& frame, int indent) {
  switch (frame.selectiveColorMode) {
    case 3:
      return WriteReportRow(file, indent, kSelectiveLabel, ReportFormat(": %8s", "---"));
    case 1:
      return WriteMatrix(file, indent, frame.selectiveColorMatrix, 6);
    case 2:
      return WriteMatrix(file, indent, frame.colorMatrix12, 12);
    default:
      return true;
  }
}

std::string ColumnHeader() {
  std::string header;
  for (uint32_t id : kColumnNames) header += ReportFormat("%8s", ReportString(id).c_str());
  return header;
}

// "p % (X/Y)" right-aligned in 30 columns, ": ", each column's pair, then the pairs in percent.
bool WritePointLine(ReportFile* file, int indent, int k, const uint16_t (&x)[4], const uint16_t (&y)[4]) {
  char format[16];
  std::snprintf(format, sizeof format, "%%%ds: ", kReportLabelWidth);
  std::string text = ReportFormat(format, ReportFormat("%d %% (X/Y)", kPointPercents[k]).c_str());
  for (int c = 0; c < 4; ++c) text += ReportFormat("%4ld/%3ld", static_cast<long>(x[c]), static_cast<long>(y[c]));
  text += "  (";
  for (int c = 0; c < 4; ++c)
    text += ReportFormat("%4ld/%3ld", static_cast<long>(x[c]) * 100 / 256, static_cast<long>(y[c]) * 100 / 256);
  text += "  )";
  text += kReportLineEnd;
  return WriteIndentedText(file, indent, text.c_str());
}

template <typename X, typename Y>
bool PairRow(ReportFile* file, int indent, uint32_t label, const ToneBlock* blocks, X x, Y y) {
  std::string text = ": ";
  for (int column : kToneColumns)
    text += ReportFormat("%4ld/%3ld", static_cast<long>(x(blocks[column])), static_cast<long>(y(blocks[column])));
  return WriteReportRow(file, indent, label, text);
}

template <typename Value>
bool NumberRow(ReportFile* file, int indent, uint32_t label, const ToneBlock* blocks, Value value) {
  std::string text = ": ";
  for (int column : kToneColumns) text += ReportFormat("%8ld", static_cast<long>(value(blocks[column])));
  return WriteReportRow(file, indent, label, text);
}

}  // namespace

std::string YesNoText(bool yes) { return ReportString(yes ? kYesString : kNoString).c_str(); }

bool WriteFrameReport(ReportFile* file, FrameRecord frame, long n, int indent) {
  const int i = indent + 4;
  const std::string title = std::string(ReportString(kFrameHeading).c_str()) + ReportFormat(" (%ld)", n);
  WriteReportText(file, kReportLineEnd);
  WriteIndentedText(file, i, (title + kReportLineEnd).c_str());
  WriteUnderline(file, i, 0, title.c_str(), false);

  WriteReportRow(file, i, 1521, ReportFormat(": %8ld", static_cast<long>(frame.version)));
  WriteReportRow(file, i, 1522, ReportFormat(": %8ld", static_cast<long>(frame.screenRuling)));
  WriteReportRow(file, i, 1523, ReportFormat(": %8.2f", frame.qualityFactor));
  WriteReportRow(file, i, 1524, ReportFormat(": %8ld", static_cast<long>(frame.outputResolution)));
  WriteReportRow(file, i, 1525, ReportFormat(": %8.2f", frame.originX));
  WriteReportRow(file, i, 1526, ReportFormat(": %8.2f", frame.originY));
  WriteReportRow(file, i, 1527, ReportFormat(": %8.2f", frame.width));
  WriteReportRow(file, i, 1528, ReportFormat(": %8.2f", frame.height));
  WriteReportRow(file, i, 1529, ReportFormat(": %8.2f", frame.outputScaleX));
  WriteReportRow(file, i, 1530, ReportFormat(": %8.2f", frame.outputScaleY));
  // The output's size.
  WriteReportRow(file, i, 1527, ReportFormat(": %8.2f", frame.outputScaleX * frame.width * 0.01));
  WriteReportRow(file, i, 1528, ReportFormat(": %8.2f", frame.outputScaleY * frame.height * 0.01));
  WriteReportRow(file, i, 1531, ReportFormat(": %8ld", static_cast<long>(frame.bitsPerChannel)));
  char text[sizeof frame.maskName + 1] = {};
  std::memcpy(text, frame.maskName, sizeof frame.maskName);
  WriteReportRow(file, i, 1533, ReportFormat(": %s", text));
  char name[sizeof frame.name + 1] = {};
  if (frame.hasName) std::memcpy(name, frame.name, sizeof frame.name);
  WriteReportRow(file, i, 1534, ReportFormat(": %s", name));
  ReportString format(0);
  WriteReportRow(file, i, 1535, ReportFormat(": %8s", OutputFormatName(frame, &format)));
  if (SharpenKind(frame.filterMode)) {
    static const char* const kMatrices[3] = {"3x3", "5x5", "7x7"};
    WriteReportRow(file, i, 1536, ReportFormat(": %8ld", static_cast<long>(frame.sharpen942)));
    WriteReportRow(file, i, 1537, ReportFormat(": %8ld", static_cast<long>(static_cast<int8_t>(frame.sharpen941))));
    WriteReportRow(file, i, 1538, ReportFormat(": %8ld", static_cast<long>(frame.sharpen944)));
    WriteReportRow(file, i, 1539, ReportFormat(": %8ld", static_cast<long>(frame.sharpen1488)));
    WriteReportRow(file, i, 1540, ReportFormat(": %8ld", static_cast<long>(frame.sharpen1490)));
    WriteReportRow(file, i, 1541, ReportFormat(": %8s", frame.sharpenFlag < 3 ? kMatrices[frame.sharpenFlag] : "???"));
    WriteReportRow(file, i, 1542, ReportFormat(": %8s", YesNoText(frame.sharpen948 != 0).c_str()));
  } else {
    WriteReportRow(file, i, 1543, ReportFormat(": %8s", YesNoText(false).c_str()));
  }
  if (frame.filterMode == 2 || frame.filterMode == 3)
    WriteReportRow(file, i, 1544, ReportFormat(": %8s (%s: %ld)", YesNoText(true).c_str(), ReportString(kInputRulingString).c_str(),
                              static_cast<long>(static_cast<uint16_t>(frame.screenRulingCopy))));
  else
    WriteReportRow(file, i, 1544, ReportFormat(": %8s", YesNoText(false).c_str()));
  WriteReportRow(file, i, 1546, ReportFormat(": %8s", YesNoText(frame.mirrorH != 0).c_str()));
  WriteReportRow(file, i, 1547, ReportFormat(": %8s", YesNoText(frame.mirrorV != 0).c_str()));
  WriteReportRow(file, i, 1548, ReportFormat(": %8s (%s)", YesNoText(frame.quarterTurns != 0).c_str(), AngleText(frame.quarterTurns)));
  WriteReportRow(file, i, 1549, ReportFormat(": %8s", YesNoText(frame.invert != 0).c_str()));
  WriteReportRow(file, i, 1550, ReportFormat(": %8s", YesNoText(frame.scalesFollowList != 0).c_str()));
  WriteSelectiveCorrection(file, frame, i);
  WriteToneReport(file, &frame, frame.tone, i);
  const uint8_t* points = reinterpret_cast<const uint8_t*>(&frame) + kGlobalCorrectionPointsAt;
  WriteGlobalCorrectionReport(file, frame, points, i);
  return true;
}

bool WriteToneReport(ReportFile* file, FrameRecord* frame, const ToneBlock* blocks, int i) {
  WriteReportRow(file, i, 1552, ReportFormat(": %8ld", static_cast<long>(blocks[0].version)));
  WriteReportRow(file, i, 1553, ": " + ColumnHeader());
  for (int k = 0; k < 7; ++k) {
    uint16_t x[4], y[4];
    for (int c = 0; c < 4; ++c) {
      x[c] = blocks[kToneColumns[c]].gradationX[k];
      y[c] = blocks[kToneColumns[c]].gradationY[k];
    }
    WritePointLine(file, i, k, x, y);
  }
  PairRow(file, i, 1554, blocks, [](const ToneBlock& b) { return static_cast<uint16_t>(b.endLow); },
          [](const ToneBlock& b) { return static_cast<uint16_t>(b.endHigh); });
  PairRow(file, i, 1555, blocks, [](const ToneBlock& b) { return b.inputHigh; },
          [](const ToneBlock& b) { return static_cast<uint16_t>(b.inputLow); });
  PairRow(file, i, 1556, blocks, [](const ToneBlock& b) { return static_cast<uint16_t>(b.outputLow); },
          [](const ToneBlock& b) { return static_cast<uint16_t>(b.outputHigh); });
  // The expert values are signed.
  NumberRow(file, i, 1557, blocks, [](const ToneBlock& b) { return b.lowerContrast; });
  NumberRow(file, i, 1558, blocks, [](const ToneBlock& b) { return b.midtoneShift; });
  NumberRow(file, i, 1559, blocks, [](const ToneBlock& b) { return b.upperContrast; });
  NumberRow(file, i, 1560, blocks, [](const ToneBlock& b) { return b.contrast; });
  NumberRow(file, i, 1561, blocks, [](const ToneBlock& b) { return b.brightness; });
  std::string text = ": ";
  for (int column : kToneColumns) text += ReportFormat("%8s", YesNoText(blocks[column].shiftMode != 0).c_str());
  WriteReportRow(file, i, 1562, text);
  NumberRow(file, i, 1563, blocks, [](const ToneBlock& b) { return static_cast<uint16_t>(b.fixedPointValues[0].source); });
  text = ": ";
  for (int column : kToneColumns) {
    uint8_t table[kCurveTableBytes] = {};
    BuildChannelCurveTable(table, frame, static_cast<int16_t>(column));
    const uint16_t index = static_cast<uint16_t>(blocks[column].fixedPointValues[0].target);
    // A target beyond the table has no entry to show.
    text += index < 256 ? ReportFormat("%8ld", static_cast<long>(table[index])) : ReportFormat("%8s", "???");
  }
  WriteReportRow(file, i, 1564, text);
  return true;
}

bool WriteGlobalCorrectionReport(ReportFile* file, const FrameRecord& frame, const uint8_t* points, int i) {
  WriteReportRow(file, i, kGlobalCorrectionLabel, ": ");
  WriteReportRow(file, i, kGlobalPointsLabel, ": " + ColumnHeader());
  for (int k = 0; k < 7; ++k) {
    uint16_t x[4], y[4];
    for (int c = 0; c < 4; ++c) {
      x[c] = frame.tone[c].gradationX[k];
      std::memcpy(&y[c], points + 2 * (7 * c + k), 2);
    }
    WritePointLine(file, i, k, x, y);
  }
  return true;
}
