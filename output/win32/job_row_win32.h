// One row of the job list drawn for the list box's owner-draw message.
#pragma once

#include <windows.h>

class JobItem;

// Draws the entry's row (thumbnail, pictures, four lines, status mark) into
// a memory DC and copies it to itemRect of dc; nothing when the memory DC or
// its bitmap cannot be made.
void DrawJobRow(HDC dc, const RECT& itemRect, UINT action, UINT state, bool isEditedRow, const JobItem& item);
