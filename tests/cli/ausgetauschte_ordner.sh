#!/usr/bin/env bash
# Every write of a run lands in the folders it checked at its start: a link
# to a folder inside an output folder stops the run before anything is
# written, and a folder another user swaps for a link during root's run
# sends nothing into root's folder.
source "$(dirname "$0")/hilfen.bash"
bin=$1
chmod 755 "$tmp"
prog="$tmp/mosaikschauer"
cp "$bin" "$prog"
# A JPEG of noise, width x height: slow enough to decode that a run is still
# at work when the other user swaps.
bild() {
  local b=${2%x*} h=${2#*x}
  { printf 'P6\n%d %d\n255\n' "$b" "$h"; head -c $((b * h * 3)) /dev/urandom; } | cjpeg -quality 85 > "$1"
}
einstellungen() {  # picture folder, further lines
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n%b[Programm]\r\nEinstAutoSpeichern=0\r\n' "$1" "$2" > "$tmp/lauf.ini"
}
# Name, size and time of everything below a folder.
stand() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }

# A user's own link to a folder inside a folder for derived pictures: in an
# own large-image folder (to a folder of the user's, to the picture folder
# itself), an own thumbnail folder and the standard large-image folder.
weiche() { printf 'Der Ordner %s enthält die symbolische Verknüpfung %s, die zu einem Ordner führt.' "$1" "$2"; }
for fall in eigen bilder vorschau standard; do
  w="$tmp/$fall"
  p="$w/P"
  mkdir -p "$p/sub" "$w/Archiv" "$w/O" "$w/T"
  bild "$p/a.jpg" 800x600
  bild "$p/sub/c.jpg" 800x600
  bild "$w/Archiv/c.jpg" 1000x750
  case $fall in
    eigen) ln -s ../Archiv "$w/O/sub"; ordner="$w/O/"
      extra='OriginaleVerkleinern=1\r\nGrosseBilderpfad='"$w/O"'\r\n[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n' ;;
    bilder) ln -s ../P/sub "$w/O/sub"; ordner="$w/O/"
      extra='OriginaleVerkleinern=1\r\nGrosseBilderpfad='"$w/O"'\r\n' ;;
    vorschau) ln -s ../Archiv "$w/T/sub"; ordner="$w/T/"
      extra='Vorschaubilderpfad='"$w/T"'\r\n[Vorschaubilder]\r\nVorschauErsetzen=1\r\nVorschaunameErweiterung=""\r\n' ;;
    standard) mkdir -p "$p/html/_gross"; ln -s ../../../Archiv "$p/html/_gross/sub"; ordner="$p/html/_gross/"
      extra='OriginaleVerkleinern=1\r\n[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n' ;;
  esac
  vorher=$(stand "$w")
  einstellungen "$p" "$extra"
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  erwarte 1 "Verknüpfung im Ausgabeordner ($fall)" "$(weiche "$ordner" "${ordner}sub")"
  grep -qx "Programmabbruch!" "$tmp/err" || fail "$fall: ohne Programmabbruch: $(cat "$tmp/err")"
  [ "$(stand "$w")" = "$vorher" ] || fail "$fall: geschrieben: $(diff <(echo "$vorher") <(stand "$w"))"
done

# The standard large-image folder a link of the user's to another disk: a
# run with reduction off for once leaves it as it is.
p="$tmp/disk/P"
mkdir -p "$p/sub" "$p/html" "$tmp/disk/gross"
bild "$p/sub/c.jpg" 800x600
ln -s ../../gross "$p/html/_gross"
einstellungen "$p" 'OriginaleVerkleinern=0\r\n'
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
erwarte 0 "Eigene Verknüpfung als Ordner der großen Bilder, Verkleinern aus"
[ -z "$(ls -A "$tmp/disk/gross")" ] || fail "In den Ordner der großen Bilder geschrieben: $(ls -A "$tmp/disk/gross")"

