#include "output/dcs_options.h"

// The host build has no dialogs: the save-as dialog's options button stays without one.
void InstallDcsOptionsDialog() {}
