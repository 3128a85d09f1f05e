// The markers that show a frame's fixed measuring points on the preview
// control: marker i shows bitmap i of the set's ids, placed at a position
// given as fractions of the preview.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "tone/tone_curve.h"

struct PointMarker {
  uint8_t kind;  // 0: not shown
  double x;      // fractions of the preview, in the image's axes
  double y;
};

class PointMarkerSet {
 public:
  // Copies the bitmap ids (one per marker) and clears count records; a
  // failed allocation leaves no records.
  PointMarkerSet(const uint16_t* bitmapIds, int16_t count);
  virtual ~PointMarkerSet();
  PointMarkerSet(const PointMarkerSet&) = delete;
  PointMarkerSet& operator=(const PointMarkerSet&) = delete;

  virtual void ClearMarkerRecord(PointMarker* record);
  // The marker bitmap's rectangle centred on the marker's place in the
  // preview control, turned and mirrored as the preview is when orient is
  // set. bitmapSize: the bitmap's width and height, or null to read them;
  // false for a bad index or a bitmap that cannot be read.
  virtual bool GetMarkerRect(int16_t index, bool orient, const WinPoint* bitmapSize, WinRect* out);
  // Draws marker index (a shown one) into the preview control window.
  virtual void DrawMarker(void* window, int16_t index);
  // Half the width of the first kind's bitmap; 1 when it cannot be read.
  virtual int16_t MarkerHalfWidth();
  // Takes the curve's points (compacted first): a marker of kind 1 for each
  // active point, positions moved into the zoomed part while the preview is
  // zoomed; the rest cleared. false for a null curve, which clears all.
  virtual bool SetMarkersFromCurve(ToneCurve* curve);
  // n markers at points {x, y} in control pixels; false when n exceeds the
  // count or an argument is null.
  virtual bool SetMarkers(const uint8_t* kinds, const int32_t* points, int16_t n);
  // Invalidates the marker's rectangle in the preview control window.
  virtual void InvalidateMarker(void* window, int16_t index);

  int16_t count() const { return count_; }
  const PointMarker* marker(int16_t index) const { return index >= 0 && index < count_ ? &markers_[index] : nullptr; }

 private:
  uint16_t* ids_;
  int16_t count_;
  PointMarker* markers_;
};

// The width and height of a bitmap of the module's resources; false without it.
bool MarkerBitmapSize(uint16_t bitmapId, WinPoint* size);
