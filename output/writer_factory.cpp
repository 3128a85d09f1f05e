#include "output/image_file_writer.h"

// Not built yet: no TIFF, EPS/DCS or JPEG writer exists, so every kind answers none.
ImageFileWriter* CreateImageFileWriter(int16_t) { return nullptr; }
