#include "sharpen/film_profiles.h"

#include "foundation/memory.h"
#include "foundation/record_store.h"
#include "state/data_source_state.h"

FilmPointList* gFilmProfileCache = nullptr;

void FreeFilmProfileCache() {
  FreeFilmPointList(gFilmProfileCache);
  gFilmProfileCache = nullptr;
}

void ClearFilmProfileCache() { gFilmProfileCache = nullptr; }

FilmPointList* ReadFilmProfile(int32_t id, FileHandle store) {
  if (!store) store = gAppStore;
  uint32_t size = 0;
  if (!store || !RecordStoreSize(store, kFilmRecordType, id, &size) || size < kFilmListHeaderSize) return nullptr;
  auto* list = static_cast<FilmPointList*>(AllocBlock(size));
  if (list && (!RecordStoreRead(store, kFilmRecordType, id, list, size) || !FilmPointListFits(list, size))) {
    FreeBlock(list);
    return nullptr;
  }
  return list;
}

void LoadFilmProfile(FilmPointList** list, int32_t id) {
  if (!list) return;
  FreeFilmPointList(*list);
  if (id == 0) id = 1;
  FilmPointList* loaded = ReadFilmProfile(id, nullptr);
  if (!loaded) loaded = ReadFilmProfile(1, nullptr);
  const int16_t curves = FilmCurveCount(loaded);
  if (loaded && (FilmListHeader(loaded) != 0 || curves < 1 || curves > kFilmMaxCurves)) {
    FreeFilmPointList(loaded);
    loaded = nullptr;
  }
  *list = loaded;
}
