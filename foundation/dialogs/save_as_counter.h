// The batch counter of the save-as dialog: the number the next batch starts
// with, shown one above the working counter and kept within 1..9999.
#pragma once

#include <cstdint>

#include "foundation/dialogs/field_correction.h"

// The save-as dialog's items and its polling timer.
enum : uint16_t {
  kSaveAsOptionsButton = 1466,
  kSaveAsCounterGroup = 1467,
  kSaveAsResetCheck = 1470,
  kSaveAsCounterEdit = 1472,
  kSaveAsBatchLabel = 1473,
  kSaveAsCounterLabel = 1474,
};
constexpr uint32_t kSaveAsTimerId = 5021;
constexpr uint32_t kSaveAsTimerMs = 500;
constexpr int32_t kFirstCounterNumber = 1;
constexpr int32_t kLastCounterNumber = 9999;

struct SaveAsCounter {
  int16_t working = 0;
  FieldCorrection correction;
};

// The working counter when the dialog opens or the reset box is clicked.
void StartCounter(SaveAsCounter* counter, bool resetBeforeEachBatch, int16_t storedCounter);
// The number the edit shows.
inline int32_t CounterShown(const SaveAsCounter& counter) { return counter.working + 1; }
// The edit changed: isNumber tells whether its text read as a number.
void CounterEdited(SaveAsCounter* counter, bool isNumber, int32_t number, uint32_t now);
