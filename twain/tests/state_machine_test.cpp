// The source's face towards the source manager: identity, the state machine
// over every handler, the condition code, host quirks and the session reset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/log/log_file.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"
#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/tests/twain_test_support.h"

namespace {

TEST(SourceIdentity, IsFilledAtLoad) {
  TW_IDENTITY identity;
  std::memset(&identity, 0x5A, sizeof identity);
  FillSourceIdentity(&identity);
  EXPECT_EQ(+identity.Id, 0u);
  EXPECT_EQ(identity.Version.MajorNum, 5);
  EXPECT_EQ(identity.Version.MinorNum, 52);
  EXPECT_EQ(identity.Version.Language, 6);
  EXPECT_EQ(identity.Version.Country, 49);
  EXPECT_STREQ(identity.Version.Info, "5.5.2");
  EXPECT_EQ(identity.ProtocolMajor, 1);
  EXPECT_EQ(identity.ProtocolMinor, 6);
  EXPECT_EQ(+identity.SupportedGroups, 3u);
  EXPECT_STREQ(identity.Manufacturer, "Varnholde Imaging");
  EXPECT_STREQ(identity.ProductFamily, "Quillbrook ZIR (32 Bit)");
  EXPECT_STREQ(identity.ProductName, "Quillbrook ZIR (32 Bit)");
  EXPECT_EQ(identity.Version.Info[33], 0);
}

TEST(SourceIdentity, NullInstanceIsRefused) { EXPECT_FALSE(OnModuleAttach(nullptr)); }

using SourceEntryTest = TwainModuleTest;

TEST_F(SourceEntryTest, IdentityGetKeepsTheCallersId) {
  TW_IDENTITY identity = MakeApplication(77, "irgendwas");
  EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
  EXPECT_EQ(+identity.Id, 77u);
  EXPECT_STREQ(identity.ProductName, "Quillbrook ZIR (32 Bit)");
  EXPECT_STREQ(identity.Version.Info, "5.5.2");
}

TEST_F(SourceEntryTest, OpenTakesBothIdentities) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(+gAppIdentity.Id, 11u);
  EXPECT_STREQ(gAppIdentity.ProductName, "Testprogramm");
  EXPECT_EQ(+gSourceIdentity.Id, 21u);
}

TEST_F(SourceEntryTest, SecondApplicationIsRefusedAndTheFirstStaysConnected) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  TW_STATUS status = {};
  ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, 0x0999, &status), TWRC_FAILURE);  // leaves BADPROTOCOL

  TW_IDENTITY stranger = MakeApplication(12, "Fremdprogramm");
  TW_IDENTITY assigned = gSourceIdentity;
  EXPECT_EQ(HandleDsEntry(&stranger, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned), TWRC_FAILURE);
  EXPECT_EQ(HandleDsEntry(&stranger, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_FAILURE);
  EXPECT_EQ(HandleDsEntry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_FAILURE);

  EXPECT_EQ(+gAppIdentity.Id, 11u);
  EXPECT_STREQ(gAppIdentity.ProductName, "Testprogramm");
  EXPECT_EQ(gTwainState, kStateOpen);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

TEST_F(SourceEntryTest, StatusReportsTheFailedCallOnce) {
  ASSERT_EQ(Enable(), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_SEQERROR);
  EXPECT_EQ(Status(), TWCC_SUCCESS);
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(Status(), TWCC_SUCCESS);
}

TEST_F(SourceEntryTest, EnableWithoutUserInterfaceShowsItAllTheSame) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  TW_USERINTERFACE ui = {0, 0, nullptr};
  EXPECT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_CHECKSTATUS);
  EXPECT_EQ(gTwainState, kStateEnabled);
  EXPECT_EQ(ui.ModalUI, 1);
}

