#include "frames/frame_list.h"

#include <cstring>

#include "foundation/memory.h"
#include "state/data_source_state.h"

namespace {

void SetHead(FrameListNode* node) { gCurrentFrame = node ? &node->frame : nullptr; }

FrameListNode* LastNode() {
  FrameListNode* node = FrameListHead();
  while (node && node->next) node = node->next;
  return node;
}

// The 1-based position of the node; 0 when it is not in the list.
uint16_t PositionOf(const FrameListNode* wanted) {
  uint16_t position = 1;
  for (FrameListNode* node = FrameListHead(); node; node = node->next, ++position)
    if (node == wanted) return position;
  return 0;
}

}  // namespace

FrameListNode* FrameListHead() { return reinterpret_cast<FrameListNode*>(gCurrentFrame); }

FrameListNode* NewFrameNode(const FrameRecord& frame) {
  auto* node = static_cast<FrameListNode*>(AllocBlock(sizeof(FrameListNode)));
  if (node) std::memcpy(&node->frame, &frame, sizeof frame);
  return node;
}

void AppendFrameNode(FrameListNode* node) {
  node->next = nullptr;
  FrameListNode* last = LastNode();
  if (last) {
    last->next = node;
  } else {
    SetHead(node);
  }
}

uint16_t CountFrames() {
  uint16_t count = 0;
  for (FrameListNode* node = FrameListHead(); node; node = node->next) ++count;
  return count;
}

bool CopyNthFrame(uint16_t n, FrameRecord* out) {
  if (n == 0) return false;
  FrameListNode* node = FrameListHead();
  for (uint16_t i = 1; node && i < n; ++i) node = node->next;
  if (!node) return false;
  std::memcpy(out, &node->frame, sizeof *out);
  return true;
}

void MakeFrameCurrent(uint16_t position, FrameListNode* node) {
  if (position == 0) position = PositionOf(node);
  FrameListNode* head = FrameListHead();
  if (position <= 1 || !head || !head->next) return;
  FrameListNode* before = head;
  for (uint16_t i = 2; i < position && before->next->next; ++i) before = before->next;
  FrameListNode* moved = before->next;
  before->next = moved->next;
  moved->next = head;
  SetHead(moved);
}

void RemoveCurrentFrame() {
  FrameListNode* head = FrameListHead();
  if (!head) return;
  SetHead(head->next);
  FreeBlock(head);
}

void DeleteAllFrames() {
  while (FrameListHead()) RemoveCurrentFrame();
}

FrameListNode* DuplicateCurrentFrame() {
  FrameListNode* head = FrameListHead();
  if (!head) return nullptr;
  FrameListNode* copy = NewFrameNode(head->frame);
  if (!copy) return nullptr;
  copy->frame.hasName = 0;
  copy->next = head->next;
  head->next = copy;
  return copy;
}

void ResetFrameToFullArea() {
  if (!gCurrentFrame) return;
  gCurrentFrame->originX = 0.0;
  gCurrentFrame->originY = 0.0;
  gCurrentFrame->width = gScanAreaInches.width;
  gCurrentFrame->height = gScanAreaInches.height;
}

bool IsFrameNameUsed(const FrameRecord* self, const char* name) {
  for (FrameListNode* node = FrameListHead(); node && &node->frame != self; node = node->next)
    if (node->frame.hasName && std::strncmp(node->frame.name, name, sizeof node->frame.name) == 0) return true;
  return false;
}

void CheckFrameNames() {
  for (FrameListNode* node = FrameListHead(); node; node = node->next) {
    FrameRecord& frame = node->frame;
    if (frame.hasName && IsFrameNameUsed(&frame, frame.name)) {
      frame.hasName = 0;
      std::memset(frame.name, 0, sizeof frame.name);
    }
  }
}
