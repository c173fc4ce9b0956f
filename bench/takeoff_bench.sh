#!/usr/bin/env bash
# Take-off of a generated plan into a throwaway PostgreSQL server: the time
# `mto` takes, and rows written per second.
#
#   bash bench/takeoff_bench.sh [ROOMS] [BUILD]       (default 50000, build/)
#
# The plan is bench/out/floorplan_ROOMS_s1_R2013.dxf (made with
# gen_floorplan.py when missing). It is registered as one drawing of one
# floor; the server lives in BUILD/bench-pgserver and is stopped at the end.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ROOMS="${1:-50000}"
BUILD="${2:-$ROOT/build}"
PLAN="$ROOT/bench/out/floorplan_${ROOMS}_s1_R2013.dxf"
WORK="$BUILD/bench-takeoff"
mkdir -p "$ROOT/bench/out" "$WORK"
if [ ! -f "$PLAN" ]; then
  /usr/bin/python3 "$ROOT/bench/gen_floorplan.py" --rooms "$ROOMS" --seed 1 --dxfversion R2013 --out "$PLAN"
fi
"$ROOT/scripts/pg-test-server.sh" start "$BUILD/bench-pgserver"
set -a
. "$BUILD/bench-pgserver/server.env"
set +a
trap '"$ROOT/scripts/pg-test-server.sh" stop "$BUILD/bench-pgserver"' EXIT
psql_run() {
  PGPASSWORD="$ZELKA_PG_PASSWORD" "$ZELKA_PG_BIN/psql" -X -q -At -h "$ZELKA_PG_HOST" -p "$ZELKA_PG_PORT" \
    -U "$ZELKA_PG_USER" -d "$ZELKA_PG_DATABASE" -c "$1"
}
NAME="$(basename "$PLAN")"
psql_run "insert into drawings (location_id, file_name) values (3, '$NAME')"
mkdir -p "$WORK/appdata/ZelkaSystems/Orvane/prefs"
cat > "$WORK/appdata/ZelkaSystems/Orvane/prefs/docmon.xml" << XML
<?xml version="1.0" encoding="UTF-8"?>
<documentMonitorPreferences xmlns="urn:zelkasystems:orvane:documentMonitor"><server>
<dbDatasource>$ZELKA_PG_HOST:$ZELKA_PG_PORT</dbDatasource><dbUserID>$ZELKA_PG_USER</dbUserID>
<dbPassword>$ZELKA_PG_PASSWORD</dbPassword><dbTimeout>600</dbTimeout></server></documentMonitorPreferences>
XML
echo "mto" > "$WORK/takeoff.scr"
start=$(date +%s.%N)
"$BUILD/bin/zelka" --appdata "$WORK/appdata" --script "$WORK/takeoff.scr" "$PLAN" > "$WORK/takeoff.log"
end=$(date +%s.%N)
tail -n 2 "$WORK/takeoff.log"
rooms=$(psql_run "select count(*) from locations where parent_id = 3 and kind = 'r'")
assets=$(psql_run "select count(*) from assets")
attributes=$(psql_run "select count(*) from asset_attributes")
rows=$((rooms + assets + attributes))
/usr/bin/python3 -c "
s = $end - $start
print('rooms %d, assets %d, asset attributes %d: %d rows in %.2f s (open, read and take-off), %.0f rows/s'
      % ($rooms, $assets, $attributes, $rows, s, $rows / s))"
