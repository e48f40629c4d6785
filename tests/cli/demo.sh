#!/usr/bin/env bash
# ./run.sh of a checkout: the demo works only inside build/demo/ with the
# demo's own settings, whatever the user's settings say.
source "$(dirname "$0")/hilfen.bash"
quelle=$(cd "$2/../.." && pwd)
w="$tmp/welt"
k="$w/klon"
# A checkout with the program already built (the build step does nothing).
mkdir -p "$k/scripts" "$k/build"
cp -r "$quelle/run.sh" "$quelle/examples" "$k/"
printf '#!/bin/sh\nexit 0\n' > "$k/scripts/build.sh"
chmod +x "$k/scripts/build.sh"
cp "$1" "$k/build/mosaikschauer"
# A returning user: the standard settings beside the program choose the
# personal folder, and both send the gallery elsewhere, under another start
# page name.
eigen() {
  printf '[OrdnerUndDateien]\r\nHTMLPfad=%s\r\nStartIndex=0\r\nGrosseBilderpfad=%s\r\nVorschaubilderpfad=%s\r\n' \
    "$w/eigen/html" "$w/eigen/gross" "$w/eigen/vorschau"
  printf '[Programm]\r\nEinstAutoSpeichern=1\r\nEinstImAppOrdner=%s\r\n' "$1"
}
eigen 1 > "$k/build/Mosaikschauer.ini"
mkdir -p "$w/home/.config/Mosaikschauer" "$w/eigen/html"
eigen 0 > "$w/home/.config/Mosaikschauer/Mosaikschauer.ini"
echo "meine Seite" > "$w/eigen/html/meinebilder.htm"
# Name, size and time of everything in the world but the demo.
stand() { (cd "$w" && find . -path ./klon/build/demo -prune -o -type f -printf '%p %s %T@\n' -o -printf '%p\n' | sort); }
vorher=$(stand)
html="$k/build/demo/fotos/html"
for durchgang in 1 2; do
  lauf "$w" env HOME="$w/home" XDG_CONFIG_HOME="$w/home/.config" bash klon/run.sh > "$tmp/aus"
  erwarte 0 "Demo, Durchgang $durchgang"
  grep -qxF "Galerie erstellt in $html (Startseite: $html/index.htm)" "$tmp/aus" || fail "Meldung: $(cat "$tmp/aus")"
  grep -q 'href="garten/index.htm"' "$html/index.htm" || fail "Startseite der Demo"
  [ "$(stand)" = "$vorher" ] || fail "Außerhalb der Demo geschrieben (Durchgang $durchgang)"
done
echo ok
