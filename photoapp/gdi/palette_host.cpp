// The palette in the host build, which has no GDI: a copy of the entries.
#include <algorithm>
#include <new>

#include "photoapp/gdi/palette.h"

bool Palette::CreateFromTable(const PaletteEntry* table) {
  auto* entries = new (std::nothrow) PaletteEntry[kPaletteEntries];
  if (!entries) return false;
  std::copy(table, table + kPaletteEntries, entries);
  DeletePalette();
  handle_ = entries;
  return true;
}

void Palette::DeletePalette() {
  delete[] static_cast<PaletteEntry*>(handle_);
  handle_ = nullptr;
}
