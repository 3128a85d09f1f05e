# Sourced by the two commands: can this machine run the 32-bit product under
# Wine? Where it cannot (a kernel without 32-bit user programs), the Windows
# code is run as the 64-bit test build instead.
# Sets ZIR_RUNS_WIN32 to 1 or 0 and, when 0, ZIR_WIN32_LEFT_OUT to the reason.
# ZIR_NO_WIN32=1 makes a machine that can run both behave as one that cannot.
zir_probe_win32() {
  if [ -n "${ZIR_NO_WIN32:-}" ]; then
    ZIR_RUNS_WIN32=0
    ZIR_WIN32_LEFT_OUT="ZIR_NO_WIN32 is set"
  elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    # Wine's 32-bit loader is itself a 32-bit program: that it starts is the probe.
    ZIR_RUNS_WIN32=1
  else
    ZIR_RUNS_WIN32=0
    ZIR_WIN32_LEFT_OUT="this machine cannot run 32-bit programs (Wine's 32-bit loader does not start)"
  fi
}
