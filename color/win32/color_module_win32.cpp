// The colour-management module as the system loads it.
#include <windows.h>

#include "color/color_module.h"

namespace {

class SystemColorModuleLoader : public ColorModuleLoader {
 public:
  void* Load(const char* name) override { return LoadLibraryA(name); }
  void Free(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
  void* Lookup(void* module, const char* function) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), function));
  }
};

}  // namespace

ColorModuleLoader& PlatformColorModuleLoader() {
  static SystemColorModuleLoader loader;
  return loader;
}
