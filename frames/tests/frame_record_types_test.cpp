// Record types of frame lists and frame sets by the kind of original.
#include <gtest/gtest.h>

#include <string>

#include "frames/frame_record_types.h"

namespace {

std::string Text(RecordType type) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += static_cast<char>(type >> (8 * i) & 0xFF);
  return text;
}

struct TypeCase {
  OriginalKind kind;
  const char* frameSets;
  const char* frameList;
  const char* oldFrameSets;
  const char* oldFrameList;
};

class FrameRecordTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(FrameRecordTypes, FollowTheKindAndSlot) {
  const TypeCase& c = GetParam();
  EXPECT_EQ(Text(FrameSetRecordType(true, c.kind)), c.frameSets);
  EXPECT_EQ(Text(FrameSetRecordType(false, c.kind)), c.frameList);
  EXPECT_EQ(Text(OldFrameSetRecordType(true, c.kind)), c.oldFrameSets);
  EXPECT_EQ(Text(OldFrameSetRecordType(false, c.kind)), c.oldFrameList);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FrameRecordTypes,
    ::testing::Values(TypeCase{{false, 3, false}, "FRsA", "EFrA", "FRSA", "EFRM"},
                      TypeCase{{false, 0, true}, "FRsD", "EFrD", "FRSD", "EFRT"},
                      TypeCase{{true, 0, false}, "FRsO", "EFrO", "FRSO", "EFR0"},
                      TypeCase{{true, -2, true}, "FRsO", "EFrO", "FRSO", "EFR0"},
                      TypeCase{{true, 1, false}, "GRs0", "Ffr0", "GRSO", "FFRO"},
                      TypeCase{{true, 3, false}, "IRs0", "Hfr0", "IRSO", "HFRO"},
                      TypeCase{{true, 9, true}, "ORs0", "Nfr0", "ORSO", "NFRO"}));

}  // namespace
