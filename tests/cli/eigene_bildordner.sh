#!/usr/bin/env bash
# Large images in a folder of their own (outside the HTML folder) with its
# record of what the run wrote there: a faithful copy of the whole tree
# (cp -a, rsync -a, tar) is proven by the content and nothing is made
# twice; a photo of the user's put over a large image, even of the same
# size and date, is refused by name and stays; the record cannot be turned
# against its owner. Files of other users need root to make (CI runs as
# root); those cases are left out for other users.
source "$(dirname "$0")/hilfen.bash"
mkdir -p "$tmp/programm"
cp "$1" "$tmp/programm/mosaikschauer"
prog="$tmp/programm/mosaikschauer"
chmod 755 "$tmp"

# The settings of the tree $1: its pictures, its own large-image folder
# ($2, default $1/gross); $3 replaces the large images when 1.
einst() {
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=1\r\nGrosseBilderpfad=%s\r\n' \
    "$1/fotos" "${2:-$1/gross}" > "$1.ini"
  printf '[GrosseBilder]\r\nGrosseBilderErsetzen=%s\r\n' "${3:-0}" >> "$1.ini"
}
galerie() { lauf "$tmp" "$prog" -ini="$1.ini" -autostart; }
# Number, size and time of every large image: a picture made again shows.
stand() { (cd "$1" && find . -name '*.jpg' -printf '%p %i %s %T@\n' | sort); }

g="$tmp/g"
mkdir -p "$g/fotos/sub"
cp "$2/captions/urlaub.jpg" "$g/fotos/a.jpg"
cp "$2/captions/nurexif.jpg" "$g/fotos/b.jpg"
cp "$2/captions/nurkommentar.jpg" "$g/fotos/sub/c.jpg"
einst "$g"
galerie "$g"
erwarte 0 "Erster Lauf"
[ -f "$g/gross/a.jpg" ] && [ -f "$g/gross/sub/c.jpg" ] && [ -f "$g/gross/.mosaikschauer-bilder" ] ||
  fail "Große Bilder oder Liste fehlen: $(ls -R "$g/gross")"
vorher=$(stand "$g/gross")
galerie "$g"
erwarte 0 "Zweiter Lauf"
[ "$(stand "$g/gross")" = "$vorher" ] || fail "Zweiter Lauf hat große Bilder neu gemacht"

# Copies of the whole tree, as a backup restored or a move to a new disk
# makes them: new file numbers and change times, the same content.
buch=$(cat "$g/gross/.mosaikschauer-bilder")
kopie() {
  case $1 in
    cp) cp -a "$g" "$tmp/k-cp" ;;
    rsync) rsync -a "$g/" "$tmp/k-rsync/" ;;
    tar) mkdir "$tmp/k-tar" && tar -C "$g" -cf - . | tar -C "$tmp/k-tar" -xpf - ;;
    # A snapshot of hard links: the record has two names and is never
    # written through.
    cpl) cp -al "$g" "$tmp/k-cpl" ;;
  esac
}
for art in cp rsync tar cpl; do
  k="$tmp/k-$art"
  kopie "$art" || fail "Kopie mit $art"
  einst "$k"
  vorher=$(stand "$k/gross")
  for n in 1 2; do
    galerie "$k"
    erwarte 0 "Kopie mit $art, Lauf $n"
    [ "$(stand "$k/gross")" = "$vorher" ] || fail "Kopie mit $art, Lauf $n: große Bilder neu gemacht"
  done
  # Proven once, the copy's record speaks for its files as they are now.
  grep -q "^$(stat -c '%i %s' "$k/gross/a.jpg") " "$k/gross/.mosaikschauer-bilder" ||
    fail "Kopie mit $art: Liste nicht nachgeführt"
done
[ "$(stat -c %h "$g/gross/.mosaikschauer-bilder")" -eq 1 ] && cmp -s "$g/gross/.mosaikschauer-bilder" - <<< "$buch" ||
  fail "Liste des Originals durch die Kopie mit festen Verknüpfungen geändert"

