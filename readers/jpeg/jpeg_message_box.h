// How the product shows a library message: a stop box over the active window.
#pragma once

void ShowJpegMessageBox(const char* text);
