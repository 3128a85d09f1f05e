// The end of a batch run: a sound and a notice.
#pragma once

enum : unsigned { kBatchEndSoundId = 230, kBatchEndTextId = 702, kNoticeCaptionId = 550 };

// Plays the module's sound 230 looping while the notice "Stapel Ende." is
// shown, and stops it when the notice closes. Without a sound device the
// notice comes alone.
void AnnounceBatchEnd();
