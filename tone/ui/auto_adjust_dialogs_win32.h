// The subject dialog 1554 "Motiv", which edits, stores and deletes subjects,
// and the options dialog 357 "Optionen", which chooses the settings, the
// subject and the automatic run for new frames.
#pragma once

#include <windows.h>

#include <cstdint>

#include "records/frame_record.h"

// Empties the owner-drawn combo and lists the twelve built-in subjects, greying
// 0..10 unless enableBuiltIns and 11 unless enableUserDefined, then (addStored)
// the stored subjects from id 128 up to the first missing id.
void FillSubjectCombo(HWND dialog, int combo, bool enableBuiltIns, bool enableUserDefined, bool addStored);

// Runs dialog 1554; the subject index selected at OK, else the previous result
// (also when another tool dialog is open).
int16_t RunAutoAdjustDialog();

// Runs dialog 357; on OK the chosen settings go to out with the two choices.
bool RunAutoOptionsDialog(FrameRecord* out, uint8_t* runBeforeScan, uint8_t* imageType);
