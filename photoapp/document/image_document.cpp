#include "photoapp/document/image_document.h"

#include <cstring>

#include "imagelib/platform.h"

using imagelib::GlobalBlockAlloc;
using imagelib::GlobalBlockFree;

ImageDocument::~ImageDocument() { ResetImage(); }

void ImageDocument::ResetImage() {
  if (pixels_) GlobalBlockFree(pixels_);
  pixels_ = nullptr;
  width_ = 0;
  height_ = 0;
  DeletePalette();
}

size_t ImageDocument::ByteCount() const { return static_cast<size_t>(width_) * height_ * 3; }

void ImageDocument::Adopt(PixelBuffer pixels, int width, int height) {
  if (!pixels) return;
  pixels_ = pixels;
  width_ = width;
  height_ = height;
}

int ImageDocument::CopyFrom(const ImageDocument& other) {
  if (!other.HasPixels()) return kImageBadArgument;
  if (&other == this) return kImageOk;
  const size_t bytes = other.ByteCount();
  PixelBuffer copy = GlobalBlockAlloc(bytes);
  if (!copy) return kImageNoMemory;
  std::memcpy(copy, other.pixels_, bytes);
  ResetImage();
  Adopt(copy, other.width_, other.height_);
  return kImageOk;
}

int ImageDocument::FitInto(int box_width, int box_height) {
  if (!HasPixels() || box_width <= 0 || box_height <= 0) return kImageBadArgument;
  const double fx = static_cast<double>(width_) / box_width;
  const double fy = static_cast<double>(height_) / box_height;
  int target_width = box_width;
  int target_height = box_height;
  if (fx > fy) target_height = static_cast<int>(height_ / fx);
  if (fx < fy) target_width = static_cast<int>(width_ / fy);
  ImageDocument resized;
  const int error = resized.ResampleFrom(target_width, target_height, *this);
  if (error != kImageOk) return error;
  return CopyFrom(resized);
}

int ImageDocument::ResampleFrom(int width, int height, const ImageDocument& source) {
  if (!source.HasPixels() || &source == this) return kImageBadArgument;
  const int error = AllocateImage(width, height);
  if (error != kImageOk) return error;
  ResampleImage(source.pixels_, source.width_, source.height_, pixels_, width_, height_, 3);
  return kImageOk;
}

int ImageDocument::AllocateImage(int width, int height) {
  if (width <= 0 || height <= 0) return kImageBadArgument;
  ResetImage();
  PixelBuffer pixels = GlobalBlockAlloc(static_cast<size_t>(width) * height * 3);
  if (!pixels) return kImageNoMemory;
  pixels_ = pixels;
  width_ = width;
  height_ = height;
  return kImageOk;
}

int ImageDocument::SharpenDocument(int amount) {
  if (!HasPixels()) return kImageBadArgument;
  PixelBuffer scratch = GlobalBlockAlloc(ByteCount());
  if (!scratch) return kImageNoMemory;
  if (SharpenImage(pixels_, width_, height_, scratch, amount)) std::memcpy(pixels_, scratch, ByteCount());
  GlobalBlockFree(scratch);
  return GetLastImageError();
}

int ImageDocument::AdjustMidtones(double gamma) {
  if (!HasPixels()) return kImageBadArgument;
  ApplyGamma(pixels_, width_, height_, gamma);
  return GetLastImageError();
}

int ImageDocument::AutoLevels(int a, int b, int flag) {
  if (!HasPixels()) return kImageBadArgument;
  const int low = static_cast<int>(a * 0.01 * 255);
  const int high = 255 - static_cast<int>(b * 0.01 * 255);
  AdjustLevels(pixels_, width_, height_, low, high, flag == 0 ? 1 : 0);
  return GetLastImageError();
}

int ImageDocument::Denoise(int passes) {
  if (!HasPixels()) return kImageBadArgument;
  for (int pass = 0; pass < passes; ++pass)
    if (!ReduceNoise(pixels_, width_, height_)) return GetLastImageError();
  return kImageOk;
}

int ImageDocument::BlendFrom(const ImageDocument& source, int x, int y, double opacity) {
  if (!HasPixels() || !source.HasPixels()) return kImageBadArgument;
  BlendImages(pixels_, width_, height_, source.pixels_, source.width_, source.height_, x, y, opacity, 0);
  return GetLastImageError();
}

int ImageDocument::GetPixelColor(int x, int y) const {
  if (!HasPixels() || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const auto* pixel = static_cast<const uint8_t*>(pixels_) + (static_cast<size_t>(y) * width_ + x) * 3;
  return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
}

int ImageDocument::SetPixelColor(int x, int y, int color) {
  if (!HasPixels() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  auto* pixel = static_cast<uint8_t*>(pixels_) + (static_cast<size_t>(y) * width_ + x) * 3;
  pixel[0] = static_cast<uint8_t>(color);
  pixel[1] = static_cast<uint8_t>(color >> 8);
  pixel[2] = static_cast<uint8_t>(color >> 16);
  return 1;
}

int ImageDocument::ComputePalette(PaletteEntry* table) const {
  if (!HasPixels()) return kImageBadArgument;
  MakeOptimalPalette(pixels_, width_, height_, kPaletteEntries, table);
  return GetLastImageError();
}

// An analysis of the whole image: made once it is shown, not for every copy.
const Palette& ImageDocument::DisplayPalette() {
  if (!HasPalette()) BuildDisplayPalette();
  return *this;
}

void ImageDocument::BuildDisplayPalette() {
  if (!HasPixels()) return;
  PaletteEntry table[kPaletteEntries] = {};
  ComputePalette(table);
  CreateFromTable(table);
}
