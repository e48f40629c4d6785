#!/usr/bin/env bash
# Every file the program reads, writes, creates, renames, removes or looks at
# for the user is reached through the resolver of the platform layer: from a
# held folder, each path walked once, a check and the act it guards on one
# descriptor. Code above that layer that calls a primitive taking a path
# would walk the path again, and whatever another user exchanged on the way
# since the check would decide where it lands. This test lists such calls.
# Usage: dateizugriffe.sh <src folder>
set -u
src=${1:?Quellordner fehlt}

# The calls that take a path (or open a stream on one).
aufrufe='(^|[^A-Za-z0-9_.>:])(::)?(open|open64|fopen|freopen|creat|stat|stat64|lstat|access|rename|unlink|mkdir|rmdir|realpath|canonicalize_file_name|opendir|chmod|chown|lchown|truncate|utime|utimes|symlink|readlink|link|mkfifo|mknod|chdir|popen)[[:space:]]*\(|(^|[^A-Za-z0-9_:])::remove[[:space:]]*\(|AT_FDCWD'
typen='(std::filesystem|#include[[:space:]]*<filesystem>|std::(i|o)?fstream|\bQFile\b|\bQFileInfo\b|\bQDir\b|\bQSaveFile\b|\bQTemporaryFile\b|\bQDirIterator\b)'

# The calls that must stay, one line each: file, the text of the call, why.
erlaubt=(
)

funde=$(cd "$src" && grep -rnE --include='*.cpp' --include='*.h' "$aufrufe|$typen" . |
  grep -v '^\./platform/' |
  sed -E 's#^\./##' |
  awk -F: '{ zeile=$0; sub(/^[^:]*:[^:]*:/, "", zeile); sub(/\/\/.*$/, "", zeile); if (zeile ~ /[^[:space:]]/) print }' |
  grep -E "$aufrufe|$typen" || true)

for e in "${erlaubt[@]}"; do
  datei=${e%%|*}
  rest=${e#*|}
  text=${rest%%|*}
  funde=$(printf '%s\n' "$funde" | grep -vF -- "$datei:" | cat; printf '%s\n' "$funde" | grep -F -- "$datei:" | grep -vF -- "$text" | cat)
  funde=$(printf '%s\n' "$funde" | sed '/^$/d')
done

if [ -n "$funde" ]; then
  echo "Dateizugriffe über einen Pfad außerhalb von src/platform/ (über fs::resolve, fs::openFolder, fs::Place gehen):"
  printf '%s\n' "$funde"
  exit 1
fi
echo "Keine Dateizugriffe über einen Pfad außerhalb von src/platform/."
