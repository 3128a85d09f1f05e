// The palette as a GDI object.
#include <windows.h>

#include <cstdlib>

#include "photoapp/gdi/palette.h"

bool Palette::CreateFromTable(const PaletteEntry* table) {
  const size_t bytes = sizeof(LOGPALETTE) + (kPaletteEntries - 1) * sizeof(PALETTEENTRY);
  auto* logical = static_cast<LOGPALETTE*>(std::calloc(1, bytes));
  if (!logical) return false;
  logical->palVersion = 0x300;
  logical->palNumEntries = kPaletteEntries;
  for (int i = 0; i < kPaletteEntries; ++i)
    logical->palPalEntry[i] = {table[i].red, table[i].green, table[i].blue, 0};
  HPALETTE created = CreatePalette(logical);
  std::free(logical);
  DeletePalette();
  handle_ = created;
  return created != nullptr;
}

void Palette::DeletePalette() {
  if (handle_) DeleteObject(static_cast<HPALETTE>(handle_));
  handle_ = nullptr;
}
