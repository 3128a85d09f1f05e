#include "session/band_producer.h"
#include "twain/transfers.h"

namespace {

// The host checks have no progress window whose cancel could be pressed.
bool NoProgressWindow() { return false; }

}  // namespace

const BandSource kScanBandSource = {RunScan, NoProgressWindow};
const ContainerAllocator* gTransferAllocator = &kPlatformContainerAllocator;
