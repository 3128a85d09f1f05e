// The thumbnails of job entries: made from the current preview or the image
// file, rendered with the entry's corrections for the list, and re-oriented.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

class JobItem;
struct JobOrientation;

// The thumbnail rectangle of a picture of width x height: the larger side
// becomes 50, the other in proportion, axes exchanged when swapAxes is set.
// Each side is at least 1, so that an empty frame still has a thumbnail.
WinRect FitThumbnailSize(double width, double height, bool swapAxes);
// thumbRect from the frame's preview rectangle and its own orientation;
// false when the main window gives no preview rectangle.
bool FitThumbnailRect(JobItem& item);
// Draws the frame's part of the preview into thumbRaw and copies it into
// thumbShown; bitmaps without a preview stay as created.
void MakeThumbnail(JobItem& item);
// Both bitmaps made anew and rendered: an overview entry with fromFile set
// reads its image file (a light grey ground where it cannot), every other
// entry takes the current preview. False, and no thumbnail, when there is
// no preview rectangle or a bitmap cannot be made.
bool RefreshThumbnail(JobItem& item, int32_t fromFile);
// Renders the shown thumbnail from the raw one with the entry's corrections.
void RenderJobThumbnail(JobItem& item);
// The thumbnail turned from the frame's own orientation to the given one.
void ReorientThumbnail(JobItem& item, const JobOrientation& orientation);
// Whether the entry's output stays RGB: not with separation tables (5), and
// with ICM (2) only when the output profile opens as an RGB profile.
bool EntryOutputIsRgb(const JobItem& item);
// An overview entry's thumbnail from the bitmap handed over; null does nothing.
void BuildOverviewThumbnail(JobItem& item, void* bitmap);
// A 32-bit top-down bitmap of the size and its pixels (4 x width bytes a
// row); null when it cannot be made.
void* CreateJobBitmap(int32_t width, int32_t height, uint32_t** bits);
// Destroys a thumbnail bitmap; null is ignored.
void DeleteJobBitmap(void* bitmap);
