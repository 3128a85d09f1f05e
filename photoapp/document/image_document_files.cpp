// Loading and saving the document by image type.
#include <cstdint>

#include "photoapp/document/image_document.h"
#include "photoapp/document/image_types.h"

namespace {

constexpr int kTrueColours = 16777216;
constexpr double kPngGamma = 0.345;
// Metafiles are played on mid-grey; the extent serves files without a placeable header.
constexpr uint32_t kMetafileBackground = 0x808080;
constexpr int kMetafileExtent = 100;

bool IsMetafile(int type) { return type == kImageTypeWmf || type == kImageTypeEmf; }

// The header-reading types read their header before the decode, then rewind.
bool ReadHeaderAndRewind(ImageStream source, int type) {
  int width = 0, height = 0, bits = 0, color_type = 0, interlace = 0;
  int read = 1;
  if (type == kImageTypeJpeg) read = GetJpegFileInfo(source, &width, &height, &bits, nullptr);
  if (type == kImageTypePng) read = GetPngFileInfo(source, &width, &height, &bits, &color_type, &interlace, nullptr);
  if (type == kImageTypeTiff) read = GetTiffFileInfo(source, &width, &height, &bits, nullptr);
  return read && SeekStream(source, 0, 0);
}

PixelBuffer Decode(ImageStream source, int type, int* width, int* height) {
  switch (type) {
    case kImageTypeJpeg: return ReadJpegFile(source, width, height, 24);
    case kImageTypePng: return ReadPngFile(source, width, height, 24, nullptr);
    case kImageTypeBmp: return ReadBmpFile(source, width, height, 24, nullptr);
    case kImageTypePcx: return ReadPcxFile(source, width, height, 24, nullptr);
    case kImageTypeTiff: return ReadTiffFile(source, width, height, 24, 0, 0);
    case kImageTypeTga: return ReadTgaFile(source, width, height, 24, nullptr);
    case kImageTypePsd: return ReadPsdFile(source, width, height, 24, nullptr);
  }
  return nullptr;
}

// Every type of the table loads and saves.
bool IsKnownType(int type) {
  switch (type) {
    case kImageTypeJpeg: case kImageTypePng: case kImageTypeBmp: case kImageTypePcx: case kImageTypeTiff:
    case kImageTypeTga: case kImageTypeWmf: case kImageTypePsd: case kImageTypeEmf:
      return true;
  }
  return false;
}

void SetSampling(bool improve) {
  static const int kOneByOne[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  if (improve) {
    SetJpegSampling(kOneByOne, kOneByOne);
  } else {
    SetJpegSampling(nullptr, nullptr);
  }
}

int Encode(ImageStream sink, PixelBuffer pixels, int width, int height, int type, int quality, bool improve) {
  switch (type) {
    case kImageTypeJpeg:
      SetSampling(improve);
      return WriteJpegFile(sink, pixels, width, height, quality, 0, 24, nullptr);
    case kImageTypePng:
      return WritePngFile(sink, pixels, width, height, width * 3, 8, kTrueColours, nullptr, 2, kPngGamma, 0, nullptr);
    case kImageTypeBmp: return WriteBmpFile(sink, pixels, width, height, 24, kTrueColours, nullptr, 0);
    case kImageTypePcx: return WritePcxFile(sink, pixels, width, height, 24, nullptr);
    case kImageTypeTiff: return WriteTiffFile(sink, pixels, width, height, 24, nullptr, 1, nullptr);
    case kImageTypeTga: return WriteTgaFile(sink, pixels, width, height, 24, nullptr);
    case kImageTypeWmf: return WriteWmfFile(sink, pixels, width, height, 1);
    case kImageTypePsd: return WritePsdFile(sink, pixels, width, height, 24, nullptr);
    case kImageTypeEmf: return WriteEmfFile(sink, pixels, width, height);
  }
  return 0;
}

}  // namespace

int ImageDocument::LoadFile(const std::string& path) {
  ResetImage();
  if (path.empty()) return kImageCannotOpen;
  return LoadFileAs(path, ImageTypeFromExtension(ExtensionOf(path)));
}

int ImageDocument::LoadFileAs(const std::string& path, int type) {
  ResetImage();
  if (IsMetafile(type)) {
    int width = 0, height = 0;
    PixelBuffer pixels =
        RenderMetafileFile(path.c_str(), &width, &height, kMetafileExtent, kMetafileExtent, kMetafileBackground);
    const int error = GetLastImageError();
    Adopt(pixels, width, height);
    return error;
  }
  ImageStream source = OpenFileSource(path.c_str());
  if (!source) return GetLastImageError();
  const int result = LoadByType(source, type);
  CloseFileSource(source);
  return result;
}

int ImageDocument::LoadByType(ImageStream source, int type) {
  ResetImage();
  if (!IsKnownType(type) || IsMetafile(type)) return kImageOk;
  if (!ReadHeaderAndRewind(source, type)) return GetLastImageError();
  int width = 0, height = 0;
  PixelBuffer pixels = Decode(source, type, &width, &height);
  const int error = GetLastImageError();
  Adopt(pixels, width, height);
  return error;
}

int ImageDocument::SaveFile(const std::string& path, int type, int quality, bool improve_sampling) const {
  if (!HasPixels() || !IsKnownType(type)) return kImageBadArgument;
  return SaveByType(path, type, quality, improve_sampling);
}

// The writer's result and code are taken before the close, whose clean end
// clears the code; a close that fails fails the save as well.
int ImageDocument::SaveByType(const std::string& path, int type, int quality, bool improve_sampling) const {
  ImageStream sink = OpenFileSink(path.c_str());
  if (!sink) return GetLastImageError();
  int error = kImageOk;
  if (!Encode(sink, pixels_, width_, height_, type, quality, improve_sampling)) {
    error = GetLastImageError();
    if (error == kImageOk) error = kImageWriteFailed;
  }
  CloseFileSink(sink);
  if (error == kImageOk) error = GetLastImageError();
  return error;
}
