#include "ui/batch_end.h"

// The host checks have neither sound nor message boxes.
void AnnounceBatchEnd() {}
