#!/usr/bin/env bash
# Builds and runs the threaded and file tests under a sanitizer:
#   bash scripts/sanitize.sh tsan    ThreadSanitizer (clang), build-tsan/
#   bash scripts/sanitize.sh asan    AddressSanitizer and UndefinedBehaviorSanitizer, build-asan/
# Only what those tests need is built: the reader and writer, the tool and its plug-ins.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-tsan}
bash scripts/install-deps.sh
tests=(tst_results tst_recording tst_failures tst_cli tst_exposure tst_surveyreport tst_spectrumview)
cmake --preset "$kind" >/dev/null
cmake --build "build-$kind" --parallel "$(nproc)" --target "${tests[@]}" tesvana-cli \
  SimulatedProbe SimulatedStage Stepmate Clickfire
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp"
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
regex="^($(IFS='|'; echo "${tests[*]}"))\$"
cd "build-$kind"
ctest --output-on-failure -R "$regex"
