// Filter lists of the file dialogs (pairs of description and pattern, each
// zero-terminated, the list ended by an empty text) and what the save-as
// dialog derives from the chosen type.
#pragma once

#include <string>

// The n-th (1-based) pair: the pattern without its first character ("*.tif"
// gives ".tif") and the description; false when the list has fewer pairs.
bool FilterPairAt(const char* filter, int n, std::string* extension, std::string* typeName);

// Replaces the extension of the path's file name (or appends one) with the
// given one, ".tif" style; false, path unchanged, when the result would not
// fit capacity bytes with its terminator.
bool ReplacePathExtension(char* path, size_t capacity, const char* extension);

// The save-as dialog's "Optionen..." button for a file type's name.
enum class OptionsButtonState { kKeep, kEnabled, kDisabled };
enum class OptionsDialog { kNone, kJpeg, kDcs };
OptionsButtonState OptionsButtonFor(const std::string& typeName);
OptionsDialog OptionsDialogFor(const std::string& typeName);
