#!/usr/bin/env bash
# Runs a test program under a locale made for the test in a private folder (German,
# comma-decimal, by default), so that no system locale needs to be installed. If the
# locale cannot be made, the test fails and says why: it is never skipped silently.
#   run_locale_test.sh PROGRAM FOLDER [LOCALE [TEST ARGUMENTS...]]
set -euo pipefail
program="$1"
folder="$2"
locale="${3:-de_DE}"
shift $(( $# < 3 ? $# : 3 ))
mkdir -p "$folder"
if [ ! -e "$folder/$locale.UTF-8/LC_NUMERIC" ]; then
  if ! command -v localedef >/dev/null; then
    echo "FAIL: localedef is missing (Debian package 'locales'); cannot make $locale.UTF-8" >&2
    exit 1
  fi
  # localedef warns about harmless things in the source files; only its result counts.
  localedef -i "$locale" -f UTF-8 "$folder/$locale.UTF-8" >"$folder/localedef-$locale.log" 2>&1 || true
  if [ ! -e "$folder/$locale.UTF-8/LC_NUMERIC" ]; then
    echo "FAIL: localedef could not make $locale.UTF-8:" >&2
    cat "$folder/localedef-$locale.log" >&2
    exit 1
  fi
fi
exec env LOCPATH="$folder" LANG="$locale.UTF-8" LC_ALL="$locale.UTF-8" "$program" "$@"
