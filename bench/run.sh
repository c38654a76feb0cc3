#!/usr/bin/env bash
# Builds and runs the benchmarks: the calculation and one click (Google Benchmark), then start-up
# time and peak memory of quarn-ev against a bare Qt window and galculator, interleaved, under a
# private Xvfb, without and with a D-Bus session bus. Usage: bench/run.sh [RUNS]   (default 50)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-50}
scripts/install-deps.sh
for package in galculator dbus-daemon dbus-bin; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
done

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCH=ON >/dev/null
cmake --build build-bench --target quarn-ev calc_bench click_bench paste_bench bare_qt_window \
  startup_bench

echo "== calculation and click"
build-bench/bin/calc_bench --benchmark_min_time=0.2
build-bench/bin/click_bench --benchmark_min_time=0.2

echo "== 10 MB in each input field"
build-bench/bin/paste_bench

echo "== start-up under Xvfb, $runs interleaved runs after a warm-up"
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")" XDG_RUNTIME_DIR="$work"
programs=(quarn-ev=build-bench/bin/quarn-ev bare-qt=build-bench/bin/bare_qt_window
  galculator="$(command -v galculator)")
unset DBUS_SESSION_BUS_ADDRESS
echo "-- without a D-Bus session bus"
build-bench/bin/startup_bench "$runs" "${programs[@]}"
echo "-- with a private D-Bus session bus, as in a desktop session"
dbus-run-session -- build-bench/bin/startup_bench "$runs" "${programs[@]}" 2> >(grep -v 'fd limit' >&2)
