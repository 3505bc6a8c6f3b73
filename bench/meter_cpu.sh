#!/usr/bin/env bash
# The whole program under Xvfb with a measurement page shown and the simulated probe
# acquiring at RATE Hz in blocks of 1000: CPU of the process (percent of one core)
# over SECONDS, and its resident memory at the end.
#   bash bench/meter_cpu.sh 10000 60
#   PAGE=spectrum SECTION=plot bash bench/meter_cpu.sh 100000 60
#   RECORD=1 bash bench/meter_cpu.sh 100000 60      (recording while it measures)
#   SHOT=end.png bash bench/meter_cpu.sh 10000 10   (and a screenshot at the end)
#   RECORD=1 EVERY=60 bash bench/meter_cpu.sh 100000 7200
#                                    (a line each minute: whether CPU or memory creep)
#   MEMORY_ONLY=1 ...                (the recording is kept in memory only: no storage
#                                    folder to write it to)
#   PUNCH=1 ...                      (each period, all but the newest 256 MiB of the
#                                    recording file is given back to the disk with
#                                    fallocate --punch-hole: two hours at 100 kHz, about
#                                    76 GB, then fit a smaller disk; the program's writes,
#                                    flushes and syncs are the same)
#   CPUS=1 ...                       (the program and its X server on those processors
#                                    only: a long run beside other work on the others)
#   LOG=app.log APPENV="env QSG_RENDER_TIMING=1" bash bench/meter_cpu.sh 100000 10
#                                    (the program's output kept, run with more variables)
# PAGE is meter (default), spectrum or ac; SECTION=plot shows the meter's chart.
# The buttons are pressed with their keys (Ctrl+1..3, F5, Ctrl+R), never by position;
# a run in which no block arrives fails instead of reporting an idle program.
# Needs a build (scripts/build.sh), Xvfb and xdotool (apt-get install xdotool).
set -euo pipefail
rate=${1:-10000}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
home=$(mktemp -d)
data=$home/data/Tesvana
mkdir -p "$data"
# A file where the storage folder would be: the recording cannot be written to disk.
[ -n "${MEMORY_ONLY:-}" ] && touch "$home/Documents"
cat > "$data/TesvanaConnectionSettings.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<SETTINGS><Name>Simulated probe</Name><SerialNumber>SIM-0001</SerialNumber><SerialPort>ttyS0</SerialPort><BaudRate>9600</BaudRate></SETTINGS>
XML
cat > "$data/TesvanaMeasureSettings.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<OPERATION_PARAMETERS><MEASUREMENT_PARAMETERS><Units>mT</Units><UncertaintyUnits>mT</UncertaintyUnits>
<Averaging>1</Averaging><AcquisitionRate>$rate</AcquisitionRate><DisplayRate>$((rate / 1000))</DisplayRate>
<TriggerMode>Continuous</TriggerMode></MEASUREMENT_PARAMETERS></OPERATION_PARAMETERS>
XML
display=:$((90 + RANDOM % 9))
pin=()
[ -n "${CPUS:-}" ] && pin=(taskset -c "$CPUS")
"${pin[@]}" Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true; wait $app 2>/dev/null || true; rm -rf "$home" 2>/dev/null || true' EXIT
sleep 1
HOME=$home XDG_DATA_HOME=$home/data DISPLAY=$display "${pin[@]}" ${APPENV:-} "$root/build/bin/Tesvana" >"${LOG:-/dev/null}" 2>&1 &
app=$!
sleep 5
window=$(DISPLAY=$display xdotool search --name Tesvana | head -1)
if [ -z "$window" ]; then
  echo "FAIL: no Tesvana window appeared" >&2
  exit 1
