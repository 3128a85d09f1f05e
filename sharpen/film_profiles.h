// The film profile library: the built-in profiles copied from the module's
// "NgFm" resources into the application store, stored profiles read with
// their fallback, the profile cache of the negative conversion, and saving,
// importing and deleting of the user's profiles.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"
#include "sharpen/film_point_list.h"

constexpr RecordType kFilmRecordType = TagFromString("NgFm");
// Ids up to this belong to the built-in profiles and are protected.
constexpr int32_t kLastBuiltinFilmId = 2500;
constexpr int32_t kFirstUserFilmId = 2501;
// The application store's version from which the built-ins are current.
constexpr int32_t kFilmProfilesVersion = 55200;

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
