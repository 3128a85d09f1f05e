// Path texts in the system's form: a drive, folders ended by "\" (a "/" is
// taken as a separator too) and a file name with its extension. Paths are
// zero-terminated texts in buffers of 256 bytes.
#pragma once

constexpr int kPathSize = 256;

// The file name with its extension: what follows the last separator or drive colon.
const char* FileNamePart(const char* path);
// Keeps the drive and directory of the path and puts name and extension
// behind them; a "." goes before an extension that lacks one. With a folder
// path ending in "\" this appends name and extension.
void SetPathFileName(char* path, const char* name, const char* extension);
// With an extension buffer: the bare name and the extension (with its dot).
// Without: the file name followed by its extension.
void SplitFileName(const char* path, char* name, char* extension);
// The drive and directory of the path without trailing separators; "" when
// the path has no directory.
void GetParentPath(char* path);
// Appends text to a path buffer, cut to the buffer's 255 characters; false when cut.
bool AppendToPath(char* path, const char* text);
