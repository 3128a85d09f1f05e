// The quantiser's palette: an octree over the top five bits of red, green and
// blue, reduced to the asked number of colours by folding the least populated
// nodes into their parents.
#ifndef IMAGELIB_OCTREE_PALETTE_H
#define IMAGELIB_OCTREE_PALETTE_H

#include <cstddef>
#include <cstdint>

#include "imagelib/imagelib.h"
#include "imagelib/result_block.h"

namespace imagelib {

constexpr int kOctreeLevels = 6;  // the root (level 0) to 32768 leaves (level 5)

// Up to 256 colours as three planes.
struct QuantizerPalette {
  uint8_t red[kPaletteEntries] = {};
  uint8_t green[kPaletteEntries] = {};
  uint8_t blue[kPaletteEntries] = {};
  int count = 0;
};

class OctreePalette {
 public:
  OctreePalette();
  OctreePalette(const OctreePalette&) = delete;
  OctreePalette& operator=(const OctreePalette&) = delete;

  // False when the tree or the heap could not be had.
  bool Allocated() const;
  void AddPixels(const uint8_t* rgb, size_t pixels);
  // Puts every non-empty leaf on the heap and folds nodes until at most
  // colors remain.
  void Reduce(int colors);
  // Colours in the order of a depth-first walk, children in slot order 7 to 0.
  void Assign(QuantizerPalette* palette) const;

 private:
  struct Node {
    int64_t red, green, blue;  // a large flat image overflows 32-bit sums
    int count;                 // non-zero: a palette candidate
    int population;            // pixels in the subtree
    uint8_t children;          // one bit per child slot
  };
  struct HeapEntry {
    int level;
    int index;
  };

  Node& At(HeapEntry e) const { return levels_[e.level].As<Node>()[e.index]; }
  void SiftDown(int from);
  void Walk(int level, int index, QuantizerPalette* palette) const;

  ScratchBlock levels_[kOctreeLevels];
  ScratchBlock heap_block_;
  HeapEntry* heap_;
  int heap_size_ = 0;
};

}  // namespace imagelib

#endif
