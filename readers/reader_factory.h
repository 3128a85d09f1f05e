// Creates the reader for an image file from its extension.
#pragma once

#include <cstdint>
#include <memory>

#include "readers/image_file_reader.h"

enum ImageFileKind { kImageFileUnknown, kImageFileTiff, kImageFileJpeg, kImageFilePsd };

// The lower-cased extension compared exactly with ".tif", ".jpg" and ".psd";
// anything else (".tiff" and ".jpeg" included) is unknown.
ImageFileKind ImageFileKindFromPath(const char* path);

// Null for an unknown extension or a failed allocation. The file is not tested:
// callers check ImageReaderIsOpen and treat a closed reader as error 215.
std::unique_ptr<ImageFileReader> CreateImageFileReader(const char* path, int16_t jpegMode, bool reducedMode);
