#include "output/output_hooks_install.h"

#include "output/dcs_options.h"
#include "output/file_output.h"
#include "output/multi_scan.h"
#include "session/scan_read.h"

void InstallOutputSessionHooks() {
  MultiScanHooks hooks;
  hooks.possible = IsMultiScanPossible;
  hooks.start = StartMultiScan;
  hooks.finish = FinishMultiScan;
  hooks.end = [] { EndMultiScan(); };
  InstallMultiScanHooks(hooks);
  InstallFileOutputDialogServices();
  InstallDcsOptionsDialog();
}
