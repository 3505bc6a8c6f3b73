#!/usr/bin/env bash
# clang-tidy with the project's .clang-tidy over the program, its plug-ins, tools and tests,
# then clazy's Qt checks over the program and its plug-ins; fails on any finding. It reads the clang build's compile commands (build-tsan/, which
# `scripts/sanitize.sh tsan` makes) with the precompiled headers left out, so that it needs
# only the generated sources, not a build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset tsan >/dev/null
# The sources moc and rcc generate, which the sources include.
mapfile -t generated < <(ninja -C build-tsan -t targets all | grep -o '^[A-Za-z0-9_]*_autogen' | sort -u)
ninja -C build-tsan "${generated[@]}" >/dev/null
mkdir -p build-tsan/tidy
python3 - <<'PY'
import json, re
commands = json.load(open("build-tsan/compile_commands.json"))
kept = []
for entry in commands:
    if "/build-tsan/" in entry["file"]:
        continue
    command = entry["command"]
    command = re.sub(r"-Xclang -include-pch -Xclang \S+", "", command)
    command = re.sub(r"-Xclang -include -Xclang \S+", "", command)
    command = re.sub(r"-include \S+cmake_pch\S*", "", command)
    entry["command"] = command
    kept.append(entry)
json.dump(kept, open("build-tsan/tidy/compile_commands.json", "w"))
PY
folders='app|model|compute|instruments|files|operations|report|quickitems|viewmodels|cli|plugins|tests|bench|fuzz'
run-clang-tidy -p build-tsan/tidy -j "$(nproc)" -quiet "$PWD/($folders)/" > build-tsan/tidy/findings.txt 2>&1 ||
  {
    sed 's/\x1b\[[0-9;]*m//g' build-tsan/tidy/findings.txt | grep -E '^/.*(warning|error):' | sort -u
    echo "clang-tidy: findings above (whole output in build-tsan/tidy/findings.txt)" >&2
    exit 1
  }
echo "clang-tidy: no findings"

# The Qt checks (clazy's levels 0 and 1). Left out: incorrect-emit, which takes the emit
# inside the setter macros (TESVANA_SETTER) for a missing one. clazy's own "internal error"
# notes (a connection whose signal is a variable, which it cannot look up) are not findings.
program='app|model|compute|instruments|files|operations|report|quickitems|viewmodels|cli|plugins'
python3 -c '
import json, re, sys
for entry in json.load(open("build-tsan/tidy/compile_commands.json")):
    if re.search(sys.argv[1], entry["file"]):
        print(entry["file"])
' "$PWD/($program)/" > build-tsan/tidy/program.txt
xargs -P "$(nproc)" -n 8 clazy-standalone -p build-tsan/tidy -checks=level0,level1,no-incorrect-emit \
  -header-filter="$PWD/($program)/" < build-tsan/tidy/program.txt > build-tsan/tidy/clazy.txt 2>&1 || true
if grep -E ': (warning|error): ' build-tsan/tidy/clazy.txt | grep -qv 'internal error'; then
  grep -E ': (warning|error): ' build-tsan/tidy/clazy.txt | grep -v 'internal error' | sort -u
  echo "clazy: findings above" >&2
  exit 1
fi
echo "clazy: no findings"