# A link that leads nowhere where the run makes a folder: named once, as
# the run's end, not also as a folder that cannot be made.
p="$tmp/tot/P"
mkdir -p "$p/sub" "$p/html"
bild "$p/sub/c.jpg" 800x600
ln -s ../../fehlt "$p/html/sub"
einstellungen "$p" ''
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
erwarte 1 "Verknüpfung ins Leere" "$p/html/sub ist eine symbolische Verknüpfung, wo ein Ordner war oder sein soll"
[ "$(grep -c 'Mosaikschauer Fehler' "$tmp/err")" -eq 1 ] || fail "Verknüpfung ins Leere mehrfach gemeldet: $(cat "$tmp/err")"
[ ! -e "$tmp/tot/fehlt" ] || fail "Durch die Verknüpfung ins Leere geschrieben"

# A link to a folder in the picture folder is never followed: the folder it
# leads to is named as missing from the gallery, once (status 1); hidden
# links and the user's own link as the HTML folder are no folders of the
# gallery and pass without a word.
p="$tmp/links/P"
mkdir -p "$p/sub" "$tmp/links/anderswo" "$tmp/links/web"
bild "$p/a.jpg" 160x120
bild "$p/sub/b.jpg" 160x120
bild "$tmp/links/anderswo/c.jpg" 160x120
ln -s ../anderswo "$p/dort"
ln -s ../anderswo "$p/.versteckt"
ln -s ../web "$p/html"
for verkleinern in 0 1; do
  einstellungen "$p" "OriginaleVerkleinern=$verkleinern\r\n"
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  erwarte 1 "Verknüpfung im Bilderordner (verkleinern=$verkleinern)" \
    "Der Ordner $p/dort fehlt in der Galerie: Er ist eine symbolische Verknüpfung, und Verknüpfungen zu Ordnern folgt Mosaikschauer nicht."
  [ "$(grep -c 'Mosaikschauer Fehler' "$tmp/err")" -eq 1 ] || fail "Verknüpfung im Bilderordner: $(cat "$tmp/err")"
  [ -d "$tmp/links/web/_vorschau/sub" ] && [ ! -e "$tmp/links/web/_vorschau/dort" ] || fail "Galerie: $(ls -R "$tmp/links/web")"
done

