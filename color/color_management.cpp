#include "color/color_management.h"

#include "records/defaults_block.h"
#include "state/data_source_state.h"

uint8_t gIcmEnabled = 0;

uint16_t InputColorManagementMode() { return static_cast<uint16_t>(GetDefault(gDefaults, kDefaultInputCmsMode)); }

const char* InternalProfilePath() {
  return reinterpret_cast<const char*>(DefaultsBytes(gDefaults, kDefaultInternalProfile));
}