# A gallery whose records an earlier version wrote (number, size and time,
# no digest): a copy cannot be proven and the refusal says why and what to
# do; in its own place it reruns and its records take on the digests.
a="$tmp/alt"
cp -a "$g" "$a"
einst "$a"
galerie "$a"
erwarte 0 "Vorlage der alten Galerie"
for d in "$a/gross" "$a/gross/sub"; do
  { head -n 1 "$d/.mosaikschauer-bilder"
    for f in "$d"/*.jpg; do echo "$(stat -c '%i %s %.9Y' "$f" | tr . ' ') $(basename "$f")"; done; } > "$tmp/liste"
  cp "$tmp/liste" "$d/.mosaikschauer-bilder"
done
cp -a "$a" "$tmp/alt-kopie"
einst "$tmp/alt-kopie"
galerie "$tmp/alt-kopie"
erwarte 1 "Kopie einer alten Galerie" "Die Liste der erzeugten Bilder $tmp/alt-kopie/gross/.mosaikschauer-bilder stammt von einer älteren Version von Mosaikschauer: Sie belegt nur Dateien, die seither nicht kopiert wurden. Ist der Ordner eine Kopie, leeren Sie ihn einmal; der nächste Lauf erzeugt die Bilder neu."
vorher=$(stand "$a/gross")
galerie "$a"
erwarte 0 "Alte Galerie an ihrem Ort"
[ "$(stand "$a/gross")" = "$vorher" ] && grep -q " sha256:" "$a/gross/sub/.mosaikschauer-bilder" ||
  fail "Alte Galerie an ihrem Ort neu gemacht oder Liste nicht nachgeführt"


# A photo of the user's of the same size over a large image, written into
# it and dated back to the nanosecond (cat, touch -r), or put in its place
# with its own date (rsync -a): refused before anything is written, by
# name, with the way out; the photo stays.
gross=$(stat -c %s "$g/gross/a.jpg")
cp "$2/captions/nurexif.jpg" "$tmp/foto.jpg"
[ "$(stat -c %s "$tmp/foto.jpg")" -lt "$gross" ] || fail "Testfoto zu groß"
truncate -s "$gross" "$tmp/foto.jpg"
einst "$g" "" 1
for weg in cat rsync; do
  touch -r "$g/gross/a.jpg" "$tmp/zeit"
  case $weg in
    cat) cat "$tmp/foto.jpg" > "$g/gross/a.jpg" && touch -r "$tmp/zeit" "$g/gross/a.jpg" ;;
    rsync) rsync -a "$tmp/foto.jpg" "$g/gross/a.jpg" ;;
  esac
  vorher=$(stand "$g/gross")
  galerie "$g"
  erwarte 1 "Foto über großem Bild ($weg)" "Der Ordner für die großen Bilder $g/gross/ enthält Originalbilder."
  grep -qF "Die Datei $g/gross/a.jpg wurde nicht von Mosaikschauer erzeugt oder seither verändert." "$tmp/err" &&
    grep -qF "Verschieben Sie die Datei aus dem Ordner, oder leeren Sie den Ordner für einen Neuanfang." "$tmp/err" ||
    fail "Foto über großem Bild ($weg): Datei oder Ausweg nicht genannt: $(cat "$tmp/err")"
  cmp -s "$tmp/foto.jpg" "$g/gross/a.jpg" && [ "$(stand "$g/gross")" = "$vorher" ] ||
    fail "Foto über großem Bild ($weg) verändert"
done

# A record too large to be read counts for nothing, and says why.
einst "$tmp/k-cp"
truncate -s 1T "$tmp/k-cp/gross/.mosaikschauer-bilder"
galerie "$tmp/k-cp"
erwarte 1 "Riesige Liste" "$tmp/k-cp/gross/.mosaikschauer-bilder zählt nicht: Sie ist mit 1099511627776 Bytes zu groß"

[ "$(id -u)" -eq 0 ] || { echo "ok (ohne die Fälle mit Dateien anderer Benutzer: nur als root)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# In root's shared folder another user's link as the record: root's run
# writes a record of its own, 0644, not through the link; what that user
# would add to it is refused, and root's photo there stays.
s="$tmp/s"
mkdir -p "$s/fotos" "$s/G"
chmod 1777 "$s/G"
cp "$2/captions/urlaub.jpg" "$s/fotos/a.jpg"
"${nobody[@]}" ln -s /dev/null "$s/G/.mosaikschauer-bilder"
einst "$s" "$s/G" 1
galerie "$s"
erwarte 0 "Fremde Verknüpfung als Liste"
b="$s/G/.mosaikschauer-bilder"
[ -f "$b" ] && [ ! -L "$b" ] && [ "$(stat -c '%a %U' "$b")" = "644 root" ] ||
  fail "Liste: $(stat -c '%F %a %U' "$b")"
[ -c /dev/null ] && [ "$(stat -c %a /dev/null)" = 666 ] || fail "/dev/null verändert"
cp "$2/captions/nurkommentar.jpg" "$s/G/c.jpg"
cp "$2/captions/urlaub.jpg" "$s/fotos/c.jpg"
"${nobody[@]}" sh -c "echo \"\$(stat -c '%i %s %.9Y' '$s/G/c.jpg' | tr . ' ') c.jpg\" >> '$b'" 2> /dev/null &&
  fail "Fremder Benutzer kann die Liste fortschreiben"
galerie "$s"
erwarte 1 "Foto von root im geteilten Ordner" "Die Datei $s/G/c.jpg wurde nicht von Mosaikschauer erzeugt"
cmp -s "$2/captions/nurkommentar.jpg" "$s/G/c.jpg" || fail "Foto von root verändert"

# Another user's record of 1 TiB there before root's first run: no crash,
# replaced by root's own.
rm -f "$s/G/c.jpg" "$s/G/a.jpg" "$s/fotos/c.jpg" "$b"
"${nobody[@]}" truncate -s 1T "$b"
galerie "$s"
erwarte 0 "Fremde riesige Liste"
[ "$(stat -c %U "$b")" = root ] && [ "$(stat -c %s "$b")" -lt 100000 ] || fail "Riesige Liste nicht ersetzt: $(stat -c '%s %U' "$b")"
echo ok
