#include "frames/frame_record_types.h"

namespace {

struct TypeCodes {
  RecordType reflective;
  RecordType transparency;
  RecordType slotZero;
  RecordType slotBase;  // slot n = 1..9 adds n to the packed value
};

constexpr TypeCodes kFrameSets = {TagFromString("FRsA"), TagFromString("FRsD"), TagFromString("FRsO"),
                                  TagFromString("FRs0")};
constexpr TypeCodes kFrameLists = {TagFromString("EFrA"), TagFromString("EFrD"), TagFromString("EFrO"),
                                   TagFromString("Efr0")};
constexpr TypeCodes kOldFrameSets = {TagFromString("FRSA"), TagFromString("FRSD"), TagFromString("FRSO"),
                                     TagFromString("FRSO")};
constexpr TypeCodes kOldFrameLists = {TagFromString("EFRM"), TagFromString("EFRT"), TagFromString("EFR0"),
                                      TagFromString("EFRO")};

RecordType Choose(const TypeCodes& codes, const OriginalKind& kind) {
  if (kind.optionUnit) return kind.slot <= 0 ? codes.slotZero : codes.slotBase + static_cast<uint32_t>(kind.slot);
  return kind.transparency ? codes.transparency : codes.reflective;
}

}  // namespace

RecordType FrameSetRecordType(bool set, const OriginalKind& kind) {
  return Choose(set ? kFrameSets : kFrameLists, kind);
}

RecordType OldFrameSetRecordType(bool set, const OriginalKind& kind) {
  return Choose(set ? kOldFrameSets : kOldFrameLists, kind);
}
