#include "foundation/log/module_string.h"

#include "foundation/memory.h"
#include "foundation/system.h"

std::string ModuleString(uint32_t id) {
  char text[256];
  return LoadResourceString(GetModuleInstance(), id, text, sizeof text) > 0 ? text : "";
}
