#include "foundation/dialogs/save_as_counter.h"

void StartCounter(SaveAsCounter* counter, bool resetBeforeEachBatch, int16_t storedCounter) {
  counter->working = resetBeforeEachBatch ? 0 : storedCounter;
}

void CounterEdited(SaveAsCounter* counter, bool isNumber, int32_t number, uint32_t now) {
  if (!isNumber) {
    ArmCorrection(&counter->correction, kSaveAsCounterEdit, now);
    return;
  }
  int32_t clamped = number < kFirstCounterNumber ? kFirstCounterNumber
                    : number > kLastCounterNumber ? kLastCounterNumber
                                                  : number;
  counter->working = static_cast<int16_t>(clamped - 1);
  if (clamped != number) {
    ArmCorrection(&counter->correction, kSaveAsCounterEdit, now);
  } else {
    ClearCorrection(&counter->correction, kSaveAsCounterEdit);
  }
}
