#!/usr/bin/env bash
# The whole program with the meter page shown under Xvfb and the simulated probe
# acquiring at RATE Hz in blocks of 1000: CPU of the process (percent of one core)
# over SECONDS, and its resident memory at the end.
#   bash bench/meter_cpu.sh 10000 60
#   SECTION=plot bash bench/meter_cpu.sh 100000 60
# Needs a build (scripts/build.sh), Xvfb and xdotool (apt-get install xdotool).
set -euo pipefail
rate=${1:-10000}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
home=$(mktemp -d)
data=$home/data/Tesvana
mkdir -p "$data"
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
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
sleep 1
HOME=$home XDG_DATA_HOME=$home/data DISPLAY=$display "$root/build/bin/Tesvana" >/dev/null 2>&1 &
app=$!
sleep 5
# The meter page is shown (default instrument); Resume starts the acquisition.
window=$(DISPLAY=$display xdotool search --name Tesvana | head -1)
DISPLAY=$display xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
read -r x y < <(DISPLAY=$display xdotool getwindowgeometry "$window" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
DISPLAY=$display xdotool mousemove $((x + 57)) $((y + 575)) click 1
sleep 1
# SECTION=plot shows the chart instead of the numbers.
if [ "${SECTION:-}" = plot ]; then
  DISPLAY=$display xdotool mousemove $((x + 400)) $((y + 27)) click 1
fi
sleep 2
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$app/stat"; }
start=$(cpu)
[ -n "${PROFILE:-}" ] && perf record -g -o "$PROFILE" -p "$app" -- sleep 10 >/dev/null 2>&1
sleep "$seconds"
end=$(cpu)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
echo "rate $rate Hz, ${SECTION:-components} shown, over $seconds s: CPU $(( (end - start) * 100 / ticks / seconds ))% of one core, RSS $((rss / 1024)) MiB"