// A damaged device store must not cost the session: the source enables, the
// user gets one alert and the log names the file.
TEST_F(SourceEntryTest, DamagedDeviceStoreStillEnables) {
  struct Damage {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> pastEnd(20080, 0);
  RecordDirectoryEntry entry = {1, {}, TagFromString("FRc0"), 128, 20000, 0x7FFFFFF0u};
  std::memcpy(pastEnd.data(), &entry, sizeof entry);
  const Damage damages[] = {{"cut inside its directory", std::vector<uint8_t>(19999, 0)},
                            {"entry past the end", pastEnd}};
  for (const Damage& damage : damages) {
    char folder[kPathSize];
    ASSERT_TRUE(GetPrefsFolder(folder));
    const std::string store = std::string(folder) + "QB (ZIR bild.tif).prf";
    FileHandle file = CreateFileForWriting(store.c_str());
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(WriteBytesAt(file, 0, damage.bytes.data(), static_cast<uint32_t>(damage.bytes.size())));
    CloseFile(file);

    ScopedPrompts prompts;
    prompts.Reply(kAnswerOk);
    ASSERT_EQ(Open(), TWRC_SUCCESS) << damage.what;
    EXPECT_EQ(Enable(), TWRC_SUCCESS) << damage.what;
    EXPECT_EQ(gTwainState, kStateEnabled) << damage.what;
    ASSERT_EQ(prompts.Asked().size(), 1u) << damage.what;
    EXPECT_EQ(prompts.Asked(0).textId, kDamagedStoreString);
    EXPECT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);

    char log[kPathSize];
    ASSERT_TRUE(GetTemporaryFolder(log, sizeof log));
    AppendToPath(log, kLogFileName);
    FileHandle logFile = OpenFileForReading(log);
    uint64_t logSize = 0;
    ASSERT_TRUE(logFile && GetFileSize(logFile, &logSize));
    std::string text(static_cast<size_t>(logSize), '\0');
    ASSERT_TRUE(ReadBytesAt(logFile, 0, &text[0], static_cast<uint32_t>(logSize)));
    CloseFile(logFile);
    const size_t line = text.find("damaged settings store: ");
    ASSERT_NE(line, std::string::npos) << damage.what;
    EXPECT_NE(text.find("QB (ZIR bild.tif).prf", line), std::string::npos) << damage.what;
  }
}

TEST_F(SourceEntryTest, EnableKeepsTheHostsWindowForTheSession) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  int window;
  TW_USERINTERFACE ui = {1, 0, &window};
  ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  ASSERT_EQ(gSession, &gSessionStorage);
  EXPECT_EQ(*gSession->platformData.value, &window);
}

TEST_F(SourceEntryTest, TransferGroupSetLeavesTheImageGroup) {
  BringToState(kStateEnabled);
  TW_UINT32 group = DG_CONTROL;
  EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, MSG_SET, &group), TWRC_SUCCESS);
  for (TW_UINT16 message : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
    group = 0;
    EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, message, &group), TWRC_SUCCESS);
    EXPECT_EQ(group, DG_IMAGE);
  }
}

TEST_F(SourceEntryTest, ProcessEventWithoutWindowsIsNotTheSources) {
  BringToState(kStateEnabled);
  int message;
  TW_EVENT event = {&message, 0x1234};
  EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, 0x1234);
}

TEST_F(SourceEntryTest, OpenResetsTheWholeSessionState) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  int dummy;
  gMainDialog = &dummy;
  gJobManagerWindow = &dummy;
  gSessionEnded = 1;
  gResolutionList.count = 3;
  gScanAreaInches.width = 8.5;
  gDataSourceState.deviceHas16Bits = true;
  gSession->rows = 100;
  gSession->hostSignature = kHostSignatureBupp;
  gPixelType = TWPT_GRAY;
  gXferMech = TWSX_MEMORY;
  ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);
  ASSERT_EQ(Open(), TWRC_SUCCESS);

  EXPECT_EQ(gMainDialog, nullptr);
  EXPECT_EQ(gJobManagerWindow, nullptr);
  EXPECT_EQ(gSessionEnded, 0);
  EXPECT_EQ(gResolutionList.count, 0);
  EXPECT_EQ(gScanAreaInches.width, 0.0);
  EXPECT_FALSE(gDataSourceState.deviceHas16Bits);
  EXPECT_EQ(gResModule, GetModuleInstance());
  ASSERT_EQ(gSession, &gSessionStorage);
  EXPECT_EQ(gSession->rows, 0);
  EXPECT_EQ(gSession->hostSignature, 0u);
  EXPECT_EQ(gSession->platformData.value, &gPlatformData);
  EXPECT_EQ(gPixelType, TWPT_RGB);
  EXPECT_EQ(gXferMech, TWSX_NATIVE);
}

TEST_F(SourceEntryTest, CloseFromEnabledTearsTheUserInterfaceDown) {
  BringToState(kStateEnabled);
  ASSERT_EQ(gSessionEnded, 0);
  ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);
  EXPECT_EQ(gSessionEnded, 1);
  EXPECT_EQ(gComctlModule, nullptr);
  EXPECT_EQ(+gAppIdentity.Id, 0u);
}

TEST_F(SourceEntryTest, CloseFromOpenHasNoUserInterfaceToTearDown) {
  BringToState(kStateOpen);
  ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_SUCCESS);
  EXPECT_EQ(gSessionEnded, 0);
}

