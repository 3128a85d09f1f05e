#include <windows.h>
#include <mmsystem.h>

#include "foundation/dialogs/alerts.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "ui/batch_end.h"

void AnnounceBatchEnd() {
  HMODULE module = static_cast<HMODULE>(GetModuleInstance());
  if (!module) module = GetModuleHandleA(nullptr);
  // No sound device is a normal case: the notice then comes alone.
  const bool playing = PlaySoundA(MAKEINTRESOURCEA(kBatchEndSoundId), module,
                                  SND_RESOURCE | SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
  char text[256] = {};
  char caption[256] = {};
  LoadResourceString(module, kBatchEndTextId, text, sizeof(text));
  LoadResourceString(module, kNoticeCaptionId, caption, sizeof(caption));
  ShowMessageBox(GetActiveWindow(), caption, text, MB_OK | MB_ICONINFORMATION, kNoticeCaptionId, kBatchEndTextId);
  if (playing) PlaySoundA(nullptr, nullptr, 0);
}
