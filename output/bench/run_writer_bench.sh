#!/bin/sh
# Runs the writer benchmark on a 10000 x 10000 48-bit TIFF made by vips, on the
# host build and (when built) the win64 build under Wine, and measures
# "vips copy" and "vips rot d90" on the same file in the same run.
# Usage: output/bench/run_writer_bench.sh [work-folder]   (about 2 GB of space)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work"
image="$work/writer_bench.tif"
if [ ! -f "$image" ]; then
  vips gaussnoise "$work/noise.v" 10000 10000 --mean 32768 --sigma 8000
  vips cast "$work/noise.v" "$work/grey16.v" ushort
  vips bandjoin "$work/grey16.v $work/grey16.v $work/grey16.v" "$work/rgb16.v"
  vips copy "$work/rgb16.v" "$image[strip]" --interpretation rgb16
  rm -f "$work/noise.v" "$work/grey16.v" "$work/rgb16.v"
fi
measure() {  # label, command...
  label=$1; shift
  /usr/bin/time -f "$label: %e s, peak memory %M kB" "$@"
}
host="$here/build/host/bin/output_writer_bench"
[ -x "$host" ] && measure "host writer, both passes" "$host" "$image" "$work/"
win64="$here/build/win64/bin/output_writer_bench.exe"
if [ -f "$win64" ]; then
  # Wine sees the file system as drive Z:.
  windows() { printf 'Z:%s' "$1" | tr / '\\'; }
  measure "win64 writer under Wine, both passes" "$here/build/win64/wine-run.sh" "$win64" \
    "$(windows "$image")" "$(windows "$work/")"
fi
measure "vips copy" vips copy "$image" "$work/vips_copy.v"
measure "vips rot d90" vips rot "$image" "$work/vips_rot.v" d90
rm -f "$work/vips_copy.v" "$work/vips_rot.v"
