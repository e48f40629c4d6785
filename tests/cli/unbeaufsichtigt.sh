#!/usr/bin/env bash
# The unattended run without a display: no window, messages on stderr, exit
# status 0 after success and 1 after a failure, never waiting for input.
set -u
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
# A copy of its own: the program keeps its settings file beside itself.
mkdir -p "$tmp/programm"
cp "$1" "$tmp/programm/mosaikschauer"
prog="$tmp/programm/mosaikschauer"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FEHLER: $*"; exit 1; }

mkdir -p "$tmp/fotos"
(cd "$tmp/fotos" && timeout 60 "$prog" -autostart < /dev/null > "$tmp/out" 2> "$tmp/err")
rc=$?
[ $rc -eq 0 ] || fail "Erfolgreicher Lauf endete mit $rc: $(cat "$tmp/err")"
[ -d "$tmp/fotos/html" ] || fail "HTML-Ordner fehlt"

# A second run overwrites without asking.
(cd "$tmp/fotos" && touch html/index.htm && timeout 60 "$prog" -AUTOSTART < /dev/null 2> "$tmp/err")
[ $? -eq 0 ] || fail "Zweiter Lauf schlug fehl: $(cat "$tmp/err")"
grep -q "existiert bereits" "$tmp/err" && fail "Unbeaufsichtigter Lauf hat gefragt"

# Closing saved the settings beside the program, with the picture folder.
grep -q "^Ordner=$tmp/fotos" "$tmp/programm/Mosaikschauer.ini" || fail "Einstellungen nicht gespeichert"
rm "$tmp/programm/Mosaikschauer.ini"

# An HTML folder that cannot be created: the message on stderr, status 1.
mkdir -p "$tmp/block"
(cd "$tmp/block" && touch html && timeout 60 "$prog" /autostart < /dev/null 2> "$tmp/err")
rc=$?
[ $rc -eq 1 ] || fail "Fehlgeschlagener Lauf endete mit $rc"
grep -q "Kann das Verzeichnis $tmp/block/html/ nicht erstellen!" "$tmp/err" || fail "Meldung fehlt: $(cat "$tmp/err")"
grep -q "Programmabbruch!" "$tmp/err" || fail "Programmabbruch fehlt"

# Without -autostart and without a display the program says so and ends.
(cd "$tmp/fotos" && timeout 60 "$prog" < /dev/null 2> "$tmp/err")
rc=$?
[ $rc -eq 2 ] || fail "Ohne Bildschirm und ohne -autostart: Status $rc"
grep -q "Kein Bildschirm" "$tmp/err" || fail "Hinweis fehlt"
echo ok
