#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then either replays the saved
# corpora (default, as the test script does) or fuzzes for a while:
#   bash scripts/fuzz.sh                 replay every corpus under the sanitizers
#   bash scripts/fuzz.sh run 600 [name]  fuzz each target (or one) for 600 s, saving new inputs
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESVANA_FUZZ=ON
fi
targets=(results_measurement results_mapping mapping_file limits_file results_index hdf5_file)
# The fuzz targets alone, with the libraries they link: not the program.
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mode=${1:-replay}

if [ "$mode" = replay ]; then
  for t in "${targets[@]}"; do
    # -runs=0 only executes the given inputs; a crash fails the run.
    build-fuzz/fuzz/fuzz_$t -runs=0 -rss_limit_mb=2048 fuzz/corpus/$t 2>&1 | tail -1
  done
  echo "fuzz corpora replayed under sanitizers"
  exit 0
fi

seconds=${2:-600}
only=${3:-}
for t in "${targets[@]}"; do
  if [ -n "$only" ] && [ "$only" != "$t" ]; then continue; fi
  mkdir -p build-fuzz/found/$t
  build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -dict=fuzz/xml.dict -artifact_prefix=build-fuzz/found/$t/ build-fuzz/found/$t fuzz/corpus/$t
done
