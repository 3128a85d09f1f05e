// The hexadecimal comment blocks of the EPS master texts: the Photoshop image
// resources (thumbnail, the source image's paths and IPTC record, the
// resolution) and the embedded ICC profile.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"
#include "output/writer_progress.h"

// "%BeginPhotoshop: " with the resources' length, the resources in hex lines,
// "%EndPhotoshop"; gathered in the scratch file "QBImgRes.tmp" of the
// temporary folder. The thumbnail comes from the preview when it has one.
// False when the scratch file cannot be made.
bool BuildImageResourcesBlock(const PanePreview& preview, int32_t outputResolution, std::string* block);
// "%%BeginICCProfile: (Photoshop Profile) -1 Hex", the profile in hex lines,
// "%%EndICCProfile"; false without a profile.
bool BuildIccProfileBlock(const uint8_t* profile, uint32_t size, std::string* block);
// Appends one resource block at the end of the file; name is length-prefixed (null: empty).
bool WritePhotoshopResource(FileHandle file, uint16_t id, const uint8_t* name, const uint8_t* data, uint32_t size);
// Lines of 32 bytes, each "% ", upper-case hex pairs and CR LF.
std::string HexCommentLines(const uint8_t* bytes, uint32_t size);
// The 16-byte resolution resource 1005 for the dpi.
void MakeResolutionResource(int32_t dpi, uint8_t* data);

enum : uint16_t { kResourceResolution = 1005 };
constexpr uint32_t kResolutionResourceSize = 16;
