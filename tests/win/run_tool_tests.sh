#!/usr/bin/env bash
# vellumio-db.exe under wine64 on a few database files: new, verify, dump
# (byte for byte the same JSON as the native tool), export, rewrite, and
# find on a tree with Unix symbolic-link loops (which Wine shows as reparse
# points).
# Prints one PASS or FAIL line per check; exits non-zero when one failed.
#
# Environment: WIN_BUILD_DIR (default build/win64), NATIVE_BUILD_DIR (default
# build/native), WINE64 or WINE (default /usr/lib/wine/wine64). tools/test.sh
# provides WINEPREFIX and DISPLAY; without a WINEPREFIX the script starts its
# own Wine environment through tools/wine-env.sh.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WIN_BUILD_DIR="${WIN_BUILD_DIR:-$ROOT/build/win64}"
NATIVE_BUILD_DIR="${NATIVE_BUILD_DIR:-$ROOT/build/native}"
WINE_BIN="${WINE64:-${WINE:-/usr/lib/wine/wine64}}"
EXE="$WIN_BUILD_DIR/tools/vellumio-db/vellumio-db.exe"
NATIVE="$NATIVE_BUILD_DIR/tools/vellumio-db/vellumio-db"
WORK="$WIN_BUILD_DIR/tool-tests"

FAILED=0
PASSED=0
pass() { PASSED=$((PASSED + 1)); echo "PASS: $1"; }
fail() { FAILED=$((FAILED + 1)); echo "FAIL: $1"; }
expect() { local name="$1"; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }

for f in "$EXE" "$NATIVE"; do
  if [ ! -x "$f" ] && [ ! -f "$f" ]; then
    echo "FAIL: $f is missing (build the win64 and native presets first)"
    exit 1
  fi
done

# shellcheck source=tests/win/script_wine.sh
source "$ROOT/tests/win/script_wine.sh"

rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK" || exit 1

# Runs the Windows tool with relative paths; stdout and stderr to files.
win_tool() { timeout 120 "$WINE_BIN" "$EXE" "$@" >win.out 2>win.err; }
native_tool() { "$NATIVE" "$@" >native.out 2>native.err; }

# Hand-made files: the current record versions with text that exercises
# UTF-8 (accents, CJK, a surrogate pair written per unit, a lone surrogate,
# CR LF, quotes), and an old one (database 2, list 2, note 4, reminder 1).
perl - <<'EOF'
use strict;
sub str { my $b = shift; return pack("v", length $b) . $b; }
sub reminder {
  my $v = shift;
  my $r = pack("V C d< l< l< l< l< l< C", $v, 1, 45000.5, 2, 3, 1, 0, 5, 0) . str("")
        . pack("C", 255) . str("C:\\Media\\chime.wav") . pack("C7", 1, 0, 0, 0, 0, 0, 1)
        . pack("d<", 45001.25);
  return $v >= 2 ? $r . pack("C", 1) : $r;
}
sub note8 {
  my ($created, $text, $subject, $uid) = @_;
  return pack("l< d<", 8, $created) . str($text) . pack("C C l<", 255, 0, -5) . reminder(2)
       . str($subject) . pack("l< l< l<", $uid, 320, 4);
}
sub note4 {
  my ($created, $text, $subject, $uid) = @_;
  return pack("l< d<", 4, $created) . str($text) . pack("C C l<", 0, 255, 7) . reminder(1)
       . str($subject) . pack("C l<", 0, $uid);
}
sub list {
  my ($version, $name, $uid, @notes) = @_;
  return pack("l< l<", $version, scalar @notes) . join("", @notes) . str($name) . str("Blue.sch")
       . pack("l< l<", 0x123456, $uid);
}
my $header = "Vellumio, tool test [PROJECT FILE]";
$header .= " " x (51 - length $header);
my $text = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\r\n\xED\xA0\xBD\xED\xB8\x80 lone \xED\xA0\x80 \"q\"\t\\ end";
my $current = str($header) . pack("l< l< l<", 4, 0, 2)
  . list(3, "Inbox", 100, note8(0.1, $text, "Subject \xC3\xA9", 101), note8(45000.5, "second", "", 102))
  . list(3, "Empty", 103)
  . pack("l< l< l< l< V", 0, 11, -2, 33, 0x0FDEDEC0);
my $old = str($header) . pack("l< l< l<", 2, 0, 1)
  . list(2, "Old", 200, note4(40000.25, "old caf\xE9 text", "old subject", 201))
  . pack("l< V", 0, 0x0FDEDEC0);
for (["current.sbn", $current], ["old.sbn", $old], ["cut.sbn", substr($current, 0, 120)]) {
  open(my $f, ">:raw", $_->[0]) or die; print $f $_->[1]; close $f;
}
EOF

