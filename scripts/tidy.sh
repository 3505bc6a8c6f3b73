#!/usr/bin/env bash
# clang-tidy with the project's .clang-tidy over the program, its plug-ins, tools and tests;
# fails on any finding. It reads the clang build's compile commands (build-tsan/, which
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