TEST_F(SourceEntryTest, DisableInTransferTearsDownAndReturnsToOpen) {
  BringToState(kStateTransferring);
  EXPECT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_SUCCESS);
  EXPECT_EQ(gTwainState, kStateOpen);
  EXPECT_EQ(gSessionEnded, 1);
}

// One triplet in one state: the answer, the condition code left and the state after.
struct StateCase {
  const char* name;
  int32_t state;
  TW_UINT32 dataGroup;
  TW_UINT16 dataArgument;
  TW_UINT16 message;
  TW_UINT16 returnCode;
  TW_UINT16 conditionCode;
  int32_t stateAfter;
};

class StateTableTest : public TwainModuleTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StateTableTest, AnswersAndMoves) {
  const StateCase& c = GetParam();
  BringToState(c.state);
  ASSERT_EQ(gTwainState, c.state);
  gConditionCode = TWCC_BUMMER;  // every call but DAT_STATUS clears it first

  alignas(8) uint8_t data[256] = {};
  if (c.dataArgument == DAT_IDENTITY) std::memcpy(data, &gSourceIdentity, sizeof gSourceIdentity);
  if (c.dataArgument == DAT_USERINTERFACE) reinterpret_cast<TW_USERINTERFACE*>(data)->ShowUI = 1;
  if (c.dataArgument == DAT_CAPABILITY) reinterpret_cast<TW_CAPABILITY*>(data)->Cap = ICAP_UNITS;

  EXPECT_EQ(Call(c.dataGroup, c.dataArgument, c.message, data), c.returnCode);
  EXPECT_EQ(gConditionCode, c.conditionCode);
  EXPECT_EQ(gTwainState, c.stateAfter);
  auto* capability = reinterpret_cast<TW_CAPABILITY*>(data);
  if (c.dataArgument == DAT_CAPABILITY && capability->hContainer) gContainerAllocator->release(capability->hContainer);
}

constexpr TW_UINT16 kOk = TWRC_SUCCESS;
constexpr TW_UINT16 kFail = TWRC_FAILURE;

