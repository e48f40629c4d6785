#!/usr/bin/env bash
# Builds Mosaikschauer (the program alone; ./test.sh builds the rest) and runs
# it. With a display and without arguments the main window opens; without a
# display and without arguments the gallery of the bundled demo photos is made
# unattended. Arguments go to the program, which runs in the caller's folder.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build.sh" mosaikschauer
prog="$root/build/mosaikschauer"
if [ $# -gt 0 ] || [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # A run renames pictures and writes pages into its picture folder: the
  # program refuses one (status 2) whose picture folder is this checkout, lies
  # in it or holds it.
  MOSAIKSCHAUER_ARBEITSKOPIE="$root" exec "$prog" "$@"
fi
# A run renames files in place: work on a fresh copy, never on the tracked one.
demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$root/examples/fotos" "$demo/fotos"
sed "s|@FOTOS@|$demo/fotos|" "$root/examples/demo.ini" > "$demo/demo.ini"
status=0
# The picture folder is the working folder unless the settings name one.
(cd "$demo/fotos" && "$prog" "-ini=$demo/demo.ini" -autostart) || status=$?
if [ $status -eq 0 ]; then
  start=$(ls "$demo"/fotos/html/index.htm* 2>/dev/null | head -n 1)
  echo "Galerie erstellt in $demo/fotos/html${start:+ (Startseite: $start)}"
fi
exit $status
