#!/usr/bin/env bash
# Runs a test program under a German (comma-decimal) locale made for the test in a
# private folder, so that no system locale needs to be installed. If the locale
# cannot be made, the test fails and says why: it is never skipped silently.
set -euo pipefail
program="$1"
folder="$2"
mkdir -p "$folder"
if [ ! -e "$folder/de_DE.UTF-8/LC_NUMERIC" ]; then
  if ! command -v localedef >/dev/null; then
    echo "FAIL: localedef is missing (Debian package 'locales'); cannot make de_DE.UTF-8" >&2
    exit 1
  fi
  # localedef warns about harmless things in the source files; only its result counts.
  localedef -i de_DE -f UTF-8 "$folder/de_DE.UTF-8" >"$folder/localedef.log" 2>&1 || true
  if [ ! -e "$folder/de_DE.UTF-8/LC_NUMERIC" ]; then
    echo "FAIL: localedef could not make de_DE.UTF-8:" >&2
    cat "$folder/localedef.log" >&2
    exit 1
  fi
fi
exec env LOCPATH="$folder" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 "$program"
