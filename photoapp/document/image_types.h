// The photo program's image-file types, numbered as the load and save flows
// and the file dialogs know them.
#pragma once

#include <string>

enum ImageType {
  kImageTypeNone = 0,
  kImageTypeJpeg = 1,
  kImageTypePng = 3,
  kImageTypeBmp = 6,
  kImageTypePcx = 9,
  kImageTypeTiff = 12,
  kImageTypeTga = 16,
  kImageTypeWmf = 19,
  kImageTypePsd = 20,
  kImageTypeEmf = 23,
};

// The type of an extension with its dot (".JPG", ".tiff"); case is ignored.
// Anything the program does not know is kImageTypeNone.
int ImageTypeFromExtension(const std::string& extension);

// The extension of a path from its last dot on; empty without a dot.
std::string ExtensionOf(const std::string& path);
