#!/usr/bin/env bash
# Settings and side files the unattended run cannot read or must not trust:
# said with the reason, status 1, and nothing written, renamed or saved.
# Files of other users in shared folders need root to make (CI runs as root);
# the permission case runs as the unprivileged user nobody.
source "$(dirname "$0")/hilfen.bash"
chmod 755 "$tmp"
# A program folder of its own (the standard settings file lies beside it).
programm() { mkdir -p "$1"; cp "$bin" "$1/mosaikschauer"; }
bin=$1
root=false
[ "$(id -u)" -eq 0 ] && root=true
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

if $root; then
  # Another user's link as the header file, in a shared folder with the
  # sticky bit, to a file only root may read: not read, and no page made.
  g="$tmp/geteilt"
  programm "$g"
  chmod 1777 "$g"
  mkdir -p "$tmp/fotos"
  cp "$2/captions/urlaub.jpg" "$tmp/fotos/a.jpg"
  printf 'NUR-FUER-ROOT\n' > "$tmp/geheim"
  chmod 600 "$tmp/geheim"
  printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n[Experten]\r\neigenenHeaderVerwenden=1\r\n' "$tmp/fotos" \
    > "$g/Mosaikschauer.ini"
  printf '</div>\r\n' > "$g/Mosaikschauer-footer.txt"
  "${nobody[@]}" ln -s "$tmp/geheim" "$g/Mosaikschauer-header.txt"
  lauf "$tmp" "$g/mosaikschauer" -autostart
  erwarte 1 "Fremde Verknüpfung" "Die Datei $g/Mosaikschauer-header.txt kann nicht gelesen werden!"
  grep -q "ein anderer Benutzer angelegt hat" "$tmp/err" || fail "Grund fehlt: $(cat "$tmp/err")"
  [ -e "$tmp/fotos/html" ] && fail "Lauf trotz fremder Verknüpfung"
  [ -L "$g/Mosaikschauer-header.txt" ] && [ "$(cat "$tmp/geheim")" = "NUR-FUER-ROOT" ] || fail "Verknüpfung verändert"
  rm -f "$g"/Mosaikschauer*

  # Another (non-root) user's regular settings file there, naming root's
  # folder: neither read nor written, and root's folders keep their names.
  mkdir -p "$tmp/rootfotos/Mein Album"
  cp "$2/captions/urlaub.jpg" "$tmp/rootfotos/Mein Album/GROSS.JPG"
  "${nobody[@]}" sh -c "printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n' '$tmp/rootfotos' > '$g/Mosaikschauer.ini'"
  cp "$g/Mosaikschauer.ini" "$tmp/fremd.vorher"
  lauf "$tmp" "$g/mosaikschauer" -autostart
  erwarte 1 "Fremde Einstellungsdatei" "Die Einstellungsdatei $g/Mosaikschauer.ini kann nicht gelesen werden!"
  grep -q "gehört einem anderen Benutzer" "$tmp/err" || fail "Grund fehlt: $(cat "$tmp/err")"
  [ -f "$tmp/rootfotos/Mein Album/GROSS.JPG" ] && [ ! -e "$tmp/rootfotos/html" ] || fail "Ordner von root verändert"
  cmp -s "$g/Mosaikschauer.ini" "$tmp/fremd.vorher" || fail "Fremde Einstellungsdatei beschrieben"

  # The standard file only root may read, the run by another user: no run
  # with the defaults, nothing renamed.
  n="$tmp/nutzer"
  programm "$n/programm"
  mkdir -p "$n/fotos"
  cp "$2/captions/urlaub.jpg" "$n/fotos/GROSS.JPG"
  printf '[Layout]\r\nTitel=Meine Galerie\r\n' > "$n/programm/Mosaikschauer.ini"
  chmod 600 "$n/programm/Mosaikschauer.ini"
  chown -R nobody:nogroup "$n/fotos"
  lauf "$n/fotos" env HOME="$n" "${nobody[@]}" "$n/programm/mosaikschauer" -autostart
  erwarte 1 "Unlesbare Standarddatei" \
    "Die Einstellungsdatei $n/programm/Mosaikschauer.ini kann nicht gelesen werden!"
  grep -q "keine Berechtigung" "$tmp/err" || fail "Grund fehlt: $(cat "$tmp/err")"
  [ "$(ls "$n/fotos")" = "GROSS.JPG" ] || fail "Lauf mit den Vorgaben: $(ls "$n/fotos")"
fi

# A pipe or a folder named as the settings file: said, never waited on.
programm "$tmp/p"
mkdir -p "$tmp/f"
cp "$2/captions/urlaub.jpg" "$tmp/f/a.jpg"
mkfifo "$tmp/rohr.ini"
mkdir "$tmp/ordner.ini"
for d in rohr ordner; do
  lauf "$tmp/f" "$tmp/p/mosaikschauer" -ini="$tmp/$d.ini" -autostart
  erwarte 1 "$d als Einstellungsdatei" "Die Einstellungsdatei $tmp/$d.ini kann nicht gelesen werden!"
  [ -e "$tmp/f/html" ] && fail "Lauf trotz $d"
  [ -e "$tmp/p/Mosaikschauer.ini" ] && fail "Einstellungen gespeichert trotz $d"
done

# A standard file in UTF-16 with its mark, as a Windows editor saves it, and
# a named one in the code page with a line typed in a UTF-8 terminal: both
# read, the title in the page.
{ printf '\xff\xfe'; printf '[Layout]\r\nTitel=Grüße\r\n' | iconv -f UTF-8 -t UTF-16LE; } > "$tmp/p/Mosaikschauer.ini"
lauf "$tmp/f" "$tmp/p/mosaikschauer" -autostart
erwarte 0 "UTF-16"
grep -q "<title>Gr&uuml;&szlig;e</title>" "$tmp/f/html/index.htm" || fail "Titel aus UTF-16: $(grep title "$tmp/f/html/index.htm")"
grep -q "^Titel=Gr$(printf '\xfc\xdf')e" "$tmp/p/Mosaikschauer.ini" || fail "UTF-16 nicht in der Codepage gespeichert"
{ printf '[Layout]\r\nTitel=Grüße aus Köln\r\n'; printf '\xdcberschrift=Stra\xdfe\r\n'; } > "$tmp/gemischt.ini"
lauf "$tmp/f" "$tmp/p/mosaikschauer" -ini="$tmp/gemischt.ini" -autostart
erwarte 0 "Gemischte Kodierung"
grep -q "<title>Gr&uuml;&szlig;e aus K&ouml;ln</title>" "$tmp/f/html/index.htm" || fail "Titel: $(grep title "$tmp/f/html/index.htm")"
grep -q "Stra&szlig;e</h1>" "$tmp/f/html/index.htm" || fail "Überschrift: $(grep h1 "$tmp/f/html/index.htm")"
echo ok
