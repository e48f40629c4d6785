#!/usr/bin/env bash
# Builds Mosaikschauer (the program alone; ./test.sh builds the rest) and runs
# it. Without arguments it works on a fresh copy of the bundled demo photos:
# with a display the main window opens on it, so that Start makes the demo
# gallery; without one that gallery is made unattended. Arguments go to the
# program unchanged, which then runs in the caller's folder.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/build.sh" mosaikschauer
prog="$root/build/mosaikschauer"
# A run renames pictures and writes pages into its picture folder: the
# program refuses one (status 2) whose picture folder is this checkout, lies
# in it or holds it.
export MOSAIKSCHAUER_ARBEITSKOPIE="$root"
if [ $# -gt 0 ]; then
  exec "$prog" "$@"
fi

# The program's own rule: a platform named decides (offscreen and minimal
# show nothing), else an X11 or Wayland display.
bildschirm() {
  local plattform=${QT_QPA_PLATFORM:-}
  if [ -n "$plattform" ]; then
    plattform=${plattform%%[;:]*}
    [ "$plattform" != offscreen ] && [ "$plattform" != minimal ]
  else
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]
  fi
}

# A run renames files in place: work on a fresh copy, never on the tracked
# one. The copy lies in build/, which is no part of the source tree.
demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
cp -r "$root/examples/fotos" "$demo/fotos"
sed "s|@FOTOS@|$demo/fotos|" "$root/examples/demo.ini" > "$demo/demo.ini"
export MOSAIKSCHAUER_DEMOKOPIE="$demo"
cd "$demo/fotos"
if bildschirm; then
  # The demo's settings name its picture folder and save nothing on close,
  # so the user's own settings stay as they were.
  exec "$prog" "-ini=$demo/demo.ini"
fi
status=0
"$prog" "-ini=$demo/demo.ini" -autostart || status=$?
if [ $status -eq 0 ]; then
  start=$(ls "$demo"/fotos/html/index.htm* 2>/dev/null | head -n 1)
  echo "Galerie erstellt in $demo/fotos/html${start:+ (Startseite: $start)}"
fi
exit $status
