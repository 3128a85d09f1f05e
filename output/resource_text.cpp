#include "output/resource_text.h"

#include "foundation/memory.h"
#include "foundation/system.h"

std::string ResourceText(uint32_t id) {
  char text[512] = {};
  LoadResourceString(GetModuleInstance(), id, text, sizeof text);
  return text;
}
