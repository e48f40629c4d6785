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
# The program takes its standard settings file from its own folder, and only
# that file can send it to a personal one: a copy of the program beside the
# demo's settings reads and writes no settings of the user's, so the demo
# gallery goes where the demo's settings say, inside this copy.
cp "$prog" "$demo/mosaikschauer"
for beilage in hilfe liesmich.txt; do
  if [ -e "$root/build/$beilage" ]; then cp -r "$root/build/$beilage" "$demo/"; fi
done
einstellungen=$(< "$root/examples/demo.ini")
printf '%s\n' "${einstellungen//@FOTOS@/"$demo/fotos"}" > "$demo/Mosaikschauer.ini"
export MOSAIKSCHAUER_DEMOKOPIE="$demo"
cd "$demo/fotos"
if bildschirm; then
  exec "$demo/mosaikschauer"
fi
status=0
"$demo/mosaikschauer" -autostart || status=$?
if [ $status -eq 0 ]; then
  # The demo's settings name the start page "index" plus the extension of
  # the page name; the gallery is reported whatever it is called.
  html="$demo/fotos/html"
  start=""
  for seite in "$html"/index.*; do
    if [ -f "$seite" ]; then start=$seite; break; fi
  done
  echo "Galerie erstellt in $html${start:+ (Startseite: $start)}"
fi
exit $status
