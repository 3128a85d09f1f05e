// PhotoRefiner: the application object runs the main dialog; the program
// ends when it closes.
#include <windows.h>

#include "photoapp/app/photo_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  PhotoApp app;
  return app.Run(instance);
}
