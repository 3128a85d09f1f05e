// ICC profiles and CMYK sources on disk: the profile lists of the dialogs,
// the CMYK choice, the profile an output file embeds, the monitor profile and
// the gamma of a profile's tone curve. Everything goes through the module
// binding (color/color_module.h).
//
// Reading a profile, for any caller: open it with CmsOpenColorProfile
// (FileProfileLocation(path), or a kProfileFromMemory location), read tags
// with ReadProfileElement (big-endian bytes as stored), or the gamma with
// ProfileGammaFromTrc, and close it with CmsCloseColorProfile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "color/color_module.h"
#include "foundation/memory.h"
#include "foundation/name_list.h"
#include "records/frame_record.h"

// A whole tag element; 0, or the status of the failing call (-170 when missing).
int16_t ReadProfileElement(ColorProfileHandle profile, uint32_t tag, std::vector<uint8_t>* element);
// The ASCII text of the 'desc' tag, up to its zero or the element's end; empty when there is none.
std::string ProfileDescription(ColorProfileHandle profile);

// The separation folder: the settings folder + "PPCMYK Profile\"; false when unknown.
bool GetSeparationFolder(char* folder);

// Flags of EnumerateColorProfiles: the header's device class, its data colour space must match.
enum : uint32_t { kMatchDeviceClass = 32, kMatchColorSpace = 64 };
// Prepends {description, path} of every matching profile of the colour directory.
PathPairNode* EnumerateColorProfiles(uint32_t deviceClass, uint32_t colorSpace, uint32_t flags, PathPairNode* head);

// The cached lists, built once each and kept until the scan session ends.
const NameNode* SeparationList();       // "*.ast" file names of the separation folder
const PathPairNode* FolderCmykList();   // CMYK ICC profiles of the separation folder
const PathPairNode* PrinterCmykList();  // printer-class CMYK profiles of the colour directory
void FreeProfileLists();

// The entries of the CMYK choice combo, in order: text and item data.
struct ProfileComboEntry {
  std::string text;
  uint32_t data;
};
constexpr uint32_t kKeinCmykString = 822;
constexpr uint32_t kProfileComboSeparator = 0x90000;
std::vector<ProfileComboEntry> ProfileComboEntries();
// Fills the combo of the dialog with those entries and fits its drop width (Windows only).
void FillProfileCombo(void* dialog, int comboId);

// The file of the CMYK name of the defaults: a separation table (exact name)
// or an ICC profile (file name ignoring case); the extension in lower case.
bool FindCmykProfileFile(char* path, char* extension);
// That extension names an ICC profile (".icm" or ".icc").
bool IsIccExtension(const char* extension);

// The profile an output file embeds: 0 none, 1 scanner profile, 2 internal
// profile, 3 output profile, 4 CMYK profile.
enum EmbeddedProfile { kEmbedNone, kEmbedScanner, kEmbedInternal, kEmbedOutput, kEmbedCmyk };
int EmbeddedProfileKind(const FrameRecord* frame);
void EmbeddedProfilePath(const FrameRecord* frame, char* path);
// The whole embedded profile in a MemHandle, and that block opened as a profile.
void LoadEmbeddedProfile(const FrameRecord* frame, MemHandle* bytes, uint32_t* size, ColorProfileHandle* profile);
void FreeEmbeddedProfile(MemHandle* bytes, ColorProfileHandle* profile);

// The monitor profile of the window's screen, opened read-only.
int16_t OpenMonitorProfile(void* window, ColorProfileHandle* profile);
// Platform parts of it: the host application's own monitor profile setting,
// and the system's profile for the window's screen (false when none).
bool HostMonitorProfilePath(char* path);
bool DisplayProfilePath(void* window, char* path);

// The gamma of the profile's 'gTRC' curve; the gamma stays for other curve types.
int16_t ProfileGammaFromTrc(float* gamma, ColorProfileHandle profile);
