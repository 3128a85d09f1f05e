#include "readers/reader_factory.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "foundation/paths.h"
#include "readers/jpeg/jpeg_reader.h"
#include "readers/psd/psd_reader.h"
#include "readers/tiff_reader.h"

ImageFileKind ImageFileKindFromPath(const char* path) {
  const char* dot = std::strrchr(FileNamePart(path), '.');
  if (!dot) return kImageFileUnknown;
  std::string extension(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".tif") return kImageFileTiff;
  if (extension == ".jpg") return kImageFileJpeg;
  if (extension == ".psd") return kImageFilePsd;
  return kImageFileUnknown;
}

std::unique_ptr<ImageFileReader> CreateImageFileReader(const char* path, int16_t jpegMode, bool reducedMode) {
  switch (ImageFileKindFromPath(path)) {
    case kImageFileTiff:
      return std::unique_ptr<ImageFileReader>(new (std::nothrow) TiffReader(path, reducedMode));
    case kImageFilePsd:
      return std::unique_ptr<ImageFileReader>(new (std::nothrow) PsdReader(path, reducedMode));
    case kImageFileJpeg:
      return std::unique_ptr<ImageFileReader>(new (std::nothrow) JpegReader(path, static_cast<uint16_t>(jpegMode)));
    case kImageFileUnknown:
      break;
  }
  return nullptr;
}
