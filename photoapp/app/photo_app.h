// The photo program's application object: its settings under the registry
// key "PicRefiner", and the main dialog run modally; the program ends with it.
#pragma once

#include "photoapp/window/app.h"

class PhotoApp : public WinApp {
 public:
  PhotoApp();

 protected:
  bool InitInstance() override;
};
