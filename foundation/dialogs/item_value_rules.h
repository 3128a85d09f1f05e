// When a field must be rewritten: setters that write only on a difference,
// so that controls refreshed on every mouse move do not flicker.
#pragma once

#include <cstdint>

// Whether a field showing `shown` must be rewritten with the value at the
// decimals: an empty field always, else when the shown number differs from
// the value by at least 1 / 10^decimals.
bool RealFieldNeedsWrite(const char* shown, float value, int decimals);

// UpdateItemInt's choice for a field that reads as `shown` (isNumber false
// when its text is no number).
enum class IntFieldUpdate { kKeep, kRewrite, kLeaveAlone };
IntFieldUpdate IntFieldUpdateFor(bool isNumber, int32_t shown, int32_t value, bool force);

// The number a field's text holds, for ReadNumberFromEdit. With `invalid`
// given, a character other than digits, "." and "," (or "+" or "-" first)
// sets it and the text counts as empty; an empty text gives the fallback.
double ReadNumberText(const char* text, double fallback, bool* invalid);
