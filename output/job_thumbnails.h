// The thumbnails of job entries: made from the current preview or the image
// file, and rendered with the entry's corrections for the list.
#pragma once

#include <cstdint>

class JobItem;

// Builds the raw thumbnail (from the current preview when fromPreview is
// set) and renders the shown one.
void RefreshThumbnail(JobItem& item, int32_t fromPreview);
// Renders the shown thumbnail from the raw one with the entry's corrections.
void RenderJobThumbnail(JobItem& item);
// An overview entry's thumbnail from the bitmap handed over; null does nothing.
void BuildOverviewThumbnail(JobItem& item, void* bitmap);
// A 32-bit top-down bitmap of the size and its pixels (4 x width bytes a
// row); null when it cannot be made.
void* CreateJobBitmap(int32_t width, int32_t height, uint32_t** bits);
// Destroys a thumbnail bitmap; null is ignored.
void DeleteJobBitmap(void* bitmap);
