// Removing a folder with the files in it.
#pragma once

// Deletes every file of the folder (sub-folders are left alone), then the
// folder itself; the result of removing the folder.
bool DeleteFolder(const char* folder);
