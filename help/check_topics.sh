#!/usr/bin/env bash
# Lists the compiled help file and checks that it holds every topic the
# program opens (each ShowHelp(u"/src/...") in the sources) and every page
# of the contents, and that a topic carries its text.
# Usage: check_topics.sh SOURCE_ROOT CHM
set -uo pipefail
ROOT="$1"
CHM="$2"
listing="$(chmls -p -n list "$CHM" 2>&1 | sed "s/^[[:space:]]*//; s/[[:space:]]*$//")" || { echo "FAIL: chmls cannot read $CHM"; exit 1; }
topics="$(grep -rhoE --include='*.cpp' 'ShowHelp\(u"[^"]+"' "$ROOT"/app "$ROOT"/config "$ROOT"/lang "$ROOT"/uninstall \
  "$ROOT"/reminders "$ROOT"/noteview "$ROOT"/store 2>/dev/null | sed -E 's/.*u"([^"]+)"/\1/' | sort -u)"
contents="$(grep -oE 'src\\[a-z]+\.htm' "$ROOT/help/Vellumio.hhc" | sed 's#\\#/#; s#^#/#' | sort -u)"
if [ -z "$topics" ]; then echo "FAIL: no ShowHelp topic found in the sources"; exit 1; fi
# The windows that open help by topic (the search panel among them).
topics="$topics /src/noteswindow.htm /src/find.htm /src/settings.htm /src/lang.htm"
failed=0
for t in $(echo $topics $contents | tr " " "\n" | sort -u); do
  if grep -qxF "$t" <<<"$listing"; then echo "PASS: $t"; else echo "FAIL: $t is missing"; failed=1; fi
done
# The text of a topic, extracted from the compiled file.
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
if chmls extract "$CHM" /src/settings.htm "$out/settings.htm" >/dev/null 2>&1 &&
   grep -q "Hot keys" "$out/settings.htm"; then
  echo "PASS: /src/settings.htm has its text"
else
  echo "FAIL: /src/settings.htm has no text"
  failed=1
fi
exit $failed
