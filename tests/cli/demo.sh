#!/usr/bin/env bash
# ./run.sh of a checkout: the demo works only inside build/demo/ with the
# demo's own settings, whatever the user's settings say; a run on a folder
# that holds the checkout is refused before anything is renamed or written.
source "$(dirname "$0")/hilfen.bash"
quelle=$(cd "$2/../.." && pwd)
# A checkout with the program already built (the build step does nothing).
klon() {
  mkdir -p "$1/scripts" "$1/build"
  cp "$quelle/run.sh" "$1/"
  cp -r "$quelle/examples" "$1/"
  printf '#!/bin/sh\nexit 0\n' > "$1/scripts/build.sh"
  chmod +x "$1/scripts/build.sh"
  cp "$bin" "$1/build/mosaikschauer"
  cp -r "$quelle/hilfe" "$quelle/liesmich.txt" "$1/build/"
}
bin=$1
# Names and bytes of every file below $1, but those below $2.
stand() { (cd "$1" && find . -path "./$2" -prune -o -print | sort && find . -path "./$2" -prune -o -type f -print0 |
  sort -z | xargs -0 md5sum); }
w="$tmp/welt"
klon "$w/klon"
# A returning user: the standard settings beside the program choose the
# personal folder, and both send the gallery elsewhere, under another start
# page name.
eigen() {
  printf '[OrdnerUndDateien]\r\nHTMLPfad=%s\r\nStartIndex=0\r\nGrosseBilderpfad=%s\r\nVorschaubilderpfad=%s\r\n' \
    "$w/eigen/html" "$w/eigen/gross" "$w/eigen/vorschau"
  printf '[Programm]\r\nEinstAutoSpeichern=1\r\nEinstImAppOrdner=%s\r\n' "$1"
}
eigen 1 > "$w/klon/build/Mosaikschauer.ini"
mkdir -p "$w/home/.config/Mosaikschauer" "$w/eigen/html"
eigen 0 > "$w/home/.config/Mosaikschauer/Mosaikschauer.ini"
echo "meine Seite" > "$w/eigen/html/meinebilder.htm"
vorher=$(stand "$w" klon/build/demo)
for durchgang in 1 2; do
  (cd "$w" && env HOME="$w/home" XDG_CONFIG_HOME="$w/home/.config" timeout 120 bash klon/run.sh \
    < /dev/null > "$tmp/aus" 2> "$tmp/err")
  rc=$?
  erwarte 0 "Demo, Durchgang $durchgang"
  html="$w/klon/build/demo/fotos/html"
  grep -qxF "Galerie erstellt in $html (Startseite: $html/index.htm)" "$tmp/aus" || fail "Meldung: $(cat "$tmp/aus")"
  grep -q 'href="garten/index.htm"' "$html/index.htm" || fail "Startseite der Demo"
  [ "$(stand "$w" klon/build/demo)" = "$vorher" ] || fail "Außerhalb der Demo geschrieben (Durchgang $durchgang)"
  [ -e "$w/klon/examples/fotos/Bergsee.JPG" ] || fail "Beispielbilder umbenannt"
done
# With a display the window opens from the same copy, on the demo's own
# settings, with no argument that could name other ones.
printf '#!/bin/sh\necho "$0|$#|$PWD"\n' > "$w/klon/build/mosaikschauer"
(cd "$w" && DISPLAY=:99 timeout 60 bash klon/run.sh < /dev/null > "$tmp/aus" 2> "$tmp/err")
demo="$w/klon/build/demo"
[ "$(cat "$tmp/aus")" = "$demo/mosaikschauer|0|$demo/fotos" ] || fail "Fenster der Demo: $(cat "$tmp/aus" "$tmp/err")"
grep -qx "Ordner=$demo/fotos" "$demo/Mosaikschauer.ini" || fail "Einstellungen der Demo: $(cat "$demo/Mosaikschauer.ini")"

# Run from the checkout's parent folder without subfolders: refused, and
# neither the checkout nor the picture beside it renamed or written (the
# write test leaves its keys in the settings file beside the program).
w="$tmp/oben"
klon "$w/Mein Klon"
cp "$2/captions/urlaub.jpg" "$w/IMG_1001.JPG"
printf '[OrdnerUndDateien]\r\nUnterverzeichnisse=0\r\n[Programm]\r\nEinstAutoSpeichern=0\r\n' > "$w/flach.ini"
vorher=$(stand "$w" "Mein Klon/build/Mosaikschauer.ini")
lauf "$w" "./Mein Klon/run.sh" -ini=flach.ini -autostart
erwarte 2 "Ordner über dem Quelltext ohne Unterordner" "enthält in seinen Unterordnern den Quelltext von Mosaikschauer"
[ "$(stand "$w" "Mein Klon/build/Mosaikschauer.ini")" = "$vorher" ] || fail "Ordner über dem Quelltext verändert"
echo ok
