#!/usr/bin/env bash
# Builds Mosaikschauer and runs it. With a display and without arguments the
# main window opens; without a display and without arguments the gallery of
# the bundled demo photos is made unattended. Arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build.sh"
prog="$root/build/mosaikschauer"
if [ $# -gt 0 ]; then
  exec "$prog" "$@"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$prog"
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
