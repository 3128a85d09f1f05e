// Speckle noise reduction: each colour plane, framed by a border of zeros, is
// pulled towards its neighbours along four directions, one grey step at a
// time up and down; isolated spikes and pits shrink while edges stay.
#include <cstring>

#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/pixels.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

struct Direction {
  int dx;
  int dy;
};

constexpr Direction kDirections[] = {{0, 1}, {1, 0}, {1, 1}, {-1, 1}};
constexpr int kProgressSteps = 14;

class FramedPlanes {
 public:
  FramedPlanes(int width, int height)
      : width_(width), height_(height), stride_(static_cast<size_t>(width) + 2),
        size_(stride_ * (static_cast<size_t>(height) + 2)), block_(static_cast<uint64_t>(size_) * 4) {}

  bool ok() const { return static_cast<bool>(block_); }
  uint8_t* plane(int index) const { return block_.As<uint8_t>() + size_ * index; }
  uint8_t* temp() const { return plane(kRgbBytes); }
  size_t stride() const { return stride_; }

  void Fill(const uint8_t* rgb) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x, rgb += kRgbBytes)
        for (int c = 0; c < kRgbBytes; ++c) plane(c)[Interior(x, y)] = rgb[c];
  }

  void CopyBack(uint8_t* rgb) const {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x, rgb += kRgbBytes)
        for (int c = 0; c < kRgbBytes; ++c) rgb[c] = plane(c)[Interior(x, y)];
  }

  // One step with the neighbour at offset o: up raises a value by one towards
  // a higher neighbour, down lowers it towards a lower one. "+ 1" wraps at 256.
  template <bool kUp>
  void Step(uint8_t* plane, ptrdiff_t o) const {
    uint8_t* temp = this->temp();
    const ptrdiff_t width = width_;  // a local bound: byte stores could alias the member
    for (int y = 0; y < height_; ++y) {
      const uint8_t* in = plane + Interior(0, y);
      uint8_t* out = temp + Interior(0, y);
      for (ptrdiff_t x = 0; x < width; ++x) {
        uint8_t a = in[x];
        uint8_t n = in[x + o];
        out[x] = kUp ? (a < n ? a + 1 : a) : (static_cast<uint8_t>(n + 1) < a ? a - 1 : a);
      }
    }
    for (int y = 0; y < height_; ++y) {
      const uint8_t* in = temp + Interior(0, y);
      uint8_t* out = plane + Interior(0, y);
      for (ptrdiff_t x = 0; x < width; ++x) {
        uint8_t k = in[x];
        uint8_t m1 = static_cast<uint8_t>(in[x - o] + 1);
        uint8_t n = in[x + o];
        out[x] = kUp ? (k < m1 && k < n ? k + 1 : k) : (m1 < k && n < k ? k - 1 : k);
      }
    }
  }

  void ClearTemp() const { std::memset(temp(), 0, size_); }

 private:
  size_t Interior(int x, int y) const {
    return (static_cast<size_t>(y) + 1) * stride_ + static_cast<size_t>(x) + 1;
  }

  int width_;
  int height_;
  size_t stride_;
  size_t size_;
  ScratchBlock block_;
};

}  // namespace

extern "C" int ReduceNoise(void* pixels, int width, int height) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!pixels || !ValidSize(width, height)) return Refuse(*context, kImageBadArgument);
  EntryWork work(*context);
  FramedPlanes planes(width, height);
  if (!planes.ok()) {
    work.error = kImageNoMemory;
    return 0;
  }
  auto* rgb = static_cast<uint8_t*>(pixels);
  planes.Fill(rgb);
  if (!work.Progress(0, kProgressSteps)) return 0;
  int pass = 0;
  for (const Direction& d : kDirections) {
    ptrdiff_t o = static_cast<ptrdiff_t>(d.dy) * static_cast<ptrdiff_t>(planes.stride()) + d.dx;
    for (int c = 0; c < kRgbBytes; ++c) {
      uint8_t* plane = planes.plane(c);
      planes.Step<true>(plane, o);
      planes.Step<true>(plane, -o);
      planes.Step<false>(plane, -o);
      planes.Step<false>(plane, o);
      planes.ClearTemp();
      if (!work.Progress(2 + pass++, kProgressSteps)) return 0;
    }
  }
  planes.CopyBack(rgb);
  if (!work.Progress(kProgressSteps, kProgressSteps)) return 0;
  return work.Succeeded();
}
