// The host build has no user interface: every prompt is dismissed.
#include "foundation/dialogs/prompts.h"

PromptAnswer ShowPlatformPrompt(const PromptRequest&) { return PromptAnswer(); }
