// DAT_CAPABILITY: what each message answers for the fifteen capabilities,
// what MSG_SET accepts and what MSG_RESET restores.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/tests/twain_test_support.h"

namespace {

using Items = std::vector<uint32_t>;

// An open source over an image of 8.5 x 11 inches offering 75, 150 and 300 dpi.
class CapabilityTest : public TwainModuleTest {
 protected:
  void SetUp() override {
    TwainModuleTest::SetUp();
    ASSERT_EQ(Open(), TWRC_SUCCESS);
    gScanAreaInches = {8.5, 11.0};
    gResolutionList.count = 3;
    gResolutionList.values[0] = 75;
    gResolutionList.values[1] = 150;
    gResolutionList.values[2] = 300;
  }

  TW_UINT16 Ask(TW_UINT16 message, TW_CAPABILITY* capability) {
    return Call(DG_CONTROL, DAT_CAPABILITY, message, capability);
  }

  Container Answer(TW_UINT16 message, TW_UINT16 cap) {
    TW_CAPABILITY capability = {cap, 0, nullptr};
    EXPECT_EQ(Ask(message, &capability), TWRC_SUCCESS) << "condition " << gConditionCode;
    if (!capability.hContainer) return Container{};
    return TakeContainer(&capability);
  }

  // MSG_SET with a container the test builds; the condition code it leaves.
  TW_UINT16 SetOneValue(TW_UINT16 cap, TW_UINT16 itemType, uint32_t value) {
    TW_CAPABILITY capability = {cap, 0, nullptr};
    EXPECT_EQ(MakeOneValueContainer(&capability, itemType, value), TWCC_SUCCESS);
    return SetWith(&capability);
  }
  TW_UINT16 SetEnumeration(TW_UINT16 cap, const std::vector<TW_UINT16>& items, uint32_t current) {
    TW_CAPABILITY capability = {cap, 0, nullptr};
    EXPECT_EQ(MakeEnumContainer(&capability, EnumHeader{TWTY_UINT16, static_cast<uint32_t>(items.size()), current, 0},
                                items.data()),
              TWCC_SUCCESS);
    return SetWith(&capability);
  }
  TW_UINT16 SetWith(TW_CAPABILITY* capability) {
    TW_HANDLE hostsContainer = capability->hContainer;
    Ask(MSG_SET, capability);
    EXPECT_EQ(+capability->hContainer, hostsContainer) << "MSG_SET builds no container";
    gContainerAllocator->release(hostsContainer);
    return gConditionCode;
  }
};

TEST_F(CapabilityTest, SupportedCapabilitiesInTheirOrder) {
  Container c = Answer(MSG_GET, CAP_SUPPORTEDCAPS);
  EXPECT_EQ(c.conType, TWON_ARRAY);
  EXPECT_EQ(c.itemType, TWTY_UINT16);
  EXPECT_EQ(c.items, (Items{0x0001, 0x1005, 0x100E, 0x0100, 0x1120, 0x1112, 0x1111, 0x111F, 0x112B, 0x111C, 0x0101,
                            0x0102, 0x0103, 0x1118, 0x1119}));
}

// One answer: the container type, item type, items and, for enumerations, the indexes.
struct AnswerCase {
  const char* name;
  TW_UINT16 message;
  TW_UINT16 cap;
  void (*setup)();
  TW_UINT16 conType;
  TW_UINT16 itemType;
  Items items;
  uint32_t currentIndex;
  uint32_t defaultIndex;
};

void Nothing() {}
void SixteenBitImage() { gDataSourceState.deviceHas16Bits = true; }
void Gray16Bit() {
  gDataSourceState.deviceHas16Bits = true;
  gPixelType = TWPT_GRAY;
}
void Bw() { gPixelType = TWPT_BW; }
void Cmyk() {
  gDataSourceState.deviceHas16Bits = true;
  gPixelType = TWPT_CMYK;
}
void MemoryTransfer() { gXferMech = TWSX_MEMORY; }
void OneImage() { gXferCount = 1; }
void GrayFlavorVanilla() { gPixelFlavor[TWPT_GRAY] = TWPF_VANILLA; }
// A 16-bit grey session being transferred while the host's choice is RGB.
void Transferring16BitGray() {
  gPixelFlavor[TWPT_GRAY] = TWPF_VANILLA;
  gSession->imageMode = 10;
  gTwainState = kStateTransferReady;
}

const uint32_t k75 = Fix32Bits(75, 0);
const uint32_t k150 = Fix32Bits(150, 0);
const uint32_t k300 = Fix32Bits(300, 0);

class AnswerTest : public CapabilityTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerTest, BuildsTheContainer) {
  const AnswerCase& c = GetParam();
  c.setup();
  Container answer = Answer(c.message, c.cap);
  EXPECT_EQ(answer.conType, c.conType);
  EXPECT_EQ(answer.itemType, c.itemType);
  EXPECT_EQ(answer.items, c.items);
  if (c.conType == TWON_ENUMERATION) {
    EXPECT_EQ(answer.currentIndex, c.currentIndex);
    EXPECT_EQ(answer.defaultIndex, c.defaultIndex);
  }
}