fi
# Without a window manager the window gets the keyboard by a click on it (on the page's
# empty margin below the recording bar's right end); keys then go through XTEST as typed.
read -r x y < <(DISPLAY=$display xdotool getwindowgeometry "$window" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
DISPLAY=$display xdotool mousemove $((x + 600)) $((y + 5)) click 1
sleep 0.5
key() { DISPLAY=$display xdotool key "$1"; sleep 0.5; }
# The page (the meter is shown at start with the default instrument), then Resume.
case "${PAGE:-meter}" in
  spectrum) key ctrl+2 ;;
  ac) key ctrl+3 ;;
esac
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$app/stat"; }
idle=$(cpu)
sleep 2
idle=$(( $(cpu) - idle ))
key F5
[ -n "${RECORD:-}" ] && key ctrl+r
# SECTION=plot shows the meter's chart: its tab is the second, above the numbers.
if [ "${SECTION:-}" = plot ]; then
  DISPLAY=$display xdotool mousemove $((x + 400)) $((y + 27)) click 1
fi
sleep 2
# Blocks arriving cost far more than the idle window did; nothing more means no block came.
probe=$(cpu)
sleep 2
busy=$(( $(cpu) - probe ))
if [ "$busy" -le $(( idle + 2 )) ]; then
  echo "FAIL: no block seems to arrive (CPU ticks idle $idle, after Resume $busy over 2 s)" >&2
  exit 1
fi
start=$(cpu)
# The thread writing the recording to disk (RECORD=1), by its name.
writer=
for task in /proc/$app/task/*; do
  [ "$(cat "$task/comm" 2>/dev/null)" = result-writer ] && writer=$task
done
wcpu() { if [ -n "$writer" ]; then awk '{print $14 + $15}' "$writer/stat"; else echo 0; fi; }
wstart=$(wcpu)
# cpu-clock: hardware counters are not offered in every virtual machine.
[ -n "${PROFILE:-}" ] && perf record -e cpu-clock ${PROFILE_CALLS:+-g} -o "$PROFILE" -p "$app" -- sleep 10 >/dev/null 2>&1
if [ -n "${EVERY:-}" ]; then
  # One line per period: CPU of the period, of the writer thread, and resident memory.
  elapsed=0
  while [ "$elapsed" -lt "$seconds" ]; do
    a=$(cpu); wa=$(wcpu)
    sleep "$EVERY"
    elapsed=$((elapsed + EVERY))
    b=$(cpu); wb=$(wcpu)
    file=$(find "$home" -name '*.kxr.xml.part' 2>/dev/null | head -1)
    size=0
    [ -n "$file" ] && size=$(stat -c %s "$file")
    if [ -n "${PUNCH:-}" ] && [ "$size" -gt $((256 << 20)) ]; then
      fallocate --punch-hole --offset 0 --length $(( (size - (256 << 20)) / 4096 * 4096 )) "$file"
    fi
    printf '%s %ss: CPU %.1f%% (writer %.1f%%), RSS %d MiB, file %.2f GB\n' "$(date +%H:%M:%S)" "$elapsed" \
      "$(awk -v t=$((b - a)) -v k="$ticks" -v e="$EVERY" 'BEGIN {print t * 100 / k / e}')" \
      "$(awk -v t=$((wb - wa)) -v k="$ticks" -v e="$EVERY" 'BEGIN {print t * 100 / k / e}')" \
      $(( $(awk '/VmRSS/ {print $2}' "/proc/$app/status") / 1024 )) "$(awk -v s="$size" 'BEGIN {print s / 1e9}')"
  done
else
  sleep "$seconds"
fi
end=$(cpu)
wend=$(wcpu)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
# SHOT=file.png keeps what the screen showed at the end (needs x11-apps and imagemagick).
[ -n "${SHOT:-}" ] && DISPLAY=$display xwd -root -silent | convert xwd:- "$SHOT"
echo "${PAGE:-meter} page, rate $rate Hz, ${SECTION:-components} shown${RECORD:+, recording}, over $seconds s: CPU $(( (end - start) * 100 / ticks / seconds ))% of one core${writer:+ (writer thread $(( (wend - wstart) * 100 / ticks / seconds ))%)}, RSS $((rss / 1024)) MiB"
