#!/usr/bin/env bash
# Two unattended runs at once over one large-image folder of its own (a
# script started twice, a timer beside a run by hand): the one that comes
# second stops with a message before it reads or writes anything there, and
# the next run finds every large image either of them made in the folder's
# record. A run that writes the record anew must never drop what the other
# entered meanwhile.
source "$(dirname "$0")/hilfen.bash"
mkdir -p "$tmp/programm"
cp "$1" "$tmp/programm/mosaikschauer"
prog="$tmp/programm/mosaikschauer"

g="$tmp/g"
mkdir -p "$g/fotos/sub"
for i in $(seq -w 1 30); do cp "$2/captions/urlaub.jpg" "$g/fotos/p$i.jpg"; done
for i in 1 2 3; do cp "$2/captions/nurexif.jpg" "$g/fotos/sub/s$i.jpg"; done
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\nOriginaleVerkleinern=1\r\nGrosseBilderpfad=%s\r\n[Programm]\r\nEinstAutoSpeichern=0\r\n' \
  "$g/fotos" "$g/gross" > "$g.ini"
lauf "$tmp" "$prog" -ini="$g.ini" -autostart
erwarte 0 "Erster Lauf"

# A copy that gives new numbers and times (cp -r): a run proves the large
# images by their content and writes the record anew; the large images that
# are missing it makes and enters. A line that names a large file there by
# name and size has it read whole at every check, as a folder of many large
# images would: the second run starts while the first still checks.
cp -r "$g" "$tmp/k"
g="$tmp/k"
sed "s|$tmp/g/|$g/|g" "$tmp/g.ini" > "$g.ini"
rm "$g"/gross/p0*.jpg "$g/gross/sub/s1.jpg"
truncate -s 300M "$g/gross/gross.dat"
printf '1 314572800 0 0 0 0 sha256:%064d gross.dat\n' 0 >> "$g/gross/.mosaikschauer-bilder"
(cd "$tmp" && timeout 120 "$prog" -ini="$g.ini" -autostart < /dev/null 2> "$tmp/err1"; echo $? > "$tmp/rc1") &
sleep 0.5
(cd "$tmp" && timeout 120 "$prog" -ini="$g.ini" -autostart < /dev/null 2> "$tmp/err2"; echo $? > "$tmp/rc2") &
wait
[ "$(cat "$tmp/rc1")" -eq 0 ] || fail "Erster der beiden Läufe: Status $(cat "$tmp/rc1"): $(cat "$tmp/err1")"
[ "$(cat "$tmp/rc2")" -eq 0 ] ||
  { [ "$(cat "$tmp/rc2")" -eq 1 ] && grep -qF "Der Ordner für die großen Bilder $g/gross/ wird gerade von einem anderen Lauf von Mosaikschauer bearbeitet." "$tmp/err2"; } ||
  fail "Zweiter der beiden Läufe: Status $(cat "$tmp/rc2"): $(cat "$tmp/err2")"
lauf "$tmp" "$prog" -ini="$g.ini" -autostart
erwarte 0 "Lauf danach"
[ -f "$g/gross/p01.jpg" ] && [ -f "$g/gross/sub/s1.jpg" ] || fail "Große Bilder fehlen: $(ls "$g/gross")"
echo ok
