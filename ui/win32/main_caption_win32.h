// The main dialog's caption as the frame panel composes it.
#pragma once

// The product, the module's version and the current device, set as the
// caption of the main dialog.
void SetMainCaption();
