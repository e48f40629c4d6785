#!/usr/bin/env bash
# The unattended run without a display: no window, messages on stderr, exit
# status 0 after success and 1 after a failure or any error message, never
# waiting for input.
source "$(dirname "$0")/hilfen.bash"
# A copy of its own: the program keeps its settings file beside itself.
mkdir -p "$tmp/programm"
cp "$1" "$tmp/programm/mosaikschauer"
prog="$tmp/programm/mosaikschauer"
# An ordinary user for the cases that depend on permissions (CI runs as root).
nobody=()
[ "$(id -u)" -eq 0 ] && nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

mkdir -p "$tmp/fotos"
lauf "$tmp/fotos" "$prog" -autostart
erwarte 0 "Erfolgreicher Lauf"
[ -d "$tmp/fotos/html" ] || fail "HTML-Ordner fehlt"

# A second run overwrites without asking.
touch "$tmp/fotos/html/index.htm"
lauf "$tmp/fotos" "$prog" -AUTOSTART
erwarte 0 "Zweiter Lauf"
grep -q "existiert bereits" "$tmp/err" && fail "Unbeaufsichtigter Lauf hat gefragt"

# Closing saved the settings beside the program, with the picture folder.
grep -q "^Ordner=$tmp/fotos" "$tmp/programm/Mosaikschauer.ini" || fail "Einstellungen nicht gespeichert"
rm "$tmp/programm/Mosaikschauer.ini"

# An HTML folder that cannot be created: the message on stderr, status 1.
mkdir -p "$tmp/block"
touch "$tmp/block/html"
lauf "$tmp/block" "$prog" /autostart
erwarte 1 "HTML-Ordner nicht anlegbar" "Kann das Verzeichnis $tmp/block/html/ nicht erstellen!"
grep -q "Programmabbruch!" "$tmp/err" || fail "Programmabbruch fehlt"

# The standard file chooses the personal location. Without a home (an account
# the user database does not know) it is refused, never a shared folder; with
# HOME unset the user database names the home, and a relative XDG_CONFIG_HOME
# is ignored.
mkdir -p "$tmp/fremd/programm" "$tmp/fremd/fotos"
cp "$1" "$tmp/fremd/programm/mosaikschauer"
printf '[Programm]\r\nEinstImAppOrdner=1\r\n' > "$tmp/fremd/programm/Mosaikschauer.ini"
chmod -R a+rwX "$tmp/fremd" && chmod a+x "$tmp"
touch "$tmp/marke"
als() { (cd "$tmp/fremd/fotos" && env -i PATH="$PATH" XDG_CONFIG_HOME=conf setpriv --reuid="$1" --regid="$1" \
  --clear-groups timeout 60 "$tmp/fremd/programm/mosaikschauer" -autostart < /dev/null 2> "$tmp/err"); }
als 54321
grep -q "Es gibt keinen persönlichen Anwendungsordner" "$tmp/err" || fail "Ohne Heimordner: $(cat "$tmp/err")"
[ -z "$(find /tmp/Mosaikschauer -newer "$tmp/marke" 2>/dev/null)" ] || fail "Einstellungen in /tmp"
als "$(id -u nobody)"
grep -q "Die Datei $(getent passwd nobody | cut -d: -f6)/.config/Mosaikschauer/Mosaikschauer.ini mit den" "$tmp/err" ||
  fail "Heimordner nicht aus der Benutzerdatenbank: $(cat "$tmp/err")"

# A picture that cannot be read costs only itself: the message, status 1,
# and neither a page nor a link nor a thumbnail for it.
rm -f "$tmp/programm/Mosaikschauer.ini"
mkdir -p "$tmp/kaputt"
cp "$2/captions/urlaub.jpg" "$tmp/kaputt/a.jpg"
cp "$2/captions/urlaub.jpg" "$tmp/kaputt/c.jpg"
echo "kein Bild" > "$tmp/kaputt/b.jpg"
lauf "$tmp/kaputt" "$prog" -autostart
erwarte 1 "Lesefehler" "Fehler beim Einlesen der Datei"
grep -rq "bjpg\|b\.jpg" "$tmp/kaputt/html" && fail "Verweis auf das unlesbare Bild"
[ -f "$tmp/kaputt/html/_vorschau/mini-a.jpg" ] && [ -f "$tmp/kaputt/html/_vorschau/mini-c.jpg" ] ||
  fail "Vorschaubilder fehlen"
