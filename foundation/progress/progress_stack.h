// The level stacks of the progress window (dialog 199) and the status window
// (dialog 307): an operation started inside another one shows its own texts,
// and the outer texts return when it ends. At most 10 levels; a push beyond
// them and a pop with no level left are ignored.
#pragma once

#include <cstdint>
#include <string>

constexpr int kMaxProgressLevels = 10;

// Title codes besides string ids.
enum : int32_t { kNoTitle = 0, kTestTitle = -1, kOwnTitle = -2 };

struct ProgressLevel {
  uint8_t cancelAllowed;  // the cancel button is enabled and the keyboard watched
  int32_t title;          // a string id or one of the codes above
  int32_t subtitle;       // a string id; 0 or less for none
  char ownTitle[256];     // the text of kOwnTitle
};

struct ProgressStack {
  int16_t count = 0;
  ProgressLevel levels[kMaxProgressLevels] = {};
};

struct StatusStack {
  int16_t count = 0;
  int32_t stringIds[kMaxProgressLevels] = {};
};

// False (and nothing pushed) when all levels are in use.
bool PushProgressLevel(ProgressStack* stack, bool cancelAllowed, int32_t title, int32_t subtitle);
// False when there was no level.
bool PopProgressLevel(ProgressStack* stack);
// The top level; null when none is open.
ProgressLevel* TopProgressLevel(ProgressStack* stack);
bool PushStatusLevel(StatusStack* stack, int32_t stringId);
bool PopStatusLevel(StatusStack* stack);

// Loads a string-table text; empty when missing.
typedef std::string (*StringLoader)(int32_t id);
// The subtitle's text and ": " when there is one, then the title's text.
std::string ProgressLevelText(const ProgressLevel& level, StringLoader load);
// "#3/#10", "#3" when of is 0, "" when n is 0.
std::string ProgressCounterText(int32_t n, int32_t of);
// The bar position (0 to 100) of a fraction: fraction x 100 + 0.5, truncated.
int32_t ProgressBarPosition(float fraction);
// done / total, 0 when total is 0.
float ProgressFraction(int32_t done, int32_t total);

// Whether Ctrl is held together with the full-stop key or the keypad's decimal key.
bool CancelKeysDown();
