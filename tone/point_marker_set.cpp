#include "tone/point_marker_set.h"

#include <cstring>

#include "foundation/memory.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "tone/point_marker_platform.h"
#include "tone/tone_window_hooks.h"

namespace {

constexpr uint32_t kBitmapResourceType = 2;
constexpr uint32_t kBitmapHeaderBytes = 12;  // up to the height of the bitmap's info header

int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

}  // namespace

bool MarkerBitmapSize(uint16_t bitmapId, WinPoint* size) {
  uint32_t bytes = 0;
  const auto* data = static_cast<const uint8_t*>(
      LoadCustomResource(GetModuleInstance(), ResourceTypeNumber(kBitmapResourceType), bitmapId, &bytes));
  if (!data || bytes < kBitmapHeaderBytes) return false;
  const int32_t height = ReadI32(data + 8);
  *size = WinPoint{ReadI32(data + 4), height < 0 ? -height : height};  // negative: stored top-down
  return size->x > 0;
}

PointMarkerSet::PointMarkerSet(const uint16_t* bitmapIds, int16_t count) : ids_(nullptr), count_(0), markers_(nullptr) {
  if (!bitmapIds || count < 1) return;
  ids_ = static_cast<uint16_t*>(AllocBlock(sizeof(uint16_t) * count));
  markers_ = static_cast<PointMarker*>(AllocBlock(sizeof(PointMarker) * count));
  if (!ids_ || !markers_) {
    FreeBlock(ids_);
    FreeBlock(markers_);
    ids_ = nullptr;
    markers_ = nullptr;
    return;
  }
  std::memcpy(ids_, bitmapIds, sizeof(uint16_t) * count);
  count_ = count;
  for (int16_t i = 0; i < count_; ++i) ClearMarkerRecord(&markers_[i]);
}

PointMarkerSet::~PointMarkerSet() {
  FreeBlock(ids_);
  FreeBlock(markers_);
  count_ = 0;
}

void PointMarkerSet::ClearMarkerRecord(PointMarker* record) {
  if (record) *record = PointMarker{};
}

bool PointMarkerSet::GetMarkerRect(int16_t index, bool orient, const WinPoint* bitmapSize, WinRect* out) {
  const PointMarker* m = marker(index);
  if (!m || !out) return false;
  WinPoint size{};
  if (bitmapSize) size = *bitmapSize;
  else if (!MarkerBitmapSize(ids_[index], &size)) return false;
  const WinPoint centre = ToneWindow().previewPoint(m->x, m->y, orient);
  out->left = centre.x - size.x / 2;
  out->top = centre.y - size.y / 2;
  out->right = out->left + size.x;
  out->bottom = out->top + size.y;
  return true;
}

void PointMarkerSet::DrawMarker(void* window, int16_t index) {
  const PointMarker* m = marker(index);
  WinRect rect;
  if (!m || m->kind == 0 || !GetMarkerRect(index, true, nullptr, &rect)) return;
  DrawMarkerBitmap(window, ids_[index], rect.left, rect.top);
}

int16_t PointMarkerSet::MarkerHalfWidth() {
  WinPoint size;
  if (count_ < 1 || !MarkerBitmapSize(ids_[0], &size)) return 1;
  return static_cast<int16_t>(size.x / 2);
}

bool PointMarkerSet::SetMarkersFromCurve(ToneCurve* curve) {
  if (curve) curve->CompactCurvePoints();
  DRect zoom;
  const bool zoomed = ToneWindow().zoomBox(&zoom);
  for (int16_t i = 0; i < count_; ++i) {
    PointMarker& m = markers_[i];
    CurvePoint point;
    if (!curve || !curve->GetCurvePoint(&point, i)) {
      ClearMarkerRecord(&m);
      continue;
    }
    m.kind = curve->IsCurvePointActive(&point) ? 1 : 0;
    m.x = point.x;
    m.y = point.y;
    if (zoomed) {
      m.x = (gScanAreaInches.width * point.x - zoom.x) / zoom.width;
      m.y = (gScanAreaInches.height * point.y - zoom.y) / zoom.height;
    }
  }
  return curve != nullptr;
}

bool PointMarkerSet::SetMarkers(const uint8_t* kinds, const int32_t* points, int16_t n) {
  if (!kinds || !points || n > count_) return false;
  const WinRect client = ToneWindow().previewClientRect(false);
  const double width = RectWidth(client), height = RectHeight(client);
  for (int16_t i = 0; i < n; ++i) {
    markers_[i].kind = kinds[i];
    markers_[i].x = width > 0 ? points[2 * i] / width : 0.0;
    markers_[i].y = height > 0 ? points[2 * i + 1] / height : 0.0;
  }
  return true;
}

void PointMarkerSet::InvalidateMarker(void* window, int16_t index) {
  WinRect rect;
  if (GetMarkerRect(index, true, nullptr, &rect)) InvalidateWindowRect(window, rect);
}
