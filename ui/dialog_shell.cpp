#include "ui/dialog_shell.h"

// Not built yet: the user interface starts without a window.
bool CreateMainDialog() { return true; }
void DestroyMainDialog() {}
