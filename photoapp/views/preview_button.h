// A view of one image document on an owner-drawn button: the image at a
// zoom, over a checkerboard, dragged with the mouse. Two views can be linked
// so that dragging either moves both (the main dialog's original and result).
#pragma once

#include "photoapp/document/image_document.h"
#include "photoapp/gdi/gdi_objects.h"
#include "photoapp/window/window.h"

class PreviewButton : public Window {
 public:
  ImageDocument& GetDocument() { return document_; }
  void SetLinkedView(PreviewButton* view) { linked_ = view; }

  // Loads the file and fits it into the view; the load's result.
  int LoadIntoView(const std::string& path);
  void FitToView();
  void ShowOriginalSize();
  void RebuildAtZoom();
  // After the document changed: the image at the zoom, but from 1.04 on at its own size.
  void RefreshAfterApply();
  void CenterImage();
  void ZoomIn();
  void ZoomOut();
  void SetZoom(double zoom);
  double GetZoom() const { return zoom_; }
  bool HasImage() const { return document_.HasPixels(); }

  void DrawItem(DRAWITEMSTRUCT* item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void OnPaint();
  void OnLButtonDown(int x, int y);
  void OnMouseMove(int x, int y);
  void OnLButtonUp();
  // Shows the document scaled into the box; false keeps the old bitmap.
  bool ShowScaledInto(int width, int height);
  bool ShowDocument(ImageDocument& document);
  void SetOffset(int x, int y);

  ImageDocument document_;
  Bitmap bitmap_;
  int bitmap_width_ = 0;
  int bitmap_height_ = 0;
  int offset_x_ = 0;
  int offset_y_ = 0;
  bool dragging_ = false;
  int last_x_ = 0;
  int last_y_ = 0;
  double zoom_ = 1.0;
  PreviewButton* linked_ = nullptr;
};
