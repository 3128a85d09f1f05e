// The host build has no colour-management module: loading it fails, so every
// wrapper answers its failure code.
#include "color/color_module.h"

namespace {

class NoColorModuleLoader : public ColorModuleLoader {
 public:
  void* Load(const char*) override { return nullptr; }
  void Free(void*) override {}
  void* Lookup(void*, const char*) override { return nullptr; }
};

}  // namespace

ColorModuleLoader& PlatformColorModuleLoader() {
  static NoColorModuleLoader loader;
  return loader;
}
