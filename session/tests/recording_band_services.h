// Stand-ins of the colour, sharpening and output services that record each
// call by name, for the order of the band steps in the transfer and the
// writers. The sharpening stand-in holds back k rows at the first read and
// gives them back at the last, as the real filters do.
#pragma once

#include <string>
#include <vector>

#include "session/band_services.h"

extern std::vector<std::string> gRecordedCalls;
const BandServices& RecordingBandServices();
