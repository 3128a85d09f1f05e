#include "readers/reader_factory.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "readers/tiff_reader.h"

ImageFileKind ImageFileKindFromPath(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  const char* dot = std::strrchr(name, '.');
  if (!dot) return kImageFileUnknown;
  std::string extension(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".tif") return kImageFileTiff;
  if (extension == ".jpg") return kImageFileJpeg;
  if (extension == ".psd") return kImageFilePsd;
  return kImageFileUnknown;
}

std::unique_ptr<ImageFileReader> CreateImageFileReader(const char* path, int16_t /*jpegMode*/, bool reducedMode) {
  switch (ImageFileKindFromPath(path)) {
    case kImageFileTiff:
      return std::unique_ptr<ImageFileReader>(new (std::nothrow) TiffReader(path, reducedMode));
    // The JPEG and PSD readers join the family with their own formats.
    case kImageFileJpeg:
    case kImageFilePsd:
    case kImageFileUnknown:
      break;
  }
  return nullptr;
}
