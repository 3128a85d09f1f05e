#include "sharpen/film_profiles.h"

// Not built yet: no film-profile list is cached.
void ClearFilmProfileCache() {}
