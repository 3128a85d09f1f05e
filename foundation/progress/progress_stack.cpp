#include "foundation/progress/progress_stack.h"

#include <cstdio>

#include "foundation/round.h"
#include "foundation/system.h"

namespace {

enum : int { kVirtualKeyControl = 0x11, kVirtualKeyDecimal = 0x6E };

}  // namespace

bool PushProgressLevel(ProgressStack* stack, bool cancelAllowed, int32_t title, int32_t subtitle) {
  if (stack->count >= kMaxProgressLevels) return false;
  ProgressLevel& level = stack->levels[stack->count++];
  level = ProgressLevel{};
  level.cancelAllowed = cancelAllowed ? 1 : 0;
  level.title = title;
  level.subtitle = subtitle;
  return true;
}

bool PopProgressLevel(ProgressStack* stack) {
  if (stack->count <= 0) return false;
  --stack->count;
  return true;
}

ProgressLevel* TopProgressLevel(ProgressStack* stack) {
  return stack->count > 0 ? &stack->levels[stack->count - 1] : nullptr;
}

bool PushStatusLevel(StatusStack* stack, int32_t stringId) {
  if (stack->count >= kMaxProgressLevels) return false;
  stack->stringIds[stack->count++] = stringId;
  return true;
}

bool PopStatusLevel(StatusStack* stack) {
  if (stack->count <= 0) return false;
  --stack->count;
  return true;
}

std::string ProgressLevelText(const ProgressLevel& level, StringLoader load) {
  std::string text;
  if (level.subtitle > 0) {
    std::string subtitle = load(level.subtitle);
    if (!subtitle.empty()) text = subtitle + ": ";
  }
  switch (level.title) {
    case kNoTitle:
      break;
    case kTestTitle:
      text += "Test...";
      break;
    case kOwnTitle:
      text += level.ownTitle;
      break;
    default:
      text += load(level.title);
  }
  return text;
}

std::string ProgressCounterText(int32_t n, int32_t of) {
  if (n == 0) return "";
  char text[32];
  if (of != 0) {
    std::snprintf(text, sizeof text, "#%d/#%d", static_cast<int>(n), static_cast<int>(of));
  } else {
    std::snprintf(text, sizeof text, "#%d", static_cast<int>(n));
  }
  return text;
}

int32_t ProgressBarPosition(float fraction) { return TruncRound(static_cast<double>(fraction) * 100.0); }

float ProgressFraction(int32_t done, int32_t total) {
  return total == 0 ? 0.0f : static_cast<float>(done) / static_cast<float>(total);
}

bool CancelKeysDown() {
  return IsKeyDown(kVirtualKeyControl) && (IsCharKeyDown('.') || IsKeyDown(kVirtualKeyDecimal));
}
