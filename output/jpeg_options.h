// The user's JPEG settings: quality, and baseline, optimised or progressive
// coding. One 8-byte record in the application store; the options dialog
// edits the module's copy.
#pragma once

#include <cstdint>

#include "foundation/record_type.h"
#include "foundation/dialogs/prompts.h"

#pragma pack(push, 1)
struct JpegOptions {
  uint16_t version;
  uint16_t quality;  // the library's quality value
  uint8_t baseline;
  uint8_t optimised;
  uint8_t progressive;
  uint8_t spare;
};
#pragma pack(pop)
static_assert(sizeof(JpegOptions) == 8, "the stored record holds 8 bytes");

constexpr RecordType kJpegOptionsType = TagFromString("QBOp");
constexpr int32_t kJpegOptionsId = 3;
constexpr const char* kJpegOptionsName = "JPEGOptions";
constexpr uint16_t kJpegOptionsVersion = 1;
constexpr JpegOptions kDefaultJpegOptions = {kJpegOptionsVersion, 90, 1, 0, 0, 0};

// The dialog's slider steps 1 to 10 and the qualities they stand for.
constexpr int kJpegQualitySteps = 10;
constexpr int kJpegStepOfUnknownQuality = 8;
int JpegQualityOfStep(int step);
// The step of a quality; a value not in the table shows as step 8.
int JpegStepOfQuality(int quality);

// The module's copy the dialog works on.
extern JpegOptions gJpegOptions;

// The defaults, then the stored record when it exists and has version 1.
void LoadJpegOptions(JpegOptions* options);
// Replaces the stored record.
bool SaveJpegOptions(const JpegOptions& options);

// Dialog 434 "JPEG-Optionen" over the owner; OK saves the options. Both
// buttons end it with 1.
int RunJpegOptionsDialog(WindowHandle owner);
