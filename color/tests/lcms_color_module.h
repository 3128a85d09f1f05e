// A colour-management module for the host build, backed by lcms2: it opens
// profiles from files and memory, makes transforms between two of them and
// translates bitmaps in the module's formats, so the colour numbers of the
// translate paths can be checked on a machine without the system's module.
// Its pixel layouts: format 8 blue, green, red, pad; 16 red, green, blue,
// pad; 773 cyan, magenta, yellow, black; 10 blue, green, red in 16 bits
// (the sample of red highest); 1284 the target's channels in their order,
// 16 bits each; 1027 L*a*b* in 10 bits a field (L highest, 0..1023 for
// L* 0..100, a* and b* -128..127). CheckBitmapBits marks a pixel outside the
// gamut when the round trip through the target and back moves it by more
// than gamutTolerance (CIE 1976 delta E). Installed for the lifetime of the object.
#pragma once

#include "color/color_module.h"

class LcmsColorModule : public ColorModuleLoader {
 public:
  LcmsColorModule();
  ~LcmsColorModule() override;
  void* Load(const char* name) override;
  void Free(void* module) override;
  void* Lookup(void* module, const char* function) override;

  double gamutTolerance = 5.0;
};