constexpr TW_UINT16 kOne = TWON_ONEVALUE;
constexpr TW_UINT16 kEnum = TWON_ENUMERATION;

INSTANTIATE_TEST_SUITE_P(
    Get, AnswerTest,
    ::testing::Values(
        AnswerCase{"XferCountAlwaysAny", MSG_GET, CAP_XFERCOUNT, OneImage, kOne, TWTY_INT16, {0xFFFF}, 0, 0},
        AnswerCase{"UiControllable", MSG_GET, CAP_UICONTROLLABLE, Nothing, kOne, TWTY_BOOL, {0}, 0, 0},
        AnswerCase{"Compression", MSG_GET, ICAP_COMPRESSION, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"PlanarChunky", MSG_GET, ICAP_PLANARCHUNKY, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"PhysicalWidth", MSG_GET, ICAP_PHYSICALWIDTH, Nothing, kOne, TWTY_FIX32, {Fix32Bits(8, 32768)}, 0,
                   0},
        AnswerCase{"PhysicalHeight", MSG_GET, ICAP_PHYSICALHEIGHT, Nothing, kOne, TWTY_FIX32, {Fix32Bits(11, 0)}, 0, 0},
        AnswerCase{"PixelFlavorOfRgb", MSG_GET, ICAP_PIXELFLAVOR, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"PixelFlavorOfCmyk", MSG_GET, ICAP_PIXELFLAVOR, Cmyk, kOne, TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"BitDepth8", MSG_GET, ICAP_BITDEPTH, Nothing, kOne, TWTY_UINT16, {8}, 0, 0},
        AnswerCase{"BitDepth16", MSG_GET, ICAP_BITDEPTH, SixteenBitImage, kEnum, TWTY_UINT16, {8, 16}, 0, 0},
        AnswerCase{"BitDepthBw", MSG_GET, ICAP_BITDEPTH, Bw, kOne, TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"BitDepthCmyk", MSG_GET, ICAP_BITDEPTH, Cmyk, kOne, TWTY_UINT16, {8}, 0, 0},
        AnswerCase{"BitOrder", MSG_GET, ICAP_BITORDER, Nothing, kOne, TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"PixelTypeRgb", MSG_GET, ICAP_PIXELTYPE, Nothing, kEnum, TWTY_UINT16, {0, 1, 2, 5}, 2, 2},
        AnswerCase{"PixelTypeCmyk", MSG_GET, ICAP_PIXELTYPE, Cmyk, kEnum, TWTY_UINT16, {0, 1, 2, 5}, 3, 2},
        AnswerCase{"Units", MSG_GET, ICAP_UNITS, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"XferMechNative", MSG_GET, ICAP_XFERMECH, Nothing, kEnum, TWTY_UINT16, {0, 2}, 0, 0},
        AnswerCase{"XferMechMemory", MSG_GET, ICAP_XFERMECH, MemoryTransfer, kEnum, TWTY_UINT16, {0, 2}, 1, 0},
        AnswerCase{"XResolution", MSG_GET, ICAP_XRESOLUTION, Nothing, kEnum, TWTY_FIX32, {k75, k150, k300}, 0, 0},
        AnswerCase{"YResolution", MSG_GET, ICAP_YRESOLUTION, Nothing, kEnum, TWTY_FIX32, {k75, k150, k300}, 0, 0}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    GetCurrentAndDefault, AnswerTest,
    ::testing::Values(
        AnswerCase{"XferCountCurrent", MSG_GETCURRENT, CAP_XFERCOUNT, OneImage, kOne, TWTY_INT16, {1}, 0, 0},
        AnswerCase{"XferCountCurrentAny", MSG_GETCURRENT, CAP_XFERCOUNT, Nothing, kOne, TWTY_INT16, {0xFFFF}, 0, 0},
        AnswerCase{"XferCountDefault", MSG_GETDEFAULT, CAP_XFERCOUNT, OneImage, kOne, TWTY_INT16, {0xFFFF}, 0, 0},
        AnswerCase{"Compression", MSG_GETCURRENT, ICAP_COMPRESSION, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"PlanarChunky", MSG_GETDEFAULT, ICAP_PLANARCHUNKY, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"Units", MSG_GETCURRENT, ICAP_UNITS, Nothing, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"PhysicalWidth", MSG_GETCURRENT, ICAP_PHYSICALWIDTH, Nothing, kOne, TWTY_FIX32,
                   {Fix32Bits(8, 32768)}, 0, 0},
        AnswerCase{"PixelType", MSG_GETCURRENT, ICAP_PIXELTYPE, Cmyk, kEnum, TWTY_UINT16, {0, 1, 2, 5}, 3, 2},
        AnswerCase{"XferMechCurrent", MSG_GETCURRENT, ICAP_XFERMECH, MemoryTransfer, kOne, TWTY_UINT16, {2}, 0, 0},
        AnswerCase{"XferMechDefault", MSG_GETDEFAULT, ICAP_XFERMECH, MemoryTransfer, kOne, TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"XResolutionWithoutFrame", MSG_GETCURRENT, ICAP_XRESOLUTION, Nothing, kOne, TWTY_FIX32,
                   {Fix32Bits(228, 0)}, 0, 0},
        AnswerCase{"YResolutionDefault", MSG_GETDEFAULT, ICAP_YRESOLUTION, Nothing, kOne, TWTY_FIX32,
                   {Fix32Bits(228, 0)}, 0, 0},
        AnswerCase{"PixelFlavorOpen", MSG_GETCURRENT, ICAP_PIXELFLAVOR, GrayFlavorVanilla, kOne, TWTY_UINT16, {0}, 0,
                   0},
        AnswerCase{"PixelFlavorFollowsTheSession", MSG_GETCURRENT, ICAP_PIXELFLAVOR, Transferring16BitGray, kOne,
                   TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"PixelFlavorDefaultCmyk", MSG_GETDEFAULT, ICAP_PIXELFLAVOR, Cmyk, kOne, TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"PixelFlavorDefaultInSession", MSG_GETDEFAULT, ICAP_PIXELFLAVOR, Transferring16BitGray, kOne,
                   TWTY_UINT16, {0}, 0, 0},
        AnswerCase{"BitDepthWithoutFrame", MSG_GETCURRENT, ICAP_BITDEPTH, Gray16Bit, kEnum, TWTY_UINT16, {8, 16}, 0, 0},
        AnswerCase{"BitDepthBw", MSG_GETDEFAULT, ICAP_BITDEPTH, Bw, kOne, TWTY_UINT16, {1}, 0, 0},
        AnswerCase{"BitOrder", MSG_GETCURRENT, ICAP_BITORDER, Nothing, kOne, TWTY_UINT16, {1}, 0, 0}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST_F(CapabilityTest, CurrentFrameGivesResolutionAndDepth) {
  alignas(8) uint8_t frame[2080] = {};
  const int16_t dpi = 600;
  std::memcpy(frame + 922, &dpi, 2);
  frame[928] = 16;
  gCurrentFrame = reinterpret_cast<FrameRecord*>(frame);
  gDataSourceState.deviceHas16Bits = true;

  EXPECT_EQ(Answer(MSG_GETCURRENT, ICAP_XRESOLUTION).items, Items{Fix32Bits(600, 0)});
  Container depth = Answer(MSG_GETCURRENT, ICAP_BITDEPTH);
  EXPECT_EQ(depth.items, (Items{8, 16}));
  EXPECT_EQ(depth.currentIndex, 1u);
  EXPECT_EQ(depth.defaultIndex, 0u);
  gCurrentFrame = nullptr;
}

TEST_F(CapabilityTest, PixelFlavorOutsideASessionBuildsNothingAndFails) {
  gTwainState = kStateLoaded;
  TW_CAPABILITY capability = {ICAP_PIXELFLAVOR, 0, nullptr};
  EXPECT_EQ(Ask(MSG_GETCURRENT, &capability), TWRC_FAILURE);
  EXPECT_EQ(gConditionCode, TWCC_SEQERROR);
  EXPECT_EQ(+capability.hContainer, nullptr);
}

struct RefusalCase {
  TW_UINT16 message;
  TW_UINT16 cap;
  TW_UINT16 conditionCode;
};

class RefusalTest : public CapabilityTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, FailsWithoutAContainer) {
  TW_CAPABILITY capability = {GetParam().cap, 0, nullptr};
  EXPECT_EQ(Ask(GetParam().message, &capability), TWRC_FAILURE);
  EXPECT_EQ(gConditionCode, GetParam().conditionCode);
  EXPECT_EQ(+capability.hContainer, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusalTest,
                         ::testing::Values(RefusalCase{MSG_GET, 0x1001, TWCC_BADCAP},
                                           RefusalCase{MSG_GETCURRENT, CAP_SUPPORTEDCAPS, TWCC_BADCAP},
                                           RefusalCase{MSG_GETDEFAULT, CAP_UICONTROLLABLE, TWCC_BADCAP},
                                           RefusalCase{MSG_RESET, ICAP_COMPRESSION, TWCC_BADCAP},
                                           RefusalCase{MSG_RESET, ICAP_PIXELFLAVOR, TWCC_BADCAP},
                                           RefusalCase{MSG_GETFIRST, ICAP_UNITS, TWCC_BADPROTOCOL},
                                           RefusalCase{MSG_GETNEXT, ICAP_UNITS, TWCC_BADPROTOCOL},
                                           RefusalCase{MSG_QUERYSUPPORT, ICAP_UNITS, TWCC_BADPROTOCOL}));

TEST_F(CapabilityTest, ResetAnswersAndRestores) {
  gXferMech = TWSX_MEMORY;
  gXferCount = 1;
  gPixelType = TWPT_GRAY;
  EXPECT_EQ(Answer(MSG_RESET, ICAP_XFERMECH).items, Items{0});
  EXPECT_EQ(gXferMech, TWSX_NATIVE);
  Container count = Answer(MSG_RESET, CAP_XFERCOUNT);
  EXPECT_EQ(count.itemType, TWTY_INT16);
  EXPECT_EQ(count.items, Items{0xFFFF});
  EXPECT_EQ(gXferCount, 65535u);
  EXPECT_EQ(Answer(MSG_RESET, ICAP_PIXELTYPE).items, Items{TWPT_RGB});
  EXPECT_EQ(gPixelType, TWPT_RGB);
  for (TW_UINT16 cap : {ICAP_UNITS, ICAP_BITORDER, ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
    EXPECT_EQ(Answer(MSG_RESET, cap).conType, 0) << cap;
  }
}

TEST_F(CapabilityTest, ResetBitDepthAnswersForRgbAndRestoresEveryDefault) {
  gDataSourceState.deviceHas16Bits = true;
  gPixelType = TWPT_CMYK;
  gBitDepthFlags[TWPT_GRAY][kDepth16] = 1;
  gPixelFlavor[TWPT_BW] = TWPF_VANILLA;
  Container depth = Answer(MSG_RESET, ICAP_BITDEPTH);
  EXPECT_EQ(depth.conType, TWON_ENUMERATION);
  EXPECT_EQ(depth.items, (Items{8, 16}));
  EXPECT_EQ(gPixelType, TWPT_RGB);
  EXPECT_FALSE(gBitDepthFlags[TWPT_GRAY][kDepth16]);
  EXPECT_EQ(gPixelFlavor[TWPT_BW], TWPF_CHOCOLATE);
  gDataSourceState.deviceHas16Bits = false;
  EXPECT_EQ(Answer(MSG_RESET, ICAP_BITDEPTH).items, Items{8});
}

TEST_F(CapabilityTest, DefaultsAfterOpen) {
  EXPECT_EQ(gPixelType, TWPT_RGB);
  EXPECT_EQ(gXferMech, TWSX_NATIVE);
  EXPECT_TRUE(WantsBw1());
  EXPECT_TRUE(WantsGray8());
  EXPECT_TRUE(WantsRgb8());
  EXPECT_FALSE(WantsRgb16Memory());
  EXPECT_FALSE(WantsGray16Memory());
  EXPECT_FALSE(WantsCmyk8Memory());
  const TW_UINT16 flavors[6] = {0, 0, 0, 0, 0, 1};
  EXPECT_EQ(std::memcmp(gPixelFlavor, flavors, sizeof flavors), 0);
}

TEST_F(CapabilityTest, XferCountSetIsKeptButGetStillSaysAny) {
  EXPECT_EQ(SetOneValue(CAP_XFERCOUNT, TWTY_INT16, 1), TWCC_SUCCESS);
  EXPECT_EQ(Answer(MSG_GET, CAP_XFERCOUNT).items, Items{0xFFFF});
  EXPECT_EQ(Answer(MSG_GETCURRENT, CAP_XFERCOUNT).items, Items{1});
  EXPECT_TRUE(IsTransferCountLimited());
}

TEST_F(CapabilityTest, PixelTypeSetAcceptsOnlyTheOfferedTypes) {
  EXPECT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY), TWCC_SUCCESS);
  EXPECT_EQ(gPixelType, TWPT_GRAY);
  EXPECT_EQ(SetEnumeration(ICAP_PIXELTYPE, {0, 1, 2, 5}, 3), TWCC_SUCCESS);
  EXPECT_EQ(gPixelType, TWPT_CMYK);
  for (uint32_t refused : {3u, 4u, 9u, 0xFFFFu}) {
    EXPECT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, refused), TWCC_BADVALUE) << refused;
  }
  EXPECT_EQ(SetEnumeration(ICAP_PIXELTYPE, {0, 1}, 7), TWCC_BADVALUE);  // current index beyond the items
  EXPECT_EQ(gPixelType, TWPT_CMYK);
  TW_CAPABILITY array = {ICAP_PIXELTYPE, 0, nullptr};
  const TW_UINT16 types[1] = {TWPT_BW};
  ASSERT_EQ(MakeArrayContainer(&array, ArrayHeader{TWTY_UINT16, 1}, types), TWCC_SUCCESS);
  EXPECT_EQ(SetWith(&array), TWCC_BADCAP);
}

