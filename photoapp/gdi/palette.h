// A logical palette owned by its object: an HPALETTE in the Windows
// configurations, a plain copy of the entries in the host build, so that the
// image document that derives from it builds and runs on both.
#pragma once

#include "imagelib/imagelib.h"

class Palette {
 public:
  Palette() = default;
  virtual ~Palette() { DeletePalette(); }
  Palette(const Palette&) = delete;
  Palette& operator=(const Palette&) = delete;

  // Replaces the palette by the table's 256 colours (flags 0). False when the
  // entries cannot be had (the old palette stays) or the palette cannot be
  // made (there is none then).
  bool CreateFromTable(const PaletteEntry* table);
  void DeletePalette();
  bool HasPalette() const { return handle_ != nullptr; }
  // The HPALETTE in the Windows configurations; null while there is none.
  void* GetSafeHandle() const { return handle_; }

 private:
  void* handle_ = nullptr;
};
