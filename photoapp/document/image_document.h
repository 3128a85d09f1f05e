// The photo program's image holder: one 24-bit image (R, G, B bytes, rows top
// to bottom, packed) in a library pixel block, with its size and the palette
// it is shown through. It loads and saves by image type and wraps the
// library's processing functions. Results are library error codes
// (ImageErrorCode); every operation on an empty document answers 5.
#pragma once

#include <string>

#include "imagelib/imagelib.h"
#include "photoapp/gdi/palette.h"

class Bitmap;

// One global-memory block of pixels, the kind the library returns.
using PixelBuffer = void*;

class ImageDocument : public Palette {
 public:
  ImageDocument() = default;
  ~ImageDocument() override;
  ImageDocument(const ImageDocument&) = delete;
  ImageDocument& operator=(const ImageDocument&) = delete;

  void ResetImage();
  bool HasPixels() const { return pixels_ != nullptr; }
  PixelBuffer GetPixels() const { return pixels_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }

  // A copy of the other's pixels in a block of its own; this document stays
  // as it was when the block cannot be had.
  int CopyFrom(const ImageDocument& other);

  // By the path's extension. An extension of no known type loads nothing and
  // answers 0 with the document empty: the caller checks HasPixels.
  int LoadFile(const std::string& path);
  int LoadFileAs(const std::string& path, int type);
  int LoadByType(ImageStream source, int type);
  // Quality and improved sampling (1 x 1 for every component) serve JPEG.
  // A type the program cannot write is refused before the file is touched.
  int SaveFile(const std::string& path, int type, int quality, bool improve_sampling) const;
  int SaveByType(const std::string& path, int type, int quality, bool improve_sampling) const;

  // Rescales into the box, keeping the aspect ratio; small images grow to fill it.
  int FitInto(int box_width, int box_height);
  int ResampleFrom(int width, int height, const ImageDocument& source);
  int AllocateImage(int width, int height);

  int SharpenDocument(int amount);
  int AdjustMidtones(double gamma);
  // Clips a percent at the dark end and b percent at the bright end; flag 0
  // balances the channels together.
  int AutoLevels(int a, int b, int flag);
  int Denoise(int passes);
  int BlendFrom(const ImageDocument& source, int x, int y, double opacity);

  // R | G << 8 | B << 16; -1 outside the image or when it is empty.
  int GetPixelColor(int x, int y) const;
  // 1 when stored; 0 outside the image or when it is empty.
  int SetPixelColor(int x, int y, int color);

  int ComputePalette(PaletteEntry* table) const;
  void BuildDisplayPalette();
  // The palette the image is shown through, made from the pixels when first
  // asked for (none while the document is empty); every load, copy and
  // resample drops the one before.
  const Palette& DisplayPalette();
  // A bitmap of the image for the screen, through the given palette or else
  // the document's own (Windows configurations only).
  int MakeDisplayBitmap(Bitmap& bitmap, const Palette* palette);

 private:
  // Takes a block the library returned; null leaves the document empty.
  void Adopt(PixelBuffer pixels, int width, int height);
  size_t ByteCount() const;

  PixelBuffer pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
