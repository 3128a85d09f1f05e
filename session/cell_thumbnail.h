// The thumbnail of one overview cell: from the folder's cache when it still
// matches the image, else drawn from the image and stored in the cache.
#pragma once

#include <cstdint>
#include <memory>

#include "readers/image_file_reader.h"
#include "session/thumbnail_cache.h"

// Opens a reader in thumbnail mode for the image, reads its header and starts
// reading; the image's width and height. False when the image cannot be read.
bool BuildThumbnail(const char* path, int32_t* width, int32_t* height, std::unique_ptr<ImageFileReader>* reader);

// The cell's thumbnail: a 24-bit top-down bitmap of the size that fits the
// cell's image area.
bool GetCellThumbnail(int cell, CachedThumbnail* thumbnail);
// The overview's thumbnail-building callback: makes sure the cell's thumbnail is cached.
bool BuildCellThumbnail(int cell, void* value);

// Draws one overview cell at (x, y) of the device context; false when the
// cell has no image. Only the product draws; the host build has no windows.
bool DrawThumbnailCell(int cell, void* deviceContext, int32_t x, int32_t y, void* value);
