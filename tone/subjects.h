// Subjects (image types) of the automatic adjustment: which contrast and
// brightness values it sets and whether it keeps a colour cast. Twelve are
// built in; the user's own are "MOTI" records of the application store.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/record_type.h"
#include "records/frame_record.h"

// The 16-byte body of a "MOTI" record.
struct SubjectParameters {
  int16_t contrast;
  int16_t brightness;
  int16_t upperContrast;
  int16_t lowerContrast;
  uint8_t enable[4];  // one per value above, in that order
  uint8_t keepCast;
  uint8_t keepCastWhite;
  uint8_t keepCastBlack;
  uint8_t reserved;   // 0
};

static_assert(sizeof(SubjectParameters) == 16, "stored size");
static_assert(offsetof(SubjectParameters, brightness) == 2 && offsetof(SubjectParameters, upperContrast) == 4 &&
                  offsetof(SubjectParameters, lowerContrast) == 6 && offsetof(SubjectParameters, enable) == 8 &&
                  offsetof(SubjectParameters, keepCast) == 12 && offsetof(SubjectParameters, keepCastWhite) == 13 &&
                  offsetof(SubjectParameters, keepCastBlack) == 14,
              "stored layout");

constexpr RecordType kSubjectRecordType = TagFromString("MOTI");
constexpr int16_t kBuiltInSubjectCount = 12;        // 0..10 with values, 11 the user's own
constexpr int16_t kUserDefinedSubject = 11;         // "Benutzerdefiniert..."
constexpr int32_t kFirstStoredSubjectId = 128;
constexpr int32_t kLastStoredSubjectId = 255;
constexpr int32_t kStoredSubjectIdOffset = 116;     // subject index i >= 12 is record id i + 116

// String ids of the built-in subjects' names, by index.
extern const uint32_t kSubjectNameStrings[kBuiltInSubjectCount];

// Clears out; fills a built-in subject (0..10: true), nothing for 11 (false),
// the stored record for 12 and above (false when missing).
bool LoadSubjectParameters(int16_t index, SubjectParameters* out);
// Equal enable flags, equal enabled values and equal cast bytes.
bool SubjectParametersEqual(const SubjectParameters& a, const SubjectParameters& b);
// Each enabled value equals its field in the frame's tone blocks first..last.
bool FramesShareAutoValues(const SubjectParameters& parameters, const FrameRecord& frame, int first, int last);

// The stored subjects run from id 128 up to the first missing id.
int StoredSubjectCount();
// Deletes the record and moves each later one down by one id, so that the
// ids stay contiguous.
bool DeleteStoredSubject(int32_t id);
