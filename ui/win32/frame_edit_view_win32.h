// The preview control as the frame editing loops see it: XOR outlines on its
// device context, the overlay, re-rendered areas drawn from the preview bitmap.
#pragma once

#include <windows.h>

#include "ui/frame_mouse_edit.h"

// Sets the module's cursor of that id; false when there is none.
bool SetCursorById(uint16_t id);

class PreviewEditView : public FrameEditView {
 public:
  PreviewEditView(HWND dialog, int controlId);
  WinPoint ScreenToControl(WinPoint screen) override;
  bool BeginOutlines() override;
  void InvertOutline(const WinRect& rect) override;
  void EndOutlines() override;
  void DrawAllFrames() override;
  void SetFrameCursor() override;
  WinPoint FocusMarkerSize() override;
  void InvertFocusMarker(const WinRect& rect) override;
  void InvertLineMarker(const WinRect& rect) override;
  void ShowCursor(uint16_t cursorId) override;
  void DrawPreviewArea(const WinRect& area) override;
  void RepaintPreview() override;
  void SampleDensitometerAtCursor() override;
  void RepaintNavigator() override;

 private:
  HWND dialog_;
  int controlId_;
  HWND control_;
  HDC dc_ = nullptr;
};
