// The APP13 content (Photoshop-style image resources) of each JPEG reader,
// kept in one process-wide table of 30 entries. A reader without an entry
// takes the next one in turn, the first again after the last. Used on the
// host's thread only.
#pragma once

#include <cstdint>
#include <vector>

// Replaces the owner's saved content with a copy of the marker's content;
// an empty marker leaves an empty entry.
void SaveApp13(const void* owner, const uint8_t* content, uint32_t size);
// The owner's saved content, or null when it has none.
const std::vector<uint8_t>* FindApp13(const void* owner);
// Frees the owner's content and its entry.
void ReleaseApp13(const void* owner);