# An offscreen platform is no display, also beside a display it hides: the
# same run ends the same way instead of waiting on an error box nobody sees.
for anzeige in "" :99; do
  lauf "$tmp/kaputt" env DISPLAY="$anzeige" QT_QPA_PLATFORM=offscreen "$prog" -autostart
  erwarte 1 "Lesefehler auf offscreen ($anzeige)" "Fehler beim Einlesen der Datei"
done

# Relative folders of a settings file count from where the run was started,
# however often the picture folder has been the working folder since.
mkdir -p "$tmp/oben/fotos"
cp "$2/captions/urlaub.jpg" "$tmp/oben/fotos/a.jpg"
printf '[OrdnerUndDateien]\r\nOrdner=fotos\r\n' > "$tmp/oben/rel.ini"
lauf "$tmp/oben" "$prog" -ini=rel.ini -autostart
erwarte 0 "Relativer Bilderordner"
[ -e "$tmp/oben/fotos/fotos" ] && fail "Relativer Bilderordner doppelt genommen"
grep -q "mini-a.jpg" "$tmp/oben/fotos/html/index.htm" || fail "Galerie des relativen Bilderordners leer"

# A program folder that takes no settings file, or a settings file there that
# cannot be written, while saving is wanted: the run says so with the reason
# and ends with status 1.
for fall in "ordner|Programmeinstellungen kann nicht gespeichert werden (keine Berechtigung)!" \
  "datei|Sie ist schreibgeschützt."; do
  rm -f "$tmp/programm/Mosaikschauer.ini"
  if [ "${fall%%|*}" = ordner ]; then chmod 555 "$tmp/programm"; else
    printf '[Layout]\r\nTitel=x\r\n' > "$tmp/programm/Mosaikschauer.ini"
    chmod 444 "$tmp/programm/Mosaikschauer.ini"
  fi
  lauf "$tmp/fotos" "$prog" -autostart
  chmod 755 "$tmp/programm"
  erwarte 1 "Nicht speicherbare Einstellungen (${fall%%|*})" "Die Datei $tmp/programm/Mosaikschauer.ini mit den"
  grep -qF -- "${fall#*|}" "$tmp/err" || fail "Grund fehlt (${fall%%|*}): $(cat "$tmp/err")"
done
rm -f "$tmp/programm/Mosaikschauer.ini"

# A settings file naming a picture folder that does not exist (a typing
# error in a scheduled job): status 1, the message, nothing written, neither
# in the working folder nor the settings.
rm -f "$tmp/programm/Mosaikschauer.ini"
mkdir -p "$tmp/arbeit"
cp "$2/captions/urlaub.jpg" "$tmp/arbeit/Mein Bild.JPG"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n' "$tmp/Bilder-Tippfehler" > "$tmp/tippfehler.ini"
cp "$tmp/tippfehler.ini" "$tmp/tippfehler.vorher"
lauf "$tmp/arbeit" "$prog" -ini="$tmp/tippfehler.ini" -autostart
erwarte 1 "Fehlender Bilderordner" "Der Bilderordner $tmp/Bilder-Tippfehler existiert nicht."
[ "$(ls -A "$tmp/arbeit")" = "Mein Bild.JPG" ] || fail "Im Arbeitsordner geschrieben: $(ls -A "$tmp/arbeit")"
cmp -s "$tmp/tippfehler.ini" "$tmp/tippfehler.vorher" || fail "Einstellungsdatei verändert"
grep -qs "^Ordner=" "$tmp/programm/Mosaikschauer.ini" && fail "Einstellungen gespeichert"

