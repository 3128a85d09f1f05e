// The output statistics report ("Ausgabestatistik"): a text file listing the
// current options and, frame by frame, every setting that shapes a frame's
// output. Labels are strings of the module's table.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/dialogs/prompts.h"
#include "output/report_lines.h"
#include "records/frame_record.h"

enum : uint32_t {
  kReportTitleString = 1500,     // "Dateiname für Ausgabestatistik auswählen"
  kReportFilterNameString = 1501,  // "Textdateien:"
  kReportPatternString = 1502,   // "*.txt"
  kReportFileNameString = 1503,  // "QB Statistic.txt"
  kYesString = 1510,             // "ja"
  kNoString = 1511,              // "nein"
};

// Asks for the file (the save dialog), writes the options and every frame,
// the current one first. A cancel or a file that cannot be made writes nothing.
void WriteOutputStatistics(WindowHandle owner);

bool WriteOptionsReport(ReportFile* file, int indent);
// One frame's section, numbered n.
bool WriteFrameReport(ReportFile* file, FrameRecord frame, long n, int indent);
// The gradation points and tone values of the four tone blocks, in the column order R, G, B, grey.
bool WriteToneReport(ReportFile* file, FrameRecord* frame, const ToneBlock* blocks, int indent);
// The global colour correction's points: 7 values a column at `points`.
bool WriteGlobalCorrectionReport(ReportFile* file, const FrameRecord& frame, const uint8_t* points, int indent);

// "ja" or "nein".
std::string YesNoText(bool yes);