INSTANTIATE_TEST_SUITE_P(
    EveryHandler, StateTableTest,
    ::testing::Values(
        StateCase{"OpenWhenLoaded", 300, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, kOk, TWCC_SUCCESS, 400},
        StateCase{"OpenWhenOpen", 400, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, kFail, TWCC_SEQERROR, 400},
        StateCase{"OpenWhenEnabled", 500, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, kFail, TWCC_SEQERROR, 500},
        StateCase{"GetIdentityWhenLoaded", 300, DG_CONTROL, DAT_IDENTITY, MSG_GET, kOk, TWCC_SUCCESS, 300},
        StateCase{"GetIdentityWhenEnabled", 500, DG_CONTROL, DAT_IDENTITY, MSG_GET, kOk, TWCC_SUCCESS, 500},
        StateCase{"IdentityUserSelect", 400, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"CloseWhenLoaded", 300, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, kFail, TWCC_SEQERROR, 300},
        StateCase{"CloseWhenOpen", 400, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, kOk, TWCC_SUCCESS, 300},
        StateCase{"CloseWhenEnabled", 500, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, kOk, TWCC_SUCCESS, 300},
        StateCase{"CloseWhenReady", 600, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, kOk, TWCC_SUCCESS, 300},
        StateCase{"CloseWhenTransferring", 700, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, kOk, TWCC_SUCCESS, 300},
        StateCase{"EnableWhenLoaded", 300, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, kFail, TWCC_SEQERROR, 300},
        StateCase{"EnableWhenOpen", 400, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, kOk, TWCC_SUCCESS, 500},
        StateCase{"EnableWhenEnabled", 500, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, kFail, TWCC_SEQERROR, 500},
        StateCase{"EnableWhenReady", 600, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, kFail, TWCC_SEQERROR, 600},
        StateCase{"EnableUiOnly", 400, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, kFail, TWCC_BADPROTOCOL,
                  400},
        StateCase{"DisableWhenLoaded", 300, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, kFail, TWCC_SEQERROR, 300},
        StateCase{"DisableWhenOpen", 400, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, kFail, TWCC_SEQERROR, 400},
        StateCase{"DisableWhenEnabled", 500, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, kOk, TWCC_SUCCESS, 400},
        StateCase{"DisableWhenReady", 600, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, kOk, TWCC_SUCCESS, 400},
        StateCase{"DisableWhenTransferring", 700, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, kOk, TWCC_SUCCESS,
                  400},
        StateCase{"StatusWhenLoaded", 300, DG_CONTROL, DAT_STATUS, MSG_GET, kOk, TWCC_SUCCESS, 300},
        StateCase{"StatusSet", 400, DG_CONTROL, DAT_STATUS, MSG_SET, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"XferGroupWhenLoaded", 300, DG_CONTROL, DAT_XFERGROUP, MSG_GET, kFail, TWCC_SEQERROR, 300},
        StateCase{"XferGroupWhenOpen", 400, DG_CONTROL, DAT_XFERGROUP, MSG_GET, kOk, TWCC_SUCCESS, 400},
        StateCase{"XferGroupSetWhenEnabled", 500, DG_CONTROL, DAT_XFERGROUP, MSG_SET, kOk, TWCC_SUCCESS, 500},
        StateCase{"XferGroupWhenReady", 600, DG_CONTROL, DAT_XFERGROUP, MSG_RESET, kOk, TWCC_SUCCESS, 600},
        StateCase{"XferGroupWhenTransferring", 700, DG_CONTROL, DAT_XFERGROUP, MSG_GET, kFail, TWCC_SEQERROR, 700},
        StateCase{"XferGroupGetFirst", 400, DG_CONTROL, DAT_XFERGROUP, MSG_GETFIRST, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"CapabilityWhenLoaded", 300, DG_CONTROL, DAT_CAPABILITY, MSG_GET, kOk, TWCC_SUCCESS, 300},
        StateCase{"CapabilityWhenTransferring", 700, DG_CONTROL, DAT_CAPABILITY, MSG_GET, kOk, TWCC_SUCCESS, 700},
        StateCase{"NoEventHandler", 500, DG_CONTROL, DAT_EVENT, MSG_GET, kFail, TWCC_BADPROTOCOL, 500},
        StateCase{"NoParentHandler", 400, DG_CONTROL, DAT_PARENT, MSG_GET, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"NoFileTransfer", 600, DG_IMAGE, 0x0105, MSG_GET, kFail, TWCC_BADPROTOCOL, 600},
        StateCase{"ImageGroupControlArgument", 400, DG_IMAGE, DAT_IDENTITY, MSG_GET, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"UnknownGroup", 400, 0x0004, DAT_IDENTITY, MSG_GET, kFail, TWCC_BADPROTOCOL, 400},
        StateCase{"UnknownArgument", 400, DG_CONTROL, 0x0077, MSG_GET, kFail, TWCC_BADPROTOCOL, 400}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

// Hosts that can take only one image, and the one that cannot read an enumeration.
struct HostCase {
  const char* productName;
  const char* manufacturer;
  uint32_t xferCount;
  bool pixelTypeAsOneValue;
};

class HostQuirkTest : public TwainModuleTest, public ::testing::WithParamInterface<HostCase> {};

TEST_P(HostQuirkTest, FollowsTheHostsIdentity) {
  application_ = MakeApplication(11, GetParam().productName, GetParam().manufacturer);
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(gXferCount, GetParam().xferCount);
  EXPECT_EQ(IsTransferCountLimited(), GetParam().xferCount == 1);

  TW_CAPABILITY capability = {CAP_XFERCOUNT, 0, nullptr};
  ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability), TWRC_SUCCESS);
  Container count = TakeContainer(&capability);
  EXPECT_EQ(count.itemType, TWTY_INT16);
  EXPECT_EQ(count.items, std::vector<uint32_t>{GetParam().xferCount});

  capability = {ICAP_PIXELTYPE, 0, nullptr};
  ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &capability), TWRC_SUCCESS);
  Container type = TakeContainer(&capability);
  if (GetParam().pixelTypeAsOneValue) {
    EXPECT_EQ(type.conType, TWON_ONEVALUE);
    EXPECT_EQ(type.items, std::vector<uint32_t>{TWPT_RGB});
  } else {
    EXPECT_EQ(type.conType, TWON_ENUMERATION);
  }
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostQuirkTest,
                         ::testing::Values(HostCase{"PhotoDeluxe", "Testhaus", 1, false},
                                           HostCase{"Bildprogramm", "Wang Laboratories, Inc.", 1, false},
                                           HostCase{"<?>", "Testhaus", 1, false},
                                           HostCase{"photodeluxe", "Testhaus", 65535, false},
                                           HostCase{"PhotoDeluxe 2", "Testhaus", 65535, false},
                                           HostCase{"Bildprogramm", "Wang Laboratories", 65535, false},
                                           HostCase{"NIKONCTL.EXE", "Testhaus", 65535, true},
                                           HostCase{"Testprogramm", "Testhaus", 65535, false}));

}  // namespace
