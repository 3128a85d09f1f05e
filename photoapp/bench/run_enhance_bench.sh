#!/bin/sh
# The photo program's work on a 6000 x 4000 JPEG from ImageMagick (load, the
# five steps at their default positions with Mid Details at full size, save
# at quality 85) against ImageMagick's nearest command on the same file, in
# the same run: times, ratio and peak memories. Not a test.
# Our program runs natively (build/release, a Release build of the host) and
# under Wine (build/win32, else build/win64), as far as they are built:
#   cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
#   cmake --build build/release --target photoapp_enhance_bench
# Usage: photoapp/bench/run_enhance_bench.sh [work-folder]
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work"
image="$work/enhance_bench.jpg"
[ -f "$image" ] || convert -seed 4711 -size 6000x4000 plasma:fractal -attenuate 0.3 +noise Gaussian -quality 92 "$image"

# Seconds and peak kB of one command, on one line: "label seconds kB".
measure() {
  label=$1; shift
  /usr/bin/time -f "$label %e %M" -o "$work/time.txt" "$@" >/dev/null
  cat "$work/time.txt"
}

results=$(
  measure "ImageMagick" convert "$image" -contrast-stretch 2%x2% -gamma 1.4 -despeckle \
    -morphology Convolve '3x3: -0.05,-0.05,-0.05 -0.05,1.4,-0.05 -0.05,-0.05,-0.05' -modulate 100,131 \
    -quality 85 "$work/imagemagick.jpg"
  native="$here/build/release/bin/photoapp_enhance_bench"
  [ -x "$native" ] && measure "PhotoRefiner-native" "$native" "$image" "$work/native.jpg"
  for preset in win32 win64; do
    exe="$here/build/$preset/bin/photoapp_enhance_bench.exe"
    [ -f "$exe" ] || continue
    # Wine sees the file system as drive Z:; a first run starts its server outside the measurement.
    windows() { printf 'Z:%s' "$1" | tr / '\\'; }
    "$here/build/$preset/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1 || true
    measure "PhotoRefiner-$preset-under-Wine" "$here/build/$preset/wine-run.sh" "$exe" "$(windows "$image")" \
      "$(windows "$work/$preset.jpg")"
    break
  done
)
echo "$results" | awk '
  NR == 1 { peer = $2 }
  { printf "%-34s %7.2f s  peak %5.0f MB  ratio to ImageMagick %.2f\n", $1, $2, $3 / 1024, $2 / peer }'
