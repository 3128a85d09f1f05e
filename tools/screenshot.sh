#!/usr/bin/env bash
# Saves the X screen (of $DISPLAY) as a PNG, to look at windows under Xvfb.
#   tools/screenshot.sh out.png
set -euo pipefail
out=${1:?usage: screenshot.sh out.png}
xwd -root -silent -display "${DISPLAY:?no DISPLAY set}" | convert xwd:- "png:$out"