[ "$(id -u)" -eq 0 ] || { echo "ok (ausgetauschte Ordner nur als root: ein anderer Benutzer tauscht sie aus)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# nobody's picture folder, root's private folder R; nobody swaps a folder
# for a link to R once, when a trigger file appears.
tausch() {  # trigger file, commands
  # A run that never makes the trigger file must not leave the test waiting.
  "${nobody[@]}" timeout 60 bash -c "until [ -e '$1' ]; do sleep 0.001; done; $2" &
  wache=$!
}
r="$tmp/R"
mkdir -m 700 "$r" "$r/Mein Ordner"
bild "$r/Foto 1.JPG" 640x480
cp "$r/Foto 1.JPG" "$r/p020.jpg"
cp "$r/Foto 1.JPG" "$r/Mein Ordner/x.jpg"
rvorher=$(stand "$r")

# The HTML folder swapped for one whose large-image folder leads to R,
# while walk 1 writes the large images.
p="$tmp/A/P"
mkdir -p "$p"
bild "$p/p001.jpg" 1600x1200
for i in $(seq -w 2 40); do cp "$p/p001.jpg" "$p/p0$i.jpg"; done
chown -R nobody:nogroup "$tmp/A"
"${nobody[@]}" bash -c "mkdir '$p/.x' && ln -s '$r' '$p/.x/_gross'"
einstellungen "$p" 'OriginaleVerkleinern=1\r\n[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n'
tausch "$p/html/_gross/p002.jpg" "cd '$p' && mv html html.alt && ln -s .x html"
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
wait $wache
erwarte 1 "HTML-Ordner ausgetauscht" "Der Ordner $p/html/_gross/ ist nicht mehr der, den Mosaikschauer zu Beginn geprüft hat: Er wurde während des Laufs ausgetauscht.
Programmabbruch!"
[ "$(stand "$r")" = "$rvorher" ] || fail "R verändert (HTML-Ordner): $(ls -l "$r")"
[ -z "$(find "$tmp/A" -user root ! -path "$p/html.alt*" ! -path "$p/.x" ! -path "$p/index.html")" ] ||
  fail "Außerhalb der geprüften Ordner geschrieben: $(find "$tmp/A" -user root)"

# The HTML folder swapped while walk 2 makes the thumbnail folders of 40
# subfolders: the swap is named once, as the run's only end.
p="$tmp/C/P"
mkdir -p "$p"
bild "$p/a.jpg" 160x120
for i in $(seq -w 1 40); do mkdir "$p/s$i"; cp "$p/a.jpg" "$p/s$i/b.jpg"; done
chown -R nobody:nogroup "$tmp/C"
einstellungen "$p" 'OriginaleVerkleinern=0\r\n'
tausch "$p/html/_vorschau/s02" "cd '$p' && mv html html.alt && mkdir html"
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
wait $wache
erwarte 1 "HTML-Ordner beim Anlegen der Unterordner ausgetauscht" "Er wurde während des Laufs ausgetauscht."
[ "$(grep -c '^Programmabbruch!' "$tmp/err")" -eq 1 ] || fail "Abbruch mehrfach gemeldet: $(cat "$tmp/err")"

# A subfolder of the picture folder swapped for a link to R while walk 2
# renames the pictures beside it.
p="$tmp/B/P"
mkdir -p "$p/sub"
bild "$p/IMG 001.JPG" 320x240
for i in $(seq -w 2 300); do cp "$p/IMG 001.JPG" "$p/IMG $i.JPG"; done
cp "$p/IMG 001.JPG" "$p/sub/s.jpg"
chown -R nobody:nogroup "$tmp/B"
einstellungen "$p" ''
tausch "$p/img_002.jpg" "cd '$p' && mv sub sub.alt && ln -s '$r' sub"
lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
wait $wache
# The walk meets the link, or (on a loaded machine) the moment between the
# two steps of the swap, when the folder is gone: named either way.
erwarte 1 "Unterordner ausgetauscht"
grep -qF -e "$p/sub ist eine symbolische Verknüpfung, wo ein Ordner war oder sein soll" \
  -e "Der Ordner $p/sub ist nicht mehr da: Er wurde während des Laufs umbenannt oder entfernt" "$tmp/err" ||
  fail "Unterordner ausgetauscht: Meldung fehlt: $(cat "$tmp/err")"
[ "$(stand "$r")" = "$rvorher" ] || fail "R verändert (Unterordner): $(find "$r")"
# (Names of R's files; the pages' own title is "Meine Fotos".)
grep -rlE "Foto 1|foto_1|p020|mein_ordner|Mein Ordner" "$p/html" --include='*.htm' && fail "Namen aus R in der Galerie"

# A subfolder swapped for a link before walk 2 lists it (while it makes the
# thumbnails of the folder above), or for an empty folder of nobody's after
# walk 1 listed it with its pictures (while it makes the large images
# beside it): named as missing from the gallery, never left out without a
# word.
for fall in link leer; do
  p="$tmp/D-$fall/P"
  mkdir -p "$p/x/sub"
  bild "$p/p001.jpg" 1600x1200
  for i in $(seq -w 2 20); do cp "$p/p001.jpg" "$p/p0$i.jpg"; done
  cp "$p/p001.jpg" "$p/x/sub/s.jpg"
  cp "$p/p001.jpg" "$p/x/y.jpg"
  chown -R nobody:nogroup "$tmp/D-$fall"
  case $fall in
    link) einstellungen "$p" ''
      tausch "$p/html/_vorschau/mini-p002.jpg" "cd '$p/x' && mv sub sub.alt && ln -s '$r' sub"
      meldung="Der Ordner $p/x/sub fehlt in der Galerie: Er ist eine symbolische Verknüpfung" ;;
    leer) einstellungen "$p" 'OriginaleVerkleinern=1\r\n'
      tausch "$p/html/_gross/p002.jpg" "cd '$p' && mv x x.alt && mkdir x"
      meldung="Der Ordner $p/x/ enthält keine Bilder mehr: Er wurde während des Laufs ausgetauscht oder geleert und fehlt in der Galerie." ;;
  esac
  lauf "$tmp" "$prog" -ini="$tmp/lauf.ini" -autostart
  wait $wache
  erwarte 1 "Unterordner vor dem Lesen ausgetauscht ($fall)" "$meldung"
  [ "$(stand "$r")" = "$rvorher" ] || fail "R verändert ($fall): $(find "$r")"
done
echo ok
