#!/usr/bin/env bash
# Settings and side files the unattended run cannot read or must not trust:
# said with the reason, status 1, and nothing written, renamed or saved.
# Files of other users in shared folders need root to make (CI runs as root);
# the permission case runs as the unprivileged user nobody. (Pipes, folders,
# locks and encodings: tests/start and tests/platform.)
source "$(dirname "$0")/hilfen.bash"
chmod 755 "$tmp"
# A program folder of its own (the standard settings file lies beside it).
programm() { mkdir -p "$1"; cp "$bin" "$1/mosaikschauer"; }
bin=$1
[ "$(id -u)" -eq 0 ] || { echo "ok: nur als root (Dateien anderer Benutzer)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

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
echo ok
