#include "photoapp/window/dc.h"

void DC::FillSolidRect(const RECT& rect, COLORREF color) {
  // ExtTextOut with an opaque rectangle fills without a brush of its own.
  const COLORREF previous = SetBkColor(dc_, color);
  ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc_, previous);
}

bool DC::BitBlt(int x, int y, int width, int height, const DC& source, int source_x, int source_y, DWORD rop) {
  return ::BitBlt(dc_, x, y, width, height, source.dc_, source_x, source_y, rop) != 0;
}

SIZE DC::GetTextExtent(const std::string& text) const {
  SIZE size = {};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}