# Pipes and folders named like side files are left out, never waited on,
# without and with reduced originals. A folder whose name file cannot be
# written keeps its name, reported; the run goes on.
r="$tmp/rohre"
mkdir -p "$r/fotos/Sub" "$r/fotos/Zwei/dirname.txt"
cp "$2/captions/urlaub.jpg" "$r/fotos/a.jpg"
cp "$2/captions/urlaub.jpg" "$r/fotos/Sub/b.jpg"
cp "$2/captions/urlaub.jpg" "$r/fotos/Zwei/c.jpg"
mkfifo "$r/fotos/a.txt" "$r/fotos/dirinfo.txt" "$r/fotos/Sub/dirname.txt" "$r/fotos/Sub/dirinfo.txt"
for verkleinern in 0 1; do
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=%s\r\n[Layout]\r\nTextdateiLink=1\r\n' \
    "$r/fotos" "$verkleinern" > "$r/einst.ini"
  lauf "$r" "$prog" -ini="$r/einst.ini" -autostart
  erwarte $((1 - verkleinern)) "Rohre, verkleinert=$verkleinern"
  grep -q "Programmabbruch" "$tmp/err" && fail "Lauf abgebrochen: $(cat "$tmp/err")"
  [ -f "$r/fotos/html/index.htm" ] || fail "Startseite fehlt ($verkleinern)"
done
[ -f "$r/fotos/html/Sub/index.htm" ] && [ -f "$r/fotos/html/sub/index.htm" ] || fail "Seiten der Unterordner fehlen"
[ -p "$r/fotos/a.txt" ] && [ -p "$r/fotos/Sub/dirname.txt" ] && [ -d "$r/fotos/Zwei/dirname.txt" ] ||
  fail "Rohr oder Ordner verändert"

