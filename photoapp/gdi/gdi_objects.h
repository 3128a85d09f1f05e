// GDI objects owned by their C++ object: deleted with it or when replaced.
#pragma once

#include <windows.h>

class GdiObject {
 public:
  GdiObject() = default;
  virtual ~GdiObject() { DeleteObject(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  // Takes the handle; the one held before is deleted.
  void Attach(HGDIOBJ handle) {
    DeleteObject();
    handle_ = handle;
  }
  HGDIOBJ Detach() {
    HGDIOBJ handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void DeleteObject() {
    if (handle_) ::DeleteObject(handle_);
    handle_ = nullptr;
  }
  HGDIOBJ GetSafeHandle() const { return handle_; }

 private:
  HGDIOBJ handle_ = nullptr;
};

class Bitmap : public GdiObject {
 public:
  HBITMAP GetSafeHandle() const { return static_cast<HBITMAP>(GdiObject::GetSafeHandle()); }
  bool CreateCompatibleBitmap(HDC dc, int width, int height) {
    Attach(::CreateCompatibleBitmap(dc, width, height));
    return GetSafeHandle() != nullptr;
  }
  // Width and height in pixels; 0 x 0 without a bitmap.
  SIZE GetSize() const {
    BITMAP info = {};
    if (!GetSafeHandle() || !GetObject(GetSafeHandle(), sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
  }
};

class Font : public GdiObject {
 public:
  HFONT GetSafeHandle() const { return static_cast<HFONT>(GdiObject::GetSafeHandle()); }
  bool CreateFontIndirect(const LOGFONTA& description) {
    Attach(::CreateFontIndirectA(&description));
    return GetSafeHandle() != nullptr;
  }
};