# new: the Windows tool creates a file both tools read.
win_tool new new.sbn
expect "new exits 0" test $? -eq 0
native_tool verify new.sbn
expect "new file verifies natively" test $? -eq 0
win_tool dump new.sbn && cp win.out new-win.json
native_tool dump new.sbn
expect "new file dumps to the same JSON" cmp -s new-win.json native.out
win_tool new new.sbn
expect "new refuses an existing file (exit 1)" test $? -eq 1

# verify
win_tool verify current.sbn
expect "verify of a good file exits 0" test $? -eq 0
win_tool verify cut.sbn
rc=$?
expect "verify of a truncated file exits 1" test "$rc" -eq 1
expect "verify names the read error" grep -q "Database read error: " win.err
win_tool verify missing.sbn
expect "verify of a missing file exits 1" test $? -eq 1

# dump: the same bytes as the native tool
win_tool dump current.sbn
expect "dump exits 0" test $? -eq 0
cp win.out current-win.json
native_tool dump current.sbn
expect "dump JSON equals the native tool's byte for byte" cmp -s current-win.json native.out
expect "dump escapes the lone surrogate" grep -q 'lone \\ud800 ' current-win.json

# export: UTF-16 with byte-order mark and CR LF only
win_tool export current.sbn export.txt
expect "export exits 0" test $? -eq 0
expect "export begins with FF FE and has no bare LF" perl -e '
  local $/; open(my $f, "<:raw", "export.txt") or exit 1; my $t = <$f>;
  exit 1 unless substr($t, 0, 2) eq "\xFF\xFE";
  my $u = substr($t, 2);
  for (my $i = 0; $i + 1 < length $u; $i += 2) {
    exit 1 if substr($u, $i, 2) eq "\n\0" && ($i < 2 || substr($u, $i - 2, 2) ne "\r\0");
  }
  exit 1 unless $u =~ /c\0a\0f\0\xE9\0 \0\xE5\x65\x2C\x67/;
  exit 0;'

# rewrite: the old file is upgraded, the input is left alone
cp old.sbn old-before.sbn
win_tool rewrite old.sbn upgraded.sbn
expect "rewrite exits 0" test $? -eq 0
expect "rewrite leaves the input unchanged" cmp -s old.sbn old-before.sbn
win_tool dump upgraded.sbn && cp win.out upgraded-win.json
expect "rewritten file is database version 4" grep -q '^{"version": 4, ' upgraded-win.json
native_tool dump old.sbn
sed 's/^{"version": 2, /{"version": 4, /' native.out >old-native-as-v4.json
expect "rewritten file holds what the old one held" cmp -s upgraded-win.json old-native-as-v4.json
win_tool rewrite old.sbn ./old.sbn
expect "rewrite onto its input exits 2" test $? -eq 2
expect "refused rewrite leaves the input unchanged" cmp -s old.sbn old-before.sbn
win_tool
expect "no arguments exits 2" test $? -eq 2

# find: a tree with the same content twice, an older database, a text file
# and two links that loop back up the tree.
mkdir -p findtree/one/Backup findtree/one/sub empty
cp current.sbn findtree/one/notes.sbn
cp current.sbn findtree/one/Backup/notes.sbn.0
cp old.sbn findtree/one/sub/old.sbn.1
echo "not a database" >findtree/one/readme.txt
touch -d "2026-01-02 10:20:30" findtree/one/notes.sbn findtree/one/Backup/notes.sbn.0
touch -d "2020-01-01 08:00:00" findtree/one/sub/old.sbn.1
ln -s "$WORK/findtree" findtree/one/sub/up
ln -s .. findtree/one/Backup/parent
win_tool find findtree
rc=$?
expect "find through link loops ends with exit 0" test "$rc" -eq 0
tr '\\' '/' <win.out >find-win.txt
native_tool find findtree
expect "find lists each content once" test "$(wc -l <find-win.txt)" -eq 2
expect "find puts the newest first (lists, notes)" \
  test "$(cut -f3,4 find-win.txt | tr '\t\n' ',;')" = "2,2;1,1;"
expect "find's line for the old database equals the native tool's" \
  test "$(sed -n 2p find-win.txt)" = "$(sed -n 2p native.out)"
win_tool find empty
rc=$?
expect "find with nothing found exits 0 and says so" \
  test "$rc" -eq 0 -a ! -s win.out -a "$(cat win.err)" = "vellumio-db: no databases found"
win_tool find current.sbn
expect "find on a file exits 1" test $? -eq 1
win_tool find
expect "find without a folder exits 2" test $? -eq 2

if [ "$STARTED_WINE" -eq 1 ]; then wine_env_stop; fi
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
