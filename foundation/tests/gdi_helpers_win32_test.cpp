// Win32 helpers: DIB sections for a rectangle.
#include <gtest/gtest.h>

#include "foundation/win32/gdi_helpers_win32.h"

namespace {

TEST(DibSection, TopDownOfTheRectanglesSize) {
  RECT rect{10, 20, 17, 25};
  HBITMAP bitmap = nullptr;
  void* pixels = nullptr;
  HDC dc = GetDC(nullptr);
  ASSERT_TRUE(CreateDibSectionForRect(dc, rect, &bitmap, &pixels, 24));
  ReleaseDC(nullptr, dc);
  DIBSECTION section;
  ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 7);
  EXPECT_EQ(section.dsBm.bmHeight, 5);
  EXPECT_EQ(section.dsBmih.biBitCount, 24);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 24) << "rows padded to 4 bytes";
  DeleteObject(bitmap);
  EXPECT_EQ(LoadBitmapResource(9999), nullptr);
}

TEST(WinRect, SharesTheSystemLayout) {
  WinRect r{1, 2, 3, 4};
  EXPECT_EQ(AsRECT(&r)->bottom, 4);
}

}  // namespace
