// The film profile library: the built-in profiles copied from the module's
// "NgFm" resources into the application store, stored profiles read with
// their fallback, the profile cache of the negative conversion, and saving,
// importing and deleting of the user's profiles.
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"
#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "foundation/record_type.h"
#include "sharpen/film_point_list.h"

constexpr RecordType kFilmRecordType = TagFromString("NgFm");
// Ids up to this belong to the built-in profiles and are protected.
constexpr int32_t kLastBuiltinFilmId = 2500;
constexpr int32_t kFirstUserFilmId = 2501;
// The application store's version from which the built-ins are current.
constexpr int32_t kFilmProfilesVersion = 55200;

// String ids of the library's texts.
constexpr uint32_t kWarningCaptionString = 500;
constexpr uint32_t kReplaceNameString = 501;
constexpr uint32_t kFilmProfileNamePrompt = 2250;
constexpr uint32_t kProtectedProfileString = 2252;
// A built-in profile's name: string 60000 + id, else 63000 + id.
constexpr uint32_t kFilmNameStrings = 60000;
constexpr uint32_t kFilmNameFallbackStrings = 63000;

// The application store's version (the "vNum" record of the user interface's
// options); 0 when absent.
uint32_t AppStoreVersion(FileHandle store);

// Copies the module's "NgFm" resources into the application store when its
// version is absent (after deleting every profile) or below 55200 (after
// deleting the built-in ids), and writes the version 55200. False without a store.
bool InstallBuiltinFilmProfiles();
// Copies one big-endian resource into a store record of its id, named from
// the string table, unless the store holds a profile of that name or id.
// Always true: the enumeration goes on.
bool CopyBuiltinFilmProfile(ModuleHandle module, const char* type, uint32_t id, RecordType recordType);

// Saves the list under *id (overwrite, user profiles only) or under a name the
// user gives; *id gets the record's id. False when nothing was saved.
bool SaveFilmProfile(const FilmPointList* list, int16_t* id, bool overwrite);

// The import of another preferences file's profiles.
constexpr uint32_t kPrefsFilterNameString = 405;
constexpr uint32_t kPrefsFilterPatternString = 406;
constexpr uint32_t kImportProfilesTitleString = 409;

// Asks for a preferences file (not the current device's store) and copies
// its profiles into the application store; false when nothing was read. The
// frames then reload their profiles through the hook below.
bool ImportFilmProfiles(WindowHandle owner);
// The frame list (a layer above) reloads its frames' film profiles; installed
// at module attach, null uninstalls.
void InstallFilmProfileReload(void (*reload)());
// The record clean-up dialog over the stored profiles, offering only the
// user's (ids from 2501 up).
void DeleteFilmProfiles(WindowHandle owner);
// Copies each profile of the store, in directory order, under its id and
// name, except a user profile whose id the application store already uses;
// built-in ids replace the application store's. The number copied.
int ImportFilmProfilesFrom(FileHandle source);

// The list of the last negative computation; replaced by every computation.
extern FilmPointList* gFilmProfileCache;
void FreeFilmProfileCache();
// Forgets the cache without freeing it (at start-up).
void ClearFilmProfileCache();

// A new copy of the record's data, or null when it is missing or unreadable.
// A null store means the application store.
FilmPointList* ReadFilmProfile(int32_t id, FileHandle store);
// Replaces *list with profile id (0 means 1; a missing one gives profile 1);
// a list whose header is not 0 or whose curve count is not 1..9 leaves null.
void LoadFilmProfile(FilmPointList** list, int32_t id);
