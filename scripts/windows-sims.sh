# Sourced by the Windows test and benchmark scripts once build-win/ is configured: starts Linux
# simulators (register and scanner) on pseudo-terminals and links each into the Wine prefix of
# build-win/ as a COM port, so that the Windows programs go through the Win32 serial functions. Each
# port is named to the programs as KKT_COM_<ROLE>; everything is stopped when the calling script ends.

# The simulators are Linux programs: those of the Linux build named by KKT_SIM_BUILD (build/ by
# default), which is made as a plain build of the simulator alone when it does not exist.
host=${KKT_SIM_BUILD:-build}
if [ ! -f "$host/CMakeCache.txt" ]; then
  cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$host" -j2 --target kkt-sim
sim="$root/$host/kkt-sim"

export WINEPREFIX="$root/build-win/wine" WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
fi
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime" ASAN_OPTIONS=detect_leaks=0
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -f "$WINEPREFIX"/dosdevices/com{1[1-9],2[0-9]}
  rm -rf "$work"
}
trap cleanup EXIT

# Links pseudo-terminal $2 into the prefix as COM port $1 and names it to the tests as role $3.
link_port() {
  ln -sfn "$2" "$WINEPREFIX/dosdevices/com$1"
  export "KKT_COM_$3=COM$1"
}
# A register simulator: COM number, role, then kkt-sim's options. Its standard input stays open
# until this script ends (a simulator stops at the end of its input).
start_register() {
  local n=$1 role=$2
  shift 2
  mkfifo "$work/in-$role"
  "$sim" --name "kkt-sim-w$n" "$@" < "$work/in-$role" > "$work/out-$role" 2>"$work/err-$role" &
  pids+=($!)
  exec {fd}>"$work/in-$role"
  for _ in $(seq 100); do [ -s "$work/out-$role" ] && break; sleep 0.05; done
  link_port "$n" "$(head -n1 "$work/out-$role")" "$role"
}

start_register 11 FRESH
start_register 12 TABLES
start_register 13 COPY_SOURCE --demo-data
start_register 14 COPY_TARGET
start_register 15 FAST --baud 115200
start_register 16 SLOW --baud 19200
start_register 17 SILENT --fault "silence always"
start_register 18 CHECKSUM --fault "checksum 1000000"
start_register 19 BUSY --fault "repeat 21 1000000"
start_register 20 VANISH --fault "close 1"
link_port 21 /dev/null NOTSERIAL       # opens, but is no serial line
export KKT_COM_MISSING=COM22           # no device at all

# The scanner sends every line the tests append to its input file.
touch "$work/scanner-input"
mkfifo "$work/scanner-pipe"
tail -n +1 -f "$work/scanner-input" > "$work/scanner-pipe" &
pids+=($!)
"$sim" --scanner --name kkt-sim-w-scanner --first-delay 0 --code-pause 50 < "$work/scanner-pipe" \
  > "$work/out-scanner" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/out-scanner" ] && break; sleep 0.05; done
link_port 23 "$(sed -n '1s/.*(\(.*\)).*/\1/p' "$work/out-scanner")" SCANNER
export KKT_SCANNER_INPUT="Z:${work//\//\\}\\scanner-input"
export KKT_SOURCE_DIR="Z:${root//\//\\}"

