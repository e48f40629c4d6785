#!/usr/bin/env bash
# The whole program over a photo corpus against vipsthumbnail making the same
# two sizes from the same originals, single-threaded, in the same run.
#
#   bench/vergleich.sh [build folder] [work folder]
#
# Defaults: build/ beside this folder, /tmp/mosaik-bench. The corpus is made
# once (about 120 MB, 16 photos of 12 to 36 megapixels); delete
# <work>/korpus to make it anew. vipsthumbnail comes from Debian's
# libvips-tools, installed here when missing (as root). Prints the time per
# stage, the wall time and peak memory of both, and the ratio ours/theirs.
set -euo pipefail
hier=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$hier/../build}" && pwd)
arbeit=${2:-/tmp/mosaik-bench}
runden=${RUNDEN:-3}
mkdir -p "$arbeit"
korpus="$arbeit/korpus"

if ! command -v vipsthumbnail > /dev/null; then
  echo "vipsthumbnail fehlt: installiere libvips-tools ..."
  apt-get install -y libvips-tools > /dev/null
fi
for t in mosaikschauer bench/mosaik_korpus bench/mosaik_bildbench; do
  [ -x "$build/$t" ] || { echo "FEHLER: $build/$t fehlt (erst bauen)"; exit 1; }
done
if [ ! -d "$korpus" ]; then
  echo "Erzeuge den Korpus in $korpus ..."
  "$build/bench/mosaik_korpus" "$korpus" > /dev/null
fi
anzahl=$(find "$korpus" -maxdepth 1 -name '*.jpg' | wc -l)

# The program keeps its settings beside itself: a copy of its own, and a
# settings file with the defaults plus reduction of the originals (large
# images 600 px, thumbnails 120 px, both resampled).
mkdir -p "$arbeit/programm"
cp "$build/mosaikschauer" "$arbeit/programm/"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=1\r\n' "$korpus" > "$arbeit/lauf.ini"

# Wall time in seconds and peak memory in MB of one command.
messen() {
  local log="$arbeit/time.log"
  /usr/bin/time -v "$@" > /dev/null 2> "$log" || { cat "$log"; exit 1; }
  local wand kb
  wand=$(grep 'Elapsed (wall clock)' "$log" | awk '{print $NF}' | awk -F: '{ if (NF == 3) print $1 * 3600 + $2 * 60 + $3; else print $1 * 60 + $2 }')
  kb=$(grep 'Maximum resident set size' "$log" | awk '{print $NF}')
  echo "$wand $((kb / 1024))"
}

# A fresh run; with "nochmal" a second run over its result, which keeps the
# large images and thumbnails it finds (replacing is off by default) and so
# measures the walks and pages alone.
unser() {
  [ "${1:-}" = nochmal ] || rm -rf "$korpus/html"
  (cd "$arbeit" && unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM &&
    messen "$arbeit/programm/mosaikschauer" -ini="$arbeit/lauf.ini" -autostart < /dev/null)
}
# Qualities as ours: 101 - slider (large images 15, thumbnails 25);
# progressive like ours; metadata kept like ours.
vips() {
  rm -rf "$arbeit/vips" && mkdir -p "$arbeit/vips"
  VIPS_CONCURRENCY=1 messen vipsthumbnail "$korpus"/*.jpg --size "$1" \
    -o "$arbeit/vips/%s_$1.jpg[Q=$2,interlace]"
}

echo "Korpus: $anzahl Fotos in $korpus; $runden Runden, jeweils die schnellste"
bester() { sort -n | head -1; }
u=() s=() v1=() v2=()
for ((i = 0; i < runden; ++i)); do
  u+=("$(unser)")
  s+=("$(unser nochmal)")
  v1+=("$(vips 600 86)")
  v2+=("$(vips 120 76)")
done
read -r uz us <<< "$(printf '%s\n' "${u[@]}" | bester)"
read -r sz _ <<< "$(printf '%s\n' "${s[@]}" | bester)"
read -r v1z v1s <<< "$(printf '%s\n' "${v1[@]}" | bester)"
read -r v2z v2s <<< "$(printf '%s\n' "${v2[@]}" | bester)"

echo
"$build/bench/mosaik_bildbench" "$korpus" "$arbeit/stufen"
echo
awk -v n="$anzahl" -v uz="$uz" -v us="$us" -v v1z="$v1z" -v v1s="$v1s" -v v2z="$v2z" -v v2s="$v2s" -v sz="$sz" 'BEGIN {
  vz = v1z + v2z; vs = (v1s > v2s ? v1s : v2s)
  printf "Mosaikschauer (ganzer Lauf):  %6.2f s  %6.1f ms/Foto  Spitzenspeicher %d MB\n", uz, uz * 1000 / n, us
  printf "  Seiten (zweiter Lauf, Bilder vorhanden): %6.1f ms/Foto\n", sz * 1000 / n
  printf "vipsthumbnail 600 + 120:      %6.2f s  %6.1f ms/Foto  Spitzenspeicher %d MB\n", vz, vz * 1000 / n, vs
  printf "Verhältnis unser/vips:        %6.2f  (Ziel höchstens 1,0; angestrebt 0,6)\n", uz / vz
}'