TEST_F(CapabilityTest, XferMechSetAcceptsNativeAndMemoryOnly) {
  EXPECT_EQ(SetOneValue(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY), TWCC_SUCCESS);
  EXPECT_EQ(gXferMech, TWSX_MEMORY);
  EXPECT_EQ(SetOneValue(ICAP_XFERMECH, TWTY_UINT16, TWSX_FILE), TWCC_BADVALUE);
  EXPECT_EQ(gXferMech, TWSX_NATIVE);
  gXferMech = TWSX_MEMORY;
  EXPECT_EQ(SetOneValue(ICAP_XFERMECH, TWTY_UINT16, 5), TWCC_BADVALUE);
  EXPECT_EQ(gXferMech, TWSX_NATIVE);
  EXPECT_EQ(SetEnumeration(ICAP_XFERMECH, {0, 2}, 1), TWCC_BADVALUE);
}

TEST_F(CapabilityTest, BitDepthSetChangesOnlyTheCurrentPixelType) {
  EXPECT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY), TWCC_SUCCESS);
  EXPECT_EQ(SetEnumeration(ICAP_BITDEPTH, {24}, 0), TWCC_SUCCESS);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth1], 0);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth8], 1);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth16], 0);
  EXPECT_EQ(SetEnumeration(ICAP_BITDEPTH, {16, 1, 12}, 0), TWCC_SUCCESS);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth1], 1);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth8], 0);
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth16], 1);
  EXPECT_FALSE(WantsGray16Memory());
  EXPECT_EQ(SetOneValue(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY), TWCC_SUCCESS);
  EXPECT_TRUE(WantsGray16Memory());

  EXPECT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB), TWCC_SUCCESS);
  EXPECT_EQ(gBitDepthFlags[TWPT_RGB][kDepth8], 1);
  EXPECT_EQ(gBitDepthFlags[TWPT_RGB][kDepth16], 0);
  EXPECT_EQ(SetOneValue(ICAP_BITDEPTH, TWTY_UINT16, 32), TWCC_SUCCESS);
  EXPECT_TRUE(WantsRgb8());
  EXPECT_EQ(gBitDepthFlags[TWPT_GRAY][kDepth16], 1);
}

TEST_F(CapabilityTest, PixelFlavorSetGoesToTheCurrentPixelType) {
  EXPECT_EQ(SetOneValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW), TWCC_SUCCESS);
  EXPECT_EQ(SetOneValue(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_VANILLA), TWCC_SUCCESS);
  EXPECT_EQ(gPixelFlavor[TWPT_BW], TWPF_VANILLA);
  EXPECT_EQ(gPixelFlavor[TWPT_RGB], TWPF_CHOCOLATE);
}

TEST_F(CapabilityTest, SetIgnoresOrRefusesTheOthers) {
  for (TW_UINT16 cap : {ICAP_UNITS, ICAP_BITORDER, ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
    EXPECT_EQ(SetOneValue(cap, TWTY_UINT16, 3), TWCC_SUCCESS) << cap;
  }
  const TW_UINT16 refused[] = {CAP_SUPPORTEDCAPS,  CAP_UICONTROLLABLE,  ICAP_COMPRESSION, ICAP_PLANARCHUNKY,
                               ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, 0x1001};
  for (TW_UINT16 cap : refused) {
    EXPECT_EQ(SetOneValue(cap, TWTY_UINT16, 0), TWCC_BADCAP) << cap;
  }
}

}  // namespace
