#include "twain/source_lifecycle.h"

#include <cstring>
#include <initializer_list>

#include "color/color_management.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/settings_folders.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "ui/monitor_matching.h"

namespace {

bool StateIsOneOf(std::initializer_list<int32_t> states) {
  for (int32_t state : states) {
    if (gTwainState == state) return true;
  }
  return false;
}

// Hosts that can take only one image per session.
bool TakesOneImageOnly(const TW_IDENTITY& application) {
  return TwainTextIs(application.ProductName, "PhotoDeluxe") ||
         TwainTextIs(application.Manufacturer, "Wang Laboratories, Inc.") ||
         TwainTextIs(application.ProductName, "<?>");
}

// The host's identity texts for the log's header, each cut to its 34-byte field.
void HostIdentityTexts(const char** manufacturer, const char** family, const char** product) {
  static char texts[3][sizeof(TW_STR32) + 1];
  const char* fields[3] = {gAppIdentity.Manufacturer, gAppIdentity.ProductFamily, gAppIdentity.ProductName};
  for (int i = 0; i < 3; ++i) {
    std::memcpy(texts[i], fields[i], sizeof(TW_STR32));
    texts[i][sizeof(TW_STR32)] = '\0';
  }
  *manufacturer = texts[0];
  *family = texts[1];
  *product = texts[2];
}
const LogHostSource kLogHostSource = {HostIdentityTexts};

// The user interface and the common controls go together.
void EndUserInterface() {
  TearDownUserInterface();
  FreeSystemLibrary(gComctlModule);
  gComctlModule = nullptr;
}

}  // namespace

TW_UINT16 OnIdentity(const TwainCall& call) {
  switch (call.message) {
    case MSG_GET: {
      auto* identity = static_cast<TW_IDENTITY*>(call.data);
      if (!identity) return FailWith(TWCC_BADVALUE);
      TW_UINT32 callersId = identity->Id;
      *identity = gSourceIdentity;
      identity->Id = callersId;
      return TWRC_SUCCESS;
    }
    case MSG_OPENDS:
      return OpenSource(call);
    case MSG_CLOSEDS:
      return CloseSource(call);
    default:
      return FailWith(TWCC_BADPROTOCOL);
  }
}

TW_UINT16 OpenSource(const TwainCall& call) {
  if (gTwainState != kStateLoaded) return FailWith(TWCC_SEQERROR);
  auto* assigned = static_cast<const TW_IDENTITY*>(call.data);
  if (!call.origin || !assigned) return FailWith(TWCC_BADVALUE);
  gAppIdentity = *call.origin;
  gSourceIdentity = *assigned;

  gPlatformData = nullptr;
  ResetDataSourceState();
  gSessionStorage = SessionBlock{};
  gSession = &gSessionStorage;
  gSession->platformData.value = &gPlatformData;
  gResModule = GetModuleInstance();

  // A fresh log for every session.
  SetLogHostSource(&kLogHostSource);
  LogOpen(true);
  WriteLogHeader();
  LogClose(false);

  ColorSystemLoad();
  InitializeOle();

  gXferCount = TakesOneImageOnly(gAppIdentity) ? 1 : 65535;
  gXferMech = TWSX_NATIVE;
  ResetCapabilityDefaults();
  gTwainState = kStateOpen;
  return TWRC_SUCCESS;
}

TW_UINT16 CloseSource(const TwainCall&) {
  if (!StateIsOneOf({kStateOpen, kStateEnabled, kStateTransferReady, kStateTransferring})) {
    return FailWith(TWCC_SEQERROR);
  }
  // A host that closes without disabling first would leave windows, hooks and
  // timers behind in a module about to be unloaded.
  if (gTwainState != kStateOpen) EndUserInterface();
  FreeMonitorTransform();
  ColorSystemUnload();
  UninitializeOle();
  LogOpen(false);
  LogClose(true);
  gAppIdentity.Id = 0;
  gTwainState = kStateLoaded;
  return TWRC_SUCCESS;
}

TW_UINT16 OnUserInterface(const TwainCall& call) {
  switch (call.message) {
    case MSG_DISABLEDS:
      return DisableSource(call);
    case MSG_ENABLEDS:
      return EnableSource(call);
    default:
      return FailWith(TWCC_BADPROTOCOL);
  }
}

TW_UINT16 EnableSource(const TwainCall& call) {
  if (gTwainState != kStateOpen) return FailWith(TWCC_SEQERROR);
  auto* ui = static_cast<TW_USERINTERFACE*>(call.data);
  if (!ui) return FailWith(TWCC_BADVALUE);
  gPlatformData = ui->hParent;
  gComctlModule = LoadSystemLibrary("Comctl32.dll");
  if (!BuildUserInterface()) {
    FreeSystemLibrary(gComctlModule);
    gComctlModule = nullptr;
    return FailWith(TWCC_NODS);
  }
  // The window is always shown, whatever the host asked for.
  ui->ModalUI = 1;
  gTwainState = kStateEnabled;
  return ui->ShowUI ? TWRC_SUCCESS : TWRC_CHECKSTATUS;
}

TW_UINT16 DisableSource(const TwainCall&) {
  if (!StateIsOneOf({kStateEnabled, kStateTransferReady, kStateTransferring})) return FailWith(TWCC_SEQERROR);
  EndUserInterface();
  gTwainState = kStateOpen;
  if (TwainTextIs(gAppIdentity.Manufacturer, "Wang Laboratories, Inc.")) {
    char folder[260];
    if (GetSettingsFolder(folder)) StartCloseCompanion(folder);
  }
  return TWRC_SUCCESS;
}

TW_UINT16 OnStatus(const TwainCall& call) {
  if (call.message != MSG_GET) return FailWith(TWCC_BADPROTOCOL);
  auto* status = static_cast<TW_STATUS*>(call.data);
  if (!status) return FailWith(TWCC_BADVALUE);
  status->ConditionCode = gConditionCode;
  status->Reserved = 0;
  gConditionCode = TWCC_SUCCESS;
  return TWRC_SUCCESS;
}

TW_UINT16 OnTransferGroup(const TwainCall& call) {
  if (!StateIsOneOf({kStateOpen, kStateEnabled, kStateTransferReady})) return FailWith(TWCC_SEQERROR);
  switch (call.message) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
    case MSG_RESET: {
      auto* group = static_cast<TW_UINT32*>(call.data);
      if (!group) return FailWith(TWCC_BADVALUE);
      *group = DG_IMAGE;
      return TWRC_SUCCESS;
    }
    case MSG_SET:
      return TWRC_SUCCESS;
    default:
      return FailWith(TWCC_BADPROTOCOL);
  }
}

void AnnounceTransferReady() {
  gTwainState = kStateTransferReady;
  PostToSourceManager(&gSourceIdentity, &gAppIdentity, MSG_XFERREADY);
}

void RequestCloseSource() { PostToSourceManager(&gSourceIdentity, &gAppIdentity, MSG_CLOSEDSREQ); }
