#!/usr/bin/env bash
# Batch report preparation: reports per minute with 1, 2 and 4 workers.
#
#   bash bench/batch_bench.sh [REPORTS] [BUILD]        (default 120, build/)
#
# Twenty plans of 12 rooms (tests/batch/gen_plans.py) get REPORTS reports
# between them, each hatching every room and plotting a PDF with its XML
# beside it. For each worker count the reports are queued afresh
# (zelka-batch queue) and prepared (zelka-batch --workers N); the wall time
# of the preparation gives reports per minute. The throwaway PostgreSQL
# server lives in BUILD/bench-pgserver and is stopped at the end.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
REPORTS="${1:-120}"
BUILD="${2:-$ROOT/build}"
WORK="$BUILD/bench-batch"
rm -rf "$WORK"
mkdir -p "$WORK/out" "$WORK/tmp"
/usr/bin/python3 "$ROOT/tests/batch/gen_plans.py" 20 12 "$WORK/plans"
"$ROOT/scripts/pg-test-server.sh" start "$BUILD/bench-pgserver"
set -a
. "$BUILD/bench-pgserver/server.env"
set +a
trap '"$ROOT/scripts/pg-test-server.sh" stop "$BUILD/bench-pgserver"' EXIT
cat > "$WORK/docmon.xml" << XML
<?xml version="1.0" encoding="UTF-8"?>
<documentMonitorPreferences xmlns="urn:zelkasystems:orvane:documentMonitor"><server>
<dbDatasource>$ZELKA_PG_HOST:$ZELKA_PG_PORT</dbDatasource><dbUserID>$ZELKA_PG_USER</dbUserID>
<dbPassword>$ZELKA_PG_PASSWORD</dbPassword><dbTimeout>60</dbTimeout>
<graphRepOutPath>$WORK/out/</graphRepOutPath><acadTempDirectory>$WORK/tmp/</acadTempDirectory>
<acadErrorLogFilePath>$WORK/errors.xml</acadErrorLogFilePath></server></documentMonitorPreferences>
XML
cat > "$WORK/every-room.xml" << XML
<?xml version="1.0" encoding="UTF-8"?>
<graphicReport xmlns="urn:zelkasystems:orvane:documentMonitor">
<grTitle>Every room</grTitle><grDrawingPath>$WORK/plans/</grDrawingPath><grDrawingFilename>plan-01.dxf</grDrawingFilename>
<grPlotTypeID>1</grPlotTypeID><grPlotAreaTypeID>1</grPlotAreaTypeID><grPlotMediaSizeID>7</grPlotMediaSizeID>
<categories><category><cID>1</cID><cTitle>Rooms</cTitle><cHatchPattern>SOLID</cHatchPattern>
<cHatchColour>#00FF00</cHatchColour><cHatchScale>1</cHatchScale><cHatchAngle>0</cHatchAngle>
<cHatchLayer>GR-ALL</cHatchLayer><zelkaBlocks><zelkaBlock><mbHandle>*</mbHandle></zelkaBlock></zelkaBlocks>
</category></categories><layersOn><layerOn><loName>ROOMS</loName></layerOn></layersOn></graphicReport>
XML
{
  echo "report,drawing_filename,output_filename"
  for i in $(seq 1 "$REPORTS"); do
    printf 'every-room.xml,plan-%02d.dxf,r%04d\n' $(( (i - 1) % 20 + 1 )) "$i"
  done
} > "$WORK/list.csv"
BATCH="$BUILD/bin/zelka-batch"
for workers in 1 2 4; do
  status=$((100 + workers))
  PGPASSWORD="$ZELKA_PG_PASSWORD" "$ZELKA_PG_BIN/psql" -X -q -h "$ZELKA_PG_HOST" -p "$ZELKA_PG_PORT" \
    -U "$ZELKA_PG_USER" -d "$ZELKA_PG_DATABASE" -c "insert into statuses values ($status, 'bench $workers')"
  "$BATCH" queue "$WORK/list.csv" --settings "$WORK/docmon.xml" --status "$status" > "$WORK/queue-$workers.log"
  rm -f "$WORK"/out/*
  start=$(date +%s.%N)
  "$BATCH" --settings "$WORK/docmon.xml" --status "$status" --workers "$workers" --poll 0.2 --progress 30 \
    > "$WORK/run-$workers.log" 2>&1
  end=$(date +%s.%N)
  plots=$(ls "$WORK"/out/*.pdf | wc -l)
  /usr/bin/python3 -c "
s = $end - $start
print('workers %d: %d reports plotted in %.2f s, %.1f reports/min' % ($workers, $plots, s, $plots * 60 / s))"
  tail -n 1 "$WORK/run-$workers.log"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
