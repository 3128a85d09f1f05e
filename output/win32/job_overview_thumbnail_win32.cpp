#include <windows.h>

#include "output/job_item.h"
#include "output/job_thumbnails.h"

// The overview's picture of the file stretched over a new thumbnail. The
// entry is new and has no bitmaps yet.
void BuildOverviewThumbnail(JobItem& item, void* bitmap) {
  BITMAP size = {};
  if (!bitmap || !GetObjectA(static_cast<HBITMAP>(bitmap), sizeof size, &size)) return;
  item.thumbRect = FitThumbnailSize(size.bmWidth, size.bmHeight, false);
  const int width = item.thumbRect.right, height = item.thumbRect.bottom;
  item.thumbRaw = CreateJobBitmap(width, height, &item.thumbRawBits);
  item.thumbShown = CreateJobBitmap(width, height, &item.thumbShownBits);
  if (!item.thumbRaw || !item.thumbShown) return;
  HDC source = CreateCompatibleDC(nullptr);
  HDC target = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSource = SelectObject(source, bitmap);
  HGDIOBJ oldTarget = SelectObject(target, item.thumbRaw);
  SetStretchBltMode(target, HALFTONE);
  SetBrushOrgEx(target, 0, 0, nullptr);
  StretchBlt(target, 0, 0, width, height, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  GdiFlush();
  SelectObject(target, oldTarget);
  SelectObject(source, oldSource);
  DeleteDC(target);
  DeleteDC(source);
  RenderJobThumbnail(item);  // copies the raw pixels into the shown ones first
}
