# Shared by the shell tests of the program (sourced; not a test itself): a
# temporary folder removed at the end, no display, and the checks.
set -u
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FEHLER: $*"; exit 1; }
# Runs a command line in folder $1, without input and with stderr in $tmp/err;
# its status goes to rc.
lauf() { local d=$1; shift; (cd "$d" && timeout 60 "$@" < /dev/null 2> "$tmp/err"); rc=$?; }
# Expects status $1 and, when given, the message $3 on stderr; $2 names the case.
erwarte() {
  [ "$rc" -eq "$1" ] || fail "$2: Status $rc: $(cat "$tmp/err")"
  [ $# -lt 3 ] || grep -qF -- "$3" "$tmp/err" || fail "$2: Meldung fehlt: $(cat "$tmp/err")"
}
