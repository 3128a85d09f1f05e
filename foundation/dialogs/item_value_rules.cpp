#include "foundation/dialogs/item_value_rules.h"

#include <cctype>
#include <cmath>

#include "foundation/decimal.h"
#include "foundation/pstring.h"

bool RealFieldNeedsWrite(const char* shown, float value, int decimals) {
  if (shown[0] == '\0') return true;
  PString text;
  PStrFromC(text, shown);
  float difference = static_cast<float>(std::fabs(ParseDecimal(text) - value));
  return !(1.0 / std::pow(10.0, decimals) > difference);
}

IntFieldUpdate IntFieldUpdateFor(bool isNumber, int32_t shown, int32_t value, bool force) {
  if (force) return IntFieldUpdate::kRewrite;
  if (!isNumber) return IntFieldUpdate::kLeaveAlone;
  return shown == value ? IntFieldUpdate::kKeep : IntFieldUpdate::kRewrite;
}

double ReadNumberText(const char* text, double fallback, bool* invalid) {
  if (invalid) {
    *invalid = false;
    for (const char* c = text; *c != '\0'; ++c) {
      const bool sign = c == text && (*c == '+' || *c == '-');
      if (!sign && !std::isdigit(static_cast<unsigned char>(*c)) && *c != '.' && *c != ',') {
        *invalid = true;
        return fallback;
      }
    }
  }
  if (text[0] == '\0') return fallback;
  PString number;
  PStrFromC(number, text);
  return ParseDecimal(number);
}
