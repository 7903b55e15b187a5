#!/usr/bin/env bash
# Builds the tool and runs it against the built-in register simulator.
# With a display: the window opens, the simulator is preselected as the port ("kkt-sim").
# Without one: says so, runs the window on a virtual display, confirms the link dialog and saves a
# screenshot of the main window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target kkt-config kkt-sim

# The demo keeps its own settings and register state, away from the user's own.
demo="$root/build/demo"
mkdir -p "$demo/config/kkt-config" "$demo/runtime"
chmod 700 "$demo/runtime"
export XDG_CONFIG_HOME="$demo/config"
export XDG_RUNTIME_DIR="$demo/runtime"
export ASAN_OPTIONS="detect_leaks=0"
if [ ! -f "$demo/config/kkt-config/ProgSett.ini" ]; then
  printf '[COM_PORT]\r\nName=\x7fkkt-sim\x7f\r\nSpeed=115200\r\nTimeOut=3500\r\n\r\n[COMMON]\r\nNumKKT=1\r\n\r\n' \
    > "$demo/config/kkt-config/ProgSett.ini"
fi

build/kkt-sim --name kkt-sim --state "$demo/register-state.json" --demo-data > "$demo/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$demo/sim.out" ] && break; sleep 0.1; done
echo "register simulator on $(head -n1 "$demo/sim.out"), published as kkt-sim"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  build/kkt-config
else
  echo "No display here: running the window on a virtual display and saving a screenshot instead."
  shot="$root/build/demo/main-window.png"
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    build/kkt-config & app=$!
    sleep 4
    xdotool key Return   # "Применить" in the start-up link dialog has the focus
    sleep 2
    import -window root "$1"
    kill $app' _ "$shot"
  echo "screenshot of the main window: $shot"
fi
