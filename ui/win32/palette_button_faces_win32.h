// The floating palette's Scan, Prescan and Option buttons: their texts, and
// the Scan button's face of image and text.
#pragma once

#include <windows.h>

#include <cstdint>

// Makes the Scan button's face, once: as wide as the widest of image 330 and
// the text "Scan Batch" (plus 2) in the font of the Cancel button, as high as the image.
void PrepareScanButtonBitmap(HWND palette);
// The face: the image centred on the button colour, the text over it, raised.
void ComposeScanButtonImage(HWND palette, uint16_t imageId, uint16_t textId);
// The texts of the Option and Prescan buttons by the keys, and the Scan
// button's face by the frame and the output, composed again only when its
// text or image changed (reset forgets the face shown).
void UpdateScanButtons(HWND palette, bool reset);
