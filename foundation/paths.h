// Path texts in the system's form: a drive, folders ended by "\" (a "/" is
// taken as a separator too) and a file name with its extension.
#pragma once

// The file name with its extension: what follows the last separator or drive colon.
const char* FileNamePart(const char* path);
