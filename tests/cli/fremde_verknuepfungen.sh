#!/usr/bin/env bash
# Symbolic links another user made lead the unattended run nowhere: not to a
# picture or text file that only root may read, not into a folder of root's
# as an output folder, not to a settings file on the way through a folder
# link. Such links are made by nobody (CI runs as root); the user's own
# links, root's and nobody's, keep working.
source "$(dirname "$0")/hilfen.bash"
bin=$1
daten=$2
[ "$(id -u)" -eq 0 ] || { echo "ok: nur als root (Verknüpfungen anderer Benutzer)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
chmod 755 "$tmp"
mkdir -p "$tmp/programm"
cp "$bin" "$tmp/programm/mosaikschauer"
prog="$tmp/programm/mosaikschauer"
grund="ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat."

# Root's private things: a picture and a text in a folder only root may enter.
r="$tmp/R"
mkdir -p "$r"
cp "$daten/captions/urlaub.jpg" "$r/privat.jpg"
printf 'GEHEIM-ROOT\r\n' > "$r/geheim.txt"
chmod 600 "$r"/*
chmod 700 "$r"
einstellungen() {  # picture folder, reduction, further lines
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=%s\r\n%b' "$1" "$2" "${3:-}" > "$tmp/lauf.ini"
}

# (a) Pictures and text files: in a shared folder with the sticky bit and
# reduction, and in a group folder (no kernel protection) with thumbnails
# alone. Root's own link and nobody's link to nobody's picture are taken.
for fall in "1777 1" "2775 0"; do
  set -- $fall
  p="$tmp/P$1"
  mkdir -p "$p/sub"
  chgrp nogroup "$p"
  chmod "$1" "$p"
  chmod 1777 "$p/sub"
  cp "$daten/captions/urlaub.jpg" "$p/a.jpg"
  cp "$daten/captions/urlaub.jpg" "$p/sub/b.jpg"
  ln -s "$r/privat.jpg" "$p/eigen.jpg"
  "${nobody[@]}" cp "$daten/captions/urlaub.jpg" "$p/von-nobody.dat"
  "${nobody[@]}" ln -s "$p/von-nobody.dat" "$p/n.jpg"
  "${nobody[@]}" ln -s "$r/privat.jpg" "$p/x.jpg"
  for t in sub/dirinfo.txt sub/dirname.txt a.txt; do "${nobody[@]}" ln -s "$r/geheim.txt" "$p/$t"; done
  einstellungen "$p" "$2" '[ExtraTexte]\r\nMitDirinfo=1\r\n[Layout]\r\nTextdateiLink=1\r\n'
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  erwarte 1 "Fremde Verknüpfung zum Bild ($1)" "Fehler beim Einlesen der Datei
$p/x.jpg
Sie $grund"
  for t in sub/dirinfo.txt sub/dirname.txt a.txt; do
    [ "$(grep -cF "$p/$t" "$tmp/err")" -eq 1 ] || fail "Textdatei $t ($1): $(cat "$tmp/err")"
  done
  [ "$(grep -c "^Mosaikschauer Fehler" "$tmp/err")" -eq 4 ] || fail "Meldungen ($1): $(cat "$tmp/err")"
  [ -z "$(find "$p/html" -name '*x.jpg' -o -name '*a.txt')" ] || fail "Veröffentlicht ($1): $(find "$p/html")"
  grep -rq GEHEIM "$p/html" && fail "Geheimer Text in der Galerie ($1)"
  [ -f "$p/html/_vorschau/mini-eigen.jpg" ] && [ -f "$p/html/_vorschau/mini-n.jpg" ] ||
    fail "Eigene Verknüpfungen nicht genommen ($1): $(find "$p/html")"
  [ "$2" -eq 0 ] || [ -f "$p/html/_gross/eigen.jpg" ] || fail "Eigene Verknüpfung nicht verkleinert"
done

# The user's own link, as nobody in a folder of nobody's: taken, status 0.
n="$tmp/nobodyfotos"
mkdir -p "$n"
cp "$daten/captions/urlaub.jpg" "$n/echt.dat"
chown -R nobody:nogroup "$n"
"${nobody[@]}" ln -s "$n/echt.dat" "$n/n.jpg"
cp "$prog" "$n/mosaikschauer"
chown nobody:nogroup "$n/mosaikschauer"
lauf "$n" env HOME="$n" "${nobody[@]}" "$n/mosaikschauer" -autostart
erwarte 0 "Eigene Verknüpfung als nobody"
[ -f "$n/html/_vorschau/mini-n.jpg" ] || fail "Eigene Verknüpfung von nobody nicht genommen: $(find "$n/html")"

# (b) Output folders: nobody's link to root's folder as the large-image
# folder inside nobody's HTML folder, as the HTML folder itself, and as a
# chosen large-image folder. Root's files stay as they are, nothing is made.
cp "$daten/captions/urlaub.jpg" "$r/a.jpg"
printf 'ROOT-START\r\n' > "$r/index.htm"
summe() { (cd "$r" && stat -c '%n %a %s %y' . * && md5sum *); }
vorher=$(summe)
for fall in html/_gross html gross; do
  p="$tmp/B-${fall//\//-}"
  mkdir -p "$p"
  chmod 1777 "$p"
  cp "$daten/captions/urlaub.jpg" "$p/a.jpg"
  extra='[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n'
  case $fall in
    html/_gross) "${nobody[@]}" mkdir "$p/html" ;;
    gross) extra="GrosseBilderpfad=$p/gross\r\n$extra" ;;
  esac
  "${nobody[@]}" ln -s "$r" "$p/$fall"
  einstellungen "$p" 1 "$extra"
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  erwarte 1 "Ausgabeordner $fall" "Kann nicht im Verzeichnis $p/$fall/ speichern.
$p/$fall $grund
Programmabbruch!"
  [ "$(summe)" = "$vorher" ] || fail "Ordner von root verändert ($fall): $(summe)"
  [ "$(ls "$p")" = "a.jpg
${fall%%/*}" ] || fail "Geschrieben ($fall): $(ls "$p")"
done

# Settings: a settings file on the way through nobody's link to root's
# folder is not read, and the run does not start.
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n' "$tmp/P1777" > "$r/lauf.ini"
g="$tmp/geteilt"
mkdir -p "$g"
chmod 1777 "$g"
"${nobody[@]}" ln -s "$r" "$g/weg"
rm -rf "$tmp/P1777/html"
lauf "$tmp" "$prog" -ini="$g/weg/lauf.ini" -autostart
erwarte 1 "Einstellungsdatei über fremde Verknüpfung" \
  "Die Einstellungsdatei $g/weg/lauf.ini kann nicht gelesen werden!"
grep -qF "$g/weg $grund" "$tmp/err" || fail "Grund fehlt: $(cat "$tmp/err")"
[ -e "$tmp/P1777/html" ] && fail "Lauf trotz fremder Verknüpfung"
echo ok
