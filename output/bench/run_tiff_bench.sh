#!/bin/sh
# The TIFF writer on a 5000 x 5000 48-bit frame with unsharp masking, on the
# host build and (when built) the win64 build under Wine, against
# "vips sharpen" into an uncompressed TIFF of the same image in the same run.
# Prints each time and peak memory, and the ratios to vips.
# Usage: output/bench/run_tiff_bench.sh [work-folder]   (about 600 MB of space)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work"
image="$work/tiff_bench_source.tif"
if [ ! -f "$image" ]; then
  vips gaussnoise "$work/noise.v" 5000 5000 --mean 32768 --sigma 8000
  vips cast "$work/noise.v" "$work/grey16.v" ushort
  vips bandjoin "$work/grey16.v $work/grey16.v $work/grey16.v" "$work/rgb16.v"
  vips copy "$work/rgb16.v" "$image[strip]" --interpretation rgb16
  rm -f "$work/noise.v" "$work/grey16.v" "$work/rgb16.v"
fi
times="$work/times.txt"
: > "$times"
measure() {  # label, command...
  label=$1; shift
  /usr/bin/time -o "$work/one.txt" -f "%e %M" "$@" > /dev/null
  read seconds kilobytes < "$work/one.txt"
  echo "$label $seconds $kilobytes" >> "$times"
  echo "$label: $seconds s, peak memory $kilobytes kB"
}
measure vips vips sharpen "$image" "$work/vips_sharpened.tif[compression=none]"
host="$here/build/host/bin/output_writer_bench"
[ -x "$host" ] && measure host "$host" "$image" "$work/" tiff
win64="$here/build/win64/bin/output_writer_bench.exe"
if [ -f "$win64" ]; then
  # Wine sees the file system as drive Z:.
  windows() { printf 'Z:%s' "$1" | tr / '\\'; }
  measure win64-wine "$here/build/win64/wine-run.sh" "$win64" "$(windows "$image")" "$(windows "$work/")" tiff
fi
awk '$1 == "vips" { t = $2; m = $3 } $1 != "vips" && t > 0 {
  printf "%s / vips sharpen: time %.2f, peak memory %.2f\n", $1, $2 / t, $3 / m }' "$times"
rm -f "$work/vips_sharpened.tif" "$work/tiff_bench.tif" "$work/one.txt"
