// The frames placed on the preview form one singly linked list whose first
// node is the current frame (gCurrentFrame points at that node's record):
// the one the panel edits, the tools correct and the scan transfers first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "records/frame_record.h"

// One zero-filled 2088-byte block: the record, then the link. The link slot
// is 8 bytes wide so that the block keeps its size with 64-bit pointers too
// (a 32-bit pointer and 4 spare bytes in the product).
struct FrameListNode {
  FrameRecord frame;
  union {
    FrameListNode* next;  // null at the end
    uint64_t linkSlot;
  };
};

constexpr uint32_t kFrameListNodeSize = 2088;
static_assert(sizeof(FrameListNode) == kFrameListNodeSize, "node block size");
static_assert(offsetof(FrameListNode, next) == kFrameRecordSize, "link behind the record");
// gCurrentFrame holds the head's record, which shares the node's address.
static_assert(std::is_standard_layout<FrameListNode>::value, "record first, so node and record share an address");

// The head node (the current frame); null when the list is empty.
FrameListNode* FrameListHead();
// A new unlinked node holding a copy of the frame; null when memory is short.
FrameListNode* NewFrameNode(const FrameRecord& frame);
// Links the node at the end of the list.
void AppendFrameNode(FrameListNode* node);

uint16_t CountFrames();
// Copies the n-th frame (1-based); false and nothing copied when n is out of range.
bool CopyNthFrame(uint16_t n, FrameRecord* out);

// Moves the node at the 1-based position (beyond the end: the last node), or
// with position 0 the given node, to the head. A node that is not in the
// list changes nothing.
void MakeFrameCurrent(uint16_t position, FrameListNode* node = nullptr);
// Unlinks and frees the head; the next frame becomes current.
void RemoveCurrentFrame();
// Frees every node; the list is empty afterwards.
void DeleteAllFrames();
// Links a copy of the current frame, without its name, directly behind the
// head (the head stays current); the new node, or null when memory is short
// or the list is empty.
FrameListNode* DuplicateCurrentFrame();
// The current frame's rectangle becomes the whole scan area.
void ResetFrameToFullArea();

// Whether a frame before self (walking from the head) is named and has
// exactly that name. Self null, or not in the list, walks the whole list.
bool IsFrameNameUsed(const FrameRecord* self, const char* name);
// Takes the name from every frame whose name a frame nearer the head holds.
void CheckFrameNames();
