#!/usr/bin/env bash
# A settings file and its side files are read and saved in the folder found
# when the file was chosen. Another user who then exchanges that folder with
# a link to root's private folder R (renameat2 RENAME_EXCHANGE) sends no
# read and no save there: not the footer of a file named by -ini=, not the
# personal settings file read at the start, not its save at the end.
#
# The other user widens the moment at will: a lock on their own file (or on
# one they may read) makes the program try the file again 25 ms later, and
# the exchange comes in between, at the program's first attempt.
source "$(dirname "$0")/hilfen.bash"
bin=$1
[ "$(id -u)" -eq 0 ] || { echo "ok (nur als root: ein anderer Benutzer tauscht die Ordner aus)"; exit 0; }
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
chmod 755 "$tmp"
prog="$tmp/prog/mosaikschauer"
mkdir "$tmp/prog"
cp "$bin" "$prog"

# tausch FOLDER LINK NAME open|closewrite ex|sh READY STOP: holds a lock (ex
# or sh) on FOLDER/NAME; at the first such event of NAME in FOLDER it
# exchanges FOLDER and LINK and lets the lock go; at STOP it exchanges them
# back.
cat > "$tmp/tausch.c" <<'EOF'
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <linux/fs.h>
static int tausch(const char* a, const char* b) {
  return (int)syscall(SYS_renameat2, AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE);
}
int main(int argc, char** argv) {
  if (argc != 8) return 2;
  char datei[4096];
  snprintf(datei, sizeof datei, "%s/%s", argv[1], argv[3]);
  int sperre = open(datei, O_RDONLY | O_CLOEXEC);
  int in = inotify_init1(IN_CLOEXEC);
  uint32_t art = strcmp(argv[4], "open") == 0 ? IN_OPEN : IN_CLOSE_WRITE;
  if (sperre < 0 || flock(sperre, strcmp(argv[5], "ex") == 0 ? LOCK_EX : LOCK_SH) != 0 || in < 0 ||
      inotify_add_watch(in, argv[1], art | IN_ONLYDIR) < 0 || close(open(argv[6], O_CREAT | O_WRONLY, 0644)) != 0)
    return 1;
  char puffer[8192] __attribute__((aligned(8)));
  for (int gesehen = 0; !gesehen;) {
    ssize_t n = read(in, puffer, sizeof puffer);
    if (n <= 0) return 1;
    for (char* p = puffer; p < puffer + n;) {
      struct inotify_event* e = (struct inotify_event*)p;
      if (e->len && strcmp(e->name, argv[3]) == 0) gesehen = 1;
      p += sizeof *e + e->len;
    }
  }
  if (tausch(argv[1], argv[2]) != 0) return 1;
  close(sperre);
  while (access(argv[7], F_OK) != 0) usleep(1000);
  return tausch(argv[1], argv[2]) != 0;
}
EOF
cc -O2 -o "$tmp/tausch" "$tmp/tausch.c" || fail "Hilfsprogramm nicht übersetzt"
signal="$tmp/signal"
mkdir "$signal"
chown nobody:nogroup "$signal"

r="$tmp/R"
mkdir -m 700 "$r"
printf '<p>ROOTGEHEIM-KOPF</p>\r\n' > "$r/run-header.txt"
printf '<p>ROOTGEHEIM-FUSS</p>\r\n' > "$r/run-footer.txt"
printf '[ExtraTexte]\r\nMitZTextUebOben=1\r\nZTextUebOben=ROOTGEHEIM-TEXT\r\n' > "$r/Mosaikschauer.ini"
chmod 600 "$r"/*
stand() { (cd "$1" && find . -printf '%p %m %s %T@\n' | sort); }
rvorher=$(stand "$r")
u="$tmp/u"
mkdir -p "$u/bilder"
{ printf 'P6\n64 48\n255\n'; head -c $((64 * 48 * 3)) /dev/urandom; } | cjpeg > "$u/bilder/a.jpg"
chown -R nobody:nogroup "$u"
# Runs the program while nobody exchanges folder $1 with a link to R at the
# moment given by $3 and $4 (the rest is the program's command line).
getauscht() {
  local ordner=$1 name=$2 ereignis=$3 sperre=$4
  shift 4
  "${nobody[@]}" ln -s "$r" "$ordner.lnk"
  rm -f "$signal/bereit" "$signal/stop"
  "${nobody[@]}" timeout 60 "$tmp/tausch" "$ordner" "$ordner.lnk" "$name" "$ereignis" "$sperre" "$signal/bereit" \
    "$signal/stop" &
  local wache=$!
  until [ -e "$signal/bereit" ] || ! kill -0 $wache 2>/dev/null; do sleep 0.01; done
  lauf "$tmp" "$@"
  touch "$signal/stop"
  wait $wache || fail "$name: nicht ausgetauscht"
  rm "$ordner.lnk"
}
# Nothing of R in nobody's folders, and R as it was.
unberuehrt() {
  ! grep -rl ROOTGEHEIM "$u" || fail "$1: Text aus R im Ordner von nobody"
  [ "$(stand "$r")" = "$rvorher" ] || fail "$1: R verändert: $(ls -la "$r")"
}

# The footer of a file named by -ini=, in a folder of nobody's.
mkdir "$u/conf"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n[Experten]\r\neigenenHeaderVerwenden=1\r\n[Programm]\r\nProgrammmodus=2\r\nEinstAutoSpeichern=0\r\n' \
  "$u/bilder" > "$u/conf/run.ini"
printf '<p>kopf</p>\r\n' > "$u/conf/run-header.txt"
printf '<p>fuss von nobody</p>\r\n' > "$u/conf/run-footer.txt"
chown -R nobody:nogroup "$u/conf"
getauscht "$u/conf" run-footer.txt open ex "$prog" -ini=u/conf/run.ini -autostart
unberuehrt "Fußzeile nach -ini="
erwarte 0 "Fußzeile nach -ini="
grep -q "fuss von nobody" "$u/bilder/html/index.htm" || fail "Fußzeile fehlt: $(cat "$tmp/err")"
rm -rf "$u/bilder/html" "$u/bilder/index.html"

# The personal settings file, in a folder of root's inside one of nobody's,
# read at the start and saved at the end.
cfg="$u/cfg"
mkdir -p "$cfg/Mosaikschauer"
chown nobody:nogroup "$cfg"
printf '[OrdnerUndDateien]\r\nOrdner=%s\r\n[Programm]\r\nEinstImAppOrdner=1\r\nEinstAutoSpeichern=1\r\n' "$u/bilder" \
  > "$tmp/prog/Mosaikschauer.ini"
for ereignis in "open ex" "closewrite sh"; do
  printf '[Programm]\r\nEinstAutoSpeichern=1\r\n' > "$cfg/Mosaikschauer/Mosaikschauer.ini"
  XDG_CONFIG_HOME=$cfg getauscht "$cfg/Mosaikschauer" Mosaikschauer.ini $ereignis "$prog" -autostart
  unberuehrt "Persönliche Einstellungen ($ereignis)"
  erwarte 0 "Persönliche Einstellungen ($ereignis)"
  grep -q "^EinstImAppOrdner=1" "$cfg/Mosaikschauer/Mosaikschauer.ini" ||
    fail "Persönliche Einstellungen ($ereignis) nicht gespeichert: $(cat "$tmp/err")"
  rm -rf "$u/bilder/html" "$u/bilder/index.html"
done
echo ok
