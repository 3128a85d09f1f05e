#include "photoapp/document/image_types.h"

#include <cctype>

namespace {

struct ExtensionType {
  const char* extension;
  int type;
};

const ExtensionType kExtensionTypes[] = {
    {".jpg", kImageTypeJpeg}, {".jpeg", kImageTypeJpeg}, {".png", kImageTypePng}, {".bmp", kImageTypeBmp},
    {".pcx", kImageTypePcx},  {".tif", kImageTypeTiff},  {".tiff", kImageTypeTiff}, {".tga", kImageTypeTga},
    {".wmf", kImageTypeWmf},  {".psd", kImageTypePsd},   {".emf", kImageTypeEmf},
};

std::string Lowered(const std::string& text) {
  std::string lowered = text;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

}  // namespace

int ImageTypeFromExtension(const std::string& extension) {
  const std::string lowered = Lowered(extension);
  for (const ExtensionType& entry : kExtensionTypes)
    if (lowered == entry.extension) return entry.type;
  return kImageTypeNone;
}

std::string ExtensionOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : path.substr(dot);
}
