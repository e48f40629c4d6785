#!/usr/bin/env bash
# Symbolic links another user made lead the unattended run nowhere: not to a
# picture or text that only root may read, not into root's folder as an
# output folder. Such links are made by nobody (CI runs as root) in a group
# folder, where the kernel protects nothing; root's own links and nobody's
# link to nobody's own file keep working.
source "$(dirname "$0")/hilfen.bash"
bin=$1
daten=$2
[ "$(id -u)" -eq 0 ] || { echo "ok: nur als root (Verknüpfungen anderer Benutzer)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
chmod 755 "$tmp"
prog="$tmp/mosaikschauer"
cp "$bin" "$prog"
grund="ist eine symbolische Verknüpfung, die ein anderer Benutzer angelegt hat."
bild="$daten/captions/urlaub.jpg"
r="$tmp/R"
mkdir -m 700 "$r"
cp "$bild" "$r/privat.jpg"
printf 'GEHEIM-ROOT\r\n' > "$r/geheim.txt"
chmod 600 "$r"/*
einstellungen() {  # picture folder, further lines
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=1\r\n%b' "$1" "$2" > "$tmp/lauf.ini"
}

# Pictures, folder texts and a picture's companion text.
p="$tmp/P"
mkdir -p "$p/sub"
chgrp nogroup "$p" "$p/sub"
chmod 2775 "$p" "$p/sub"
cp "$bild" "$p/a.jpg"
cp "$bild" "$p/sub/b.jpg"
ln -s "$r/privat.jpg" "$p/eigen.jpg"
"${nobody[@]}" cp "$bild" "$p/von-nobody.dat"
"${nobody[@]}" ln -s "$p/von-nobody.dat" "$p/n.jpg"
"${nobody[@]}" ln -s "$r/privat.jpg" "$p/x.jpg"
texte="sub/dirinfo.txt sub/dirname.txt a.txt"
for t in $texte; do "${nobody[@]}" ln -s "$r/geheim.txt" "$p/$t"; done
einstellungen "$p" '[ExtraTexte]\r\nMitDirinfo=1\r\n[Layout]\r\nTextdateiLink=1\r\n'
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
erwarte 1 "Fremde Verknüpfung zum Bild" "Fehler beim Einlesen der Datei
$p/x.jpg
Sie $grund"
for t in $texte; do grep -qF "$p/$t" "$tmp/err" || fail "Textdatei $t: $(cat "$tmp/err")"; done
[ -z "$(find "$p/html" -name '*x.jpg' -o -name '*a.txt')" ] || fail "Veröffentlicht: $(find "$p/html")"
grep -rq GEHEIM "$p/html" && fail "Geheimer Text in der Galerie"
[ -f "$p/html/_gross/eigen.jpg" ] && [ -f "$p/html/_vorschau/mini-n.jpg" ] ||
  fail "Eigene Verknüpfungen nicht genommen: $(find "$p/html")"

# Output folders: nobody's link to root's folder as the large-image folder
# inside nobody's HTML folder, as the HTML folder, as a chosen large-image
# folder. Stopped before anything is made; root's files stay as they are.
cp "$bild" "$r/a.jpg"
summe() { (cd "$r" && stat -c '%n %a %s %y' . * && md5sum *); }
vorher=$(summe)
for fall in html/_gross html gross; do
  p="$tmp/B-${fall//\//-}"
  mkdir -m 1777 "$p"
  cp "$bild" "$p/a.jpg"
  extra='[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n'
  [ "$fall" = gross ] && extra="GrosseBilderpfad=$p/gross\r\n$extra"
  [ "$fall" = html/_gross ] && "${nobody[@]}" mkdir "$p/html"
  "${nobody[@]}" ln -s "$r" "$p/$fall"
  einstellungen "$p" "$extra"
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  erwarte 1 "Ausgabeordner $fall" "Kann nicht im Verzeichnis $p/$fall/ speichern.
$p/$fall $grund
Programmabbruch!"
  [ "$(summe)" = "$vorher" ] || fail "Ordner von root verändert ($fall): $(summe)"
  [ "$(ls "$p")" = "a.jpg
${fall%%/*}" ] || fail "Geschrieben ($fall): $(ls "$p")"
done
echo ok
