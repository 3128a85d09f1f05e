// The questions the user interface asks: a name, a folder, a file to open or
// to save. Each goes through the prompt seam (foundation/dialogs/prompts.h).
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"

constexpr int kNameSize = 256;
// What the name dialog shows when no prompt is given.
extern const char* const kDefaultNamePrompt;

// Dialog 197: name (a buffer of kNameSize bytes) is proposed and, on OK, the
// entered name copied back. promptId 0 keeps the default prompt.
bool AskName(char* name, WindowHandle owner, uint32_t promptId);

// The folder chooser starting at initialFolder (a trailing backslash is
// removed from it in place); true when a folder was chosen and its path fits
// the capacity.
bool ChooseFolder(WindowHandle owner, const char* caption, char* initialFolder, char* path, uint32_t capacity);

// File dialogs. filter: pairs of description and pattern, each zero-terminated,
// the list ended by an empty text. path proposes a file name and receives the
// chosen path (pathSize bytes); fileNameOffset receives where its name starts.
bool AskOpenFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset);
// The same dialog with a preview of the image and its file size.
bool AskOpenImageFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder,
                      char* path, uint32_t pathSize, uint16_t* fileNameOffset);
bool AskSaveFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset, const char* defaultExtension);
// The save-as dialog of image output with its file types (filterIndex in and
// out, 1-based), the options button and, in batch scanning, the counter.
bool SaveImageAs(WindowHandle owner, const char* filter, int* filterIndex, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset);

// The bytes of a filter list including its terminating empty text.
uint32_t FilterListLength(const char* filter);
