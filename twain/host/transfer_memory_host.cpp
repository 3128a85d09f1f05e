#include "twain/transfers.h"

const ContainerAllocator* gTransferAllocator = &kPlatformContainerAllocator;
