// Dialog 306: the maximum count of feeder scans.
#pragma once

#include <windows.h>

// Modal, between the tool windows' disable and enable; 1 from OK.
INT_PTR RunFeederCountDialog(HWND owner);
INT_PTR CALLBACK FeederCountDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Takes the field's number into the count, or marks the field pending when out of range.
void ReadFeederCountField(HWND dialog, int id);
