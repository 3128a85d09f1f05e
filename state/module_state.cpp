#include "state/module_state.h"

SessionBlock* gSession;
SessionBlock gSessionStorage;