# The gallery into the picture folder itself: a folder of the user's own
# pictures is refused as the folder for large images, before anything is
# written, also after a run with the standard output folders, which keeps
# working on every rerun.
rm -f "$tmp/programm/Mosaikschauer.ini"
gb="$tmp/galerie/L"
mkdir -p "$gb/Sub"
cp "$2/captions/urlaub.jpg" "$gb/a.jpg"
cp "$2/captions/urlaub.jpg" "$gb/b.jpg"
cp "$2/captions/nurexif.jpg" "$gb/Sub/a.jpg"
cp "$2/captions/nurkommentar.jpg" "$gb/Sub/c.jpg"
einst() {
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nHTMLPfad=%s\r\nOriginaleVerkleinern=1\r\nGrosseBilderpfad=%s\r\n' \
    "$gb" "$1" "$2" > "$tmp/galerie/einst.ini"
  printf '[GrosseBilder]\r\nGrosseBilderErsetzen=1\r\n' >> "$tmp/galerie/einst.ini"
}
summen() { (cd "$gb" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
for html in "$gb" "$gb/Sub"; do
  einst "$html" "$gb/Sub"
  vorher=$(summen)
  lauf "$tmp/galerie" "$prog" -ini="$tmp/galerie/einst.ini" -autostart
  erwarte 1 "Große Bilder über eigenen Bildern ($html)" "Der Ordner für die großen Bilder $gb/Sub/ enthält Originalbilder."
  [ "$(summen)" = "$vorher" ] || fail "Trotz Abbruch geschrieben ($html)"
done
einst "$gb" ""
for n in 1 2; do
  lauf "$tmp/galerie" "$prog" -ini="$tmp/galerie/einst.ini" -autostart
  erwarte 0 "Galerie im Bilderordner, Lauf $n"
done
rm "$gb/b.jpg"
lauf "$tmp/galerie" "$prog" -ini="$tmp/galerie/einst.ini" -autostart
erwarte 0 "Galerie im Bilderordner nach gelöschtem Original"
einst "$gb" "$gb/Sub"
vorher=$(summen)
lauf "$tmp/galerie" "$prog" -ini="$tmp/galerie/einst.ini" -autostart
erwarte 1 "Zweiter Lauf über eigenen Bildern" "Der Ordner für die großen Bilder $gb/Sub/ enthält Originalbilder."
[ "$(summen)" = "$vorher" ] || fail "Zweiter Lauf hat geschrieben"

# A name affix of a hand-edited settings file leads nowhere outside the
# folder of the large images: no original of another folder is replaced.
rm -f "$tmp/programm/Mosaikschauer.ini"
nb="$tmp/affix/fotos"
mkdir -p "$nb/A" "$nb/B"
cp "$2/captions/urlaub.jpg" "$nb/A/img.jpg"
cp "$2/captions/nurexif.jpg" "$nb/B/img.jpg"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nUnterverzeichnisse=1\r\nOriginaleVerkleinern=1\r\n' "$nb" > "$tmp/affix/einst.ini"
printf '[GrosseBilder]\r\nErweiterung=../../../A/\r\nErweiterungVorne=1\r\nGrosseBilderErsetzen=1\r\n' \
  >> "$tmp/affix/einst.ini"
vorher=$(md5sum "$nb/A/img.jpg" "$nb/B/img.jpg")
lauf "$tmp/affix" "$prog" -ini="$tmp/affix/einst.ini" -autostart
# Filtered, the affix begins with a dot: the hidden large images would
# leave the gallery empty, so the run stops before it writes anything.
erwarte 1 "Namenserweiterung mit Schrägstrichen" "Der Namenszusatz ......A der großen Bilder beginnt mit einem Punkt"
[ "$(md5sum "$nb/A/img.jpg" "$nb/B/img.jpg")" = "$vorher" ] || fail "Original durch Namenserweiterung ersetzt"
[ ! -e "$nb/html" ] || fail "Namenserweiterung mit Punkt: $(find "$nb/html" -type f)"
# Behind the name the same affix stays in the folder of the large images.
sed -i 's/ErweiterungVorne=1/ErweiterungVorne=0/' "$tmp/affix/einst.ini"
lauf "$tmp/affix" "$prog" -ini="$tmp/affix/einst.ini" -autostart
erwarte 0 "Namenserweiterung mit Schrägstrichen hinten"
[ "$(md5sum "$nb/A/img.jpg" "$nb/B/img.jpg")" = "$vorher" ] || fail "Original durch Namenserweiterung ersetzt"
[ -f "$nb/html/_gross/a/img......a.jpg" ] && [ -f "$nb/html/_gross/b/img......a.jpg" ] ||
  fail "Große Bilder nicht in ihrem Ordner: $(find "$nb/html/_gross" -type f)"

# As an ordinary user (CI runs as root): a folder of writable pictures that
# the user may not change keeps its names, and the run goes on.
chmod 755 "$tmp"
n="$tmp/nutzer"
mkdir -p "$n/programm" "$n/fotos/Album"
cp "$1" "$n/programm/mosaikschauer"
cp "$2/captions/urlaub.jpg" "$n/fotos/Album/a b.jpg"
[ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$n"
chmod 555 "$n/fotos/Album"
lauf "$n/fotos" env HOME="$n" "${nobody[@]}" "$n/programm/mosaikschauer" -autostart
erwarte 0 "Schreibgeschützter Ordner"
[ -f "$n/fotos/Album/a b.jpg" ] || fail "Bild umbenannt"
grep -q 'href="Album/index.htm"' "$n/fotos/html/index.htm" || fail "Startseite verweist nicht auf das Album"
[ -f "$n/fotos/html/Album/index.htm" ] || fail "Seite des Albums fehlt"
chmod 755 "$n/fotos/Album"

# A settings file named on the command line that cannot be read: said,
# status 1, and no run with other settings (here the working folder's).
printf '[Layout]\r\nTitel=geheim\r\n' > "$n/geheim.ini"
[ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$n/geheim.ini"
chmod 000 "$n/geheim.ini"
rm -rf "$n/fotos/html"
lauf "$n/fotos" env HOME="$n" "${nobody[@]}" "$n/programm/mosaikschauer" -ini="$n/geheim.ini" -autostart
erwarte 1 "Unlesbare Einstellungsdatei" "Die Einstellungsdatei $n/geheim.ini kann nicht gelesen werden!"
grep -q "Programmabbruch!" "$tmp/err" || fail "Programmabbruch fehlt: $(cat "$tmp/err")"
[ -e "$n/fotos/html" ] && fail "Lauf trotz unlesbarer Einstellungsdatei"

# A side file and a picture the user may not read are reported with the
# reason and left out; the rest of the gallery is made, also from reduced
# originals.
mkdir -p "$n/fotos/Reise"
cp "$2/captions/urlaub.jpg" "$n/fotos/Reise/a.jpg"
cp "$2/captions/urlaub.jpg" "$n/fotos/Reise/b.jpg"
printf 'geheim' > "$n/fotos/Reise/dirinfo.txt"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=1\r\n' "$n/fotos" > "$n/einst.ini"
[ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$n/einst.ini" "$n/fotos/Reise"
chmod 000 "$n/fotos/Reise/dirinfo.txt" "$n/fotos/Reise/b.jpg"
lauf "$n" env HOME="$n" "${nobody[@]}" "$n/programm/mosaikschauer" -ini="$n/einst.ini" -autostart
erwarte 1 "Unlesbare Seitendatei"
grep -q "Fehler beim Einlesen der Datei" "$tmp/err" && grep -q "Reise/dirinfo.txt" "$tmp/err" ||
  fail "Unlesbare Seitendatei nicht gemeldet: $(cat "$tmp/err")"
grep -A1 "Reise/b.jpg" "$tmp/err" | grep -q "Sie kann nicht geöffnet werden (keine Berechtigung)." ||
  fail "Unlesbares Bild ohne Grund: $(cat "$tmp/err")"
grep -q "Programmabbruch" "$tmp/err" && fail "Lauf abgebrochen: $(cat "$tmp/err")"
[ -f "$n/fotos/html/reise/index.htm" ] || fail "Seite der Reise fehlt nach unlesbarer Seitendatei"

# A file-size limit (ulimit -f, a service's limit) makes a write fail, not
# the program die: the run says so, ends with status 1 and leaves no
# temporary file.
rm -f "$tmp/programm/Mosaikschauer.ini"
mkdir -p "$tmp/knapp"
cp "$2/captions/urlaub.jpg" "$tmp/knapp/a.jpg"
lauf "$tmp/knapp" prlimit --fsize=3000 "$prog" -autostart
erwarte 1 "Dateigrößengrenze" "Speichern der StyleSheet-Datei $tmp/knapp/html/meinebilder.css"
grep -qF "Die Datei $tmp/knapp/html/meinebilder.css kann nicht geschrieben werden (die Datei würde zu groß)." \
  "$tmp/err" || fail "Grund fehlt: $(cat "$tmp/err")"
rest=$(find "$tmp/knapp" "$tmp/programm" -name '.mosaik-*')
[ -z "$rest" ] || fail "Temporäre Dateien geblieben: $rest"
cmp -s "$2/captions/urlaub.jpg" "$tmp/knapp/a.jpg" || fail "Original verändert"

# A settings file of gigabytes (sparse, under a memory limit): said with
# its reason, status 1, nothing written.
mkdir -p "$tmp/kodiert"
cp "$2/captions/urlaub.jpg" "$tmp/kodiert/Mein Bild.jpg"
truncate -s 3G "$tmp/riesig.ini"
lauf "$tmp/kodiert" prlimit --as=3000000000 "$prog" -ini="$tmp/riesig.ini" -autostart
erwarte 1 "Riesige Einstellungsdatei" "Sie ist mit 3221225472 Bytes zu groß für eine Textdatei (höchstens 64 MiB)."
[ "$(ls "$tmp/kodiert")" = "Mein Bild.jpg" ] || fail "Lauf trotz riesiger Einstellungsdatei"
rm -f "$tmp/riesig.ini"

# Without -autostart and without a display the program says so and ends,
# having written nothing.
rm -f "$tmp/programm/Mosaikschauer.ini"
lauf "$tmp/fotos" "$prog"
erwarte 2 "Ohne Bildschirm und ohne -autostart" "Kein Bildschirm"
[ -e "$tmp/programm/Mosaikschauer.ini" ] && fail "Ohne -autostart geschrieben"
echo ok
