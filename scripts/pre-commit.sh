#!/usr/bin/env bash
# The checks before a commit, on the files it adds or changes: clang-format (the
# project's .clang-format), qmllint, shellcheck. Installed as the git hook with
#   ln -s ../../scripts/pre-commit.sh .git/hooks/pre-commit
# or through pre-commit (.pre-commit-config.yaml); `--all` checks every file.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
if [ "${1:-}" = --all ]; then
  # Every file of the checkout; outside one (a source tarball), every file but the builds'.
  if git rev-parse --git-dir >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files)
  else
    mapfile -t files < <(find . -path './build*' -prune -o -type f -print | sed 's#^\./##')
  fi
else
  mapfile -t files < <(git diff --cached --name-only --diff-filter=ACMR)
fi
cpp=() qml=() sh=()
for f in "${files[@]}"; do
  case $f in
    *.cpp | *.h) cpp+=("$f") ;;
    *.qml) qml+=("$f") ;;
    *.sh | .ci/run) sh+=("$f") ;;
  esac
done
status=0
[ ${#cpp[@]} -eq 0 ] || clang-format --dry-run -Werror "${cpp[@]}" || status=1
[ ${#qml[@]} -eq 0 ] || /usr/lib/qt5/bin/qmllint "${qml[@]}" || status=1
[ ${#sh[@]} -eq 0 ] || shellcheck -S warning "${sh[@]}" || status=1
exit $status
