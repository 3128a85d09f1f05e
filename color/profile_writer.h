// The two profiles the data source makes: the RGB scanner profile exported
// by the IT8 calibration (a file in the system's colour directory) and the
// L*a*b* identity profile the CMYK table sampling converts from (in memory).
#pragma once

#include <cstdint>

#include "color/color_module.h"
#include "color/icc_profile_bytes.h"

// Services of higher layers the writer needs, installed at module attach.
struct ProfileWriterServices {
  // The calibration's grey balance of a channel (1-3) in n entries; false
  // when there is none (the input tables then stay the identity).
  bool (*greyBalanceTable)(uint16_t* table, int32_t n, int16_t channel) = nullptr;
  // A new scanner profile exists: the cached list of scanner profiles is stale.
  void (*scannerProfilesChanged)() = nullptr;
};
void InstallProfileWriterServices(const ProfileWriterServices& services);

// The local time stamped into profiles: the system clock unless a clock is installed.
void InstallProfileClock(IccDateTime (*clock)());
IccDateTime ProfileClockNow();

// xyz: g^3 nodes of (X, Y, Z) for the RGB grid, red slowest, the last node
// the white. Writes "<profile name>.icm" into the colour directory, asking
// before it replaces a file; false when anything fails or is declined.
bool ColorProfileWriter(const double* xyz, int32_t g, double gamma);
// The identity profile opened through the module; the caller closes it.
bool CreateLabIdentityProfile(ColorProfileHandle* profile);

// The bytes of the two profiles, as the functions above write them.
IccBytes ScannerProfileBytes(const double* xyz, int32_t g, double gamma, const char* name, bool transparent,
                             const IccDateTime& date);
IccBytes LabIdentityProfileBytes(const IccDateTime& date);
