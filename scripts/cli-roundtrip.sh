#!/usr/bin/env bash
# A short round trip with kkt-cli against kkt-sim, for machines without a display: writes sample
# cashiers and goods from small CSV files into a fresh simulated register, reads them back and shows
# them. Needs build/kkt-cli and build/kkt-sim (cmake --build build --target kkt-cli kkt-sim).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for program in kkt-cli kkt-sim; do
  if [ ! -x "build/$program" ]; then
    echo "build/$program is missing: cmake --build build --target kkt-cli kkt-sim" >&2
    exit 2
  fi
done

# Its own folders: the simulator is published there, and no user settings are read or created.
work=$(mktemp -d "${TMPDIR:-/tmp}/kkt-roundtrip.XXXXXX")
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/config"
: > "$work/ProgSett.ini"

build/kkt-sim --name kkt-sim-roundtrip < /dev/null > "$work/sim.out" 2> "$work/sim.err" &
sim=$!
cleanup() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ "$(wc -l < "$work/sim.out")" -ge 2 ] && break; sleep 0.1; done
port=$(sed -n 2p "$work/sim.out")
if [ -z "$port" ]; then
  echo "kkt-sim did not start:" >&2
  cat "$work/sim.err" >&2
  exit 1
fi
echo "kkt-sim serves $(sed -n 1p "$work/sim.out"), published as $port"

cli() {
  echo "\$ kkt-cli --port $port $*"
  build/kkt-cli --settings "$work/ProgSett.ini" --port "$port" --speed 115200 "$@"
}

cat > "$work/cashiers.csv" <<'CSV'
Опер. №,Должность,ФИО,Пароль,ИНН кассира
1,Администратор,Иванова Анна,30,
2,Кассир,"Петров, Сергей",1,
3,Кассир,Сидорова Мария,2,
CSV
cat > "$work/goods.csv" <<'CSV'
Код товара,Наименование,Штрих-код,Признак маркировки,Цена,Секция,Количество
1,Молоко 3.2% 1 л,4600000000017,,"89,99",1,"10,000"
2,"Хлеб ""Бородинский""",4601234567890,,"45,50",1,"5,000"
3,Сигареты,4607000000011,м,"180,00",2,"1,000"
CSV

cli status
cli write operators --input "$work/cashiers.csv" --range 1-3
cli write goods --input "$work/goods.csv" --range 1-3
cli read operators --range 1-3
cli read goods --range 1-3
