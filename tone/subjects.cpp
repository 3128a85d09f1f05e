#include "tone/subjects.h"

#include <cstring>

#include "foundation/record_store.h"
#include "state/data_source_state.h"

const uint32_t kSubjectNameStrings[kBuiltInSubjectCount] = {15, 16, 17, 18, 19, 20, 21, 22, 27, 34, 35, 40};

namespace {

// The built-ins 0..10; each enables contrast and lowerContrast.
struct BuiltInSubject {
  int16_t contrast;
  int16_t lowerContrast;
  uint8_t keepCast, keepCastWhite, keepCastBlack;
};

constexpr BuiltInSubject kBuiltIns[kUserDefinedSubject] = {
    {0, 0, 0, 0, 0},    // "Standard"
    {15, 0, 0, 0, 0},   // "Landschaft"
    {-10, 0, 0, 0, 0},  // "Hauttöne"
    {0, 0, 1, 0, 0},    // "Goldtöne"
    {0, 20, 0, 0, 0},   // "Technik"
    {0, 0, 1, 0, 0},    // "Abend"
    {0, 0, 0, 0, 0},    // "Schnee"
    {0, 0, 0, 0, 0},    // "Nacht"
    {0, 0, 0, 0, 0},    // "L-T-Stich"
    {0, 0, 0, 0, 1},    // "Lichterstich"
    {0, 0, 0, 1, 0},    // "Tiefenstich"
};

const int16_t* Values(const SubjectParameters& p) { return &p.contrast; }

}  // namespace

bool LoadSubjectParameters(int16_t index, SubjectParameters* out) {
  std::memset(out, 0, sizeof *out);
  if (index < 0 || index == kUserDefinedSubject) return false;
  if (index < kUserDefinedSubject) {
    const BuiltInSubject& b = kBuiltIns[index];
    out->contrast = b.contrast;
    out->lowerContrast = b.lowerContrast;
    out->enable[0] = out->enable[3] = 1;
    out->keepCast = b.keepCast;
    out->keepCastWhite = b.keepCastWhite;
    out->keepCastBlack = b.keepCastBlack;
    return true;
  }
  if (!gAppStore || index + kStoredSubjectIdOffset > kLastStoredSubjectId) return false;
  if (RecordStoreRead(gAppStore, kSubjectRecordType, index + kStoredSubjectIdOffset, out, sizeof *out)) return true;
  std::memset(out, 0, sizeof *out);
  return false;
}

bool SubjectParametersEqual(const SubjectParameters& a, const SubjectParameters& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.enable[i] != b.enable[i]) return false;
    if (a.enable[i] && Values(a)[i] != Values(b)[i]) return false;
  }
  return a.keepCast == b.keepCast && a.keepCastWhite == b.keepCastWhite && a.keepCastBlack == b.keepCastBlack;
}

bool FramesShareAutoValues(const SubjectParameters& parameters, const FrameRecord& frame, int first, int last) {
  for (int k = first; k <= last; ++k) {
    const ToneBlock& block = frame.tone[k];
    const int16_t fields[4] = {block.contrast, block.brightness, block.upperContrast, block.lowerContrast};
    for (int i = 0; i < 4; ++i)
      if (parameters.enable[i] && Values(parameters)[i] != fields[i]) return false;
  }
  return true;
}

int StoredSubjectCount() {
  int count = 0;
  uint32_t size = 0;
  while (gAppStore && kFirstStoredSubjectId + count <= kLastStoredSubjectId &&
         RecordStoreSize(gAppStore, kSubjectRecordType, kFirstStoredSubjectId + count, &size))
    ++count;
  return count;
}

bool DeleteStoredSubject(int32_t id) {
  if (!gAppStore || !RecordStoreDelete(gAppStore, kSubjectRecordType, id)) return false;
  for (int32_t next = id + 1; next <= kLastStoredSubjectId; ++next) {
    SubjectParameters body;
    char name[kRecordNameSize];
    if (!RecordStoreRead(gAppStore, kSubjectRecordType, next, &body, sizeof body) ||
        !RecordStoreNameById(gAppStore, kSubjectRecordType, next, name))
      break;
    if (!RecordStoreDelete(gAppStore, kSubjectRecordType, next) ||
        !RecordStoreAdd(gAppStore, kSubjectRecordType, next - 1, &body, sizeof body, name))
      return false;
  }
  return true;
}
