#!/usr/bin/env bash
# Every file the program reads, writes, creates, renames, removes or looks at
# for the user is reached through the resolver of the platform layer: from a
# held folder, each path walked once, a check and the act it guards on one
# descriptor. Code above that layer that calls a primitive taking a path
# would walk the path again, and whatever another user exchanged on the way
# since the check would decide where it lands. This test lists such calls,
# and descriptors closed by hand instead of by fs::Fd.
# Usage: dateizugriffe.sh <src folder>
set -u
src=${1:?Quellordner fehlt}

# The calls that take a path (or open a stream on one).
aufrufe='(^|[^A-Za-z0-9_.>:])(::)?(open|open64|fopen|freopen|creat|stat|stat64|lstat|statfs|statvfs|access|euidaccess|eaccess|rename|unlink|mkdir|rmdir|realpath|canonicalize_file_name|opendir|scandir|ftw|nftw|chmod|chown|lchown|truncate|utime|utimes|lutimes|symlink|readlink|link|mkfifo|mknod|mkstemp|mkostemp|mkdtemp|l?(get|set|list|remove)xattr|chdir|popen)[[:space:]]*\(|(^|[^A-Za-z0-9_:])::(remove|close)[[:space:]]*\(|AT_FDCWD'
typen='(std::filesystem|#include[[:space:]]*<filesystem>|std::(i|o)?fstream|\bQFile\b|\bQFileInfo\b|\bQDir\b|\bQSaveFile\b|\bQTemporaryFile\b|\bQDirIterator\b|\bQLockFile\b|\bQSettings\b|\bQStorageInfo\b|\bQFileSystemModel\b)'

# The calls that must stay, one line each: file (below src/), a text of the
# lines allowed (empty: the whole file), why. An entry that allows nothing
# any more fails the test, so that the list does not outlive its reasons.
erlaubt=(
  "qt/QtDialoge.cpp|QFileSystemModel|Qts eigener Dateidialog blättert nur; der Pfad, den er vorschlägt, wird erst beim Gebrauch aufgelöst."
)

funde=$(cd "$src" && grep -rnE --include='*.cpp' --include='*.h' "$aufrufe|$typen" . |
  grep -v '^\./platform/' |
  sed -E 's#^\./##' |
  awk -F: '{ zeile=$0; sub(/^[^:]*:[^:]*:/, "", zeile); sub(/\/\/.*$/, "", zeile); if (zeile ~ /[^[:space:]]/) print }' |
  grep -E "$aufrufe|$typen" || true)

# Each finding against the list: file and text must both match.
ergebnis=$(printf '%s\n' "${erlaubt[@]}" | FUNDE="$funde" awk '
  BEGIN { n = split(ENVIRON["FUNDE"], f, "\n") }
  /^$/ { next }
  {
    split($0, e, "|"); datei[NR] = e[1]; text[NR] = e[2]; grund[NR] = e[3]; eintraege[NR] = 1
  }
  END {
    for (i = 1; i <= n; ++i) {
      if (f[i] == "") continue
      fdatei = f[i]; sub(/:.*/, "", fdatei)
      code = f[i]; sub(/^[^:]*:[^:]*:/, "", code)
      frei = 0
      for (j in eintraege)
        if (datei[j] == fdatei && (text[j] == "" || index(code, text[j]) > 0)) { frei = 1; benutzt[j] = 1 }
      if (!frei) print "Fund: " f[i]
    }
    for (j in eintraege)
      if (!(j in benutzt))
        print "Eintrag ohne Fund: " datei[j] "|" text[j]
  }' | sort)

if [ -n "$ergebnis" ]; then
  echo "Dateizugriffe über einen Pfad außerhalb von src/platform/ (über fs::resolve, fs::openFolder, fs::Place und fs::Fd gehen):"
  printf '%s\n' "$ergebnis"
  exit 1
fi
echo "Keine Dateizugriffe über einen Pfad außerhalb von src/platform/."
