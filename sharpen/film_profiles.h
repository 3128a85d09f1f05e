// Film profiles of the negative conversion.
#pragma once

// Forgets the cached film-profile point list.
void ClearFilmProfileCache();
