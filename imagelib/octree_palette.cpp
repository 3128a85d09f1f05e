#include "imagelib/octree_palette.h"

#include <utility>

namespace imagelib {

namespace {

constexpr int kLeafLevel = kOctreeLevels - 1;
constexpr int kLeaves = 1 << (3 * kLeafLevel);

uint64_t NodesOnLevel(int level) { return uint64_t{1} << (3 * level); }

// The top five bits of red, green and blue interleaved, red most significant.
int LeafIndex(const uint8_t* rgb) {
  int index = 0;
  for (int k = 0; k < 5; ++k)
    for (int c = 0; c < 3; ++c) index = index << 1 | ((rgb[c] >> (7 - k)) & 1);
  return index;
}

}  // namespace

OctreePalette::OctreePalette()
    : levels_{ScratchBlock(NodesOnLevel(0) * sizeof(Node)), ScratchBlock(NodesOnLevel(1) * sizeof(Node)),
              ScratchBlock(NodesOnLevel(2) * sizeof(Node)), ScratchBlock(NodesOnLevel(3) * sizeof(Node)),
              ScratchBlock(NodesOnLevel(4) * sizeof(Node)), ScratchBlock(NodesOnLevel(5) * sizeof(Node))},
      heap_block_(kLeaves * sizeof(HeapEntry)),
      heap_(heap_block_.As<HeapEntry>()) {}

bool OctreePalette::Allocated() const {
  for (const ScratchBlock& level : levels_)
    if (!level) return false;
  return static_cast<bool>(heap_block_);
}

void OctreePalette::AddPixels(const uint8_t* rgb, size_t pixels) {
  Node* leaves = levels_[kLeafLevel].As<Node>();
  for (size_t i = 0; i < pixels; ++i, rgb += 3) {
    Node& leaf = leaves[LeafIndex(rgb)];
    leaf.red += rgb[0];
    leaf.green += rgb[1];
    leaf.blue += rgb[2];
    ++leaf.count;
  }
}

void OctreePalette::Reduce(int colors) {
  Node* leaves = levels_[kLeafLevel].As<Node>();
  for (int i = 0; i < kLeaves; ++i) {
    if (!leaves[i].count) continue;
    heap_[heap_size_++] = {kLeafLevel, i};
    leaves[i].population = leaves[i].count;
    for (int level = kLeafLevel, index = i; level > 0; --level, index /= 8) {
      Node& parent = levels_[level - 1].As<Node>()[index / 8];
      parent.population += leaves[i].count;
      parent.children |= static_cast<uint8_t>(1 << (index % 8));
    }
  }
  for (int i = heap_size_ / 2 - 1; i >= 0; --i) SiftDown(i);

  while (heap_size_ > colors) {
    HeapEntry smallest = heap_[0];
    HeapEntry parent = smallest.level == 0 ? smallest : HeapEntry{smallest.level - 1, smallest.index / 8};
    Node& node = At(smallest);
    Node& up = At(parent);
    if (up.count)
      heap_[0] = heap_[--heap_size_];
    else
      heap_[0] = parent;
    up.count += node.count;
    up.red += node.red;
    up.green += node.green;
    up.blue += node.blue;
    up.children &= static_cast<uint8_t>(~(1 << (smallest.index % 8)));
    SiftDown(0);
  }
}

// Ties keep the parent above its children and prefer the left child.
void OctreePalette::SiftDown(int from) {
  int i = from;
  for (;;) {
    int smallest = i;
    int left = 2 * i + 1;
    int right = left + 1;
    if (left < heap_size_ && At(heap_[left]).population < At(heap_[smallest]).population) smallest = left;
    if (right < heap_size_ && At(heap_[right]).population < At(heap_[smallest]).population) smallest = right;
    if (smallest == i) return;
    std::swap(heap_[i], heap_[smallest]);
    i = smallest;
  }
}

void OctreePalette::Assign(QuantizerPalette* palette) const {
  palette->count = 0;
  Walk(0, 0, palette);
}

void OctreePalette::Walk(int level, int index, QuantizerPalette* palette) const {
  const Node& node = levels_[level].As<Node>()[index];
  for (int slot = 7; slot >= 0; --slot)
    if (node.children & (1 << slot)) Walk(level + 1, index * 8 + slot, palette);
  if (!node.count || palette->count == kPaletteEntries) return;
  int64_t c = node.count;
  int i = palette->count++;
  palette->red[i] = static_cast<uint8_t>((node.red + c / 2) / c);
  palette->green[i] = static_cast<uint8_t>((node.green + c / 2) / c);
  palette->blue[i] = static_cast<uint8_t>((node.blue + c / 2) / c);
}

}  // namespace imagelib
