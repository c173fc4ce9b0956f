#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zelka's main job on the bundled
# example: the office floor plan examples/office.dxf, worked through by
# examples/office.scr (list the spaces, recalculate them, bring their labels
# in line, list them again, export the room areas to CSV, colour the plan by
# use with the graphic report examples/office-report.xml, its legend and pie
# chart at the plan's marker blocks), then saved as a copy and plotted to PNG
# and PDF.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
zelka_install_packages "${ZELKA_PACKAGES[@]}"
zelka_build

ZELKA="$ZELKA_BUILD/bin/zelka"
OUT="$ZELKA_BUILD/example"
APPDATA="$OUT/appdata"
mkdir -p "$OUT"
"$ZELKA" --version

# The example has its own application-data folder. Its first run, a batch
# run, writes the default preferences there (metres, two decimals, no CSV
# opener) and says so in the transcript.

# Work on a copy: the CSV is written beside the drawing, and the bundled plan stays as it is.
# The script names the report file as a user would at the prompt, from the
# folder zelka runs in.
cp "$ZELKA_ROOT/examples/office.dxf" "$OUT/office.dxf"
cp "$ZELKA_ROOT/examples/office-report.xml" "$OUT/office-report.xml"
status=0
(cd "$OUT" && "$ZELKA" --appdata "$APPDATA" --script "$ZELKA_ROOT/examples/office.scr" \
  --save-as "$OUT/office-updated.dxf" "$OUT/office.dxf") > "$OUT/office.log" || status=$?

# The updated plan plotted as a picture and a PDF (its current layout with its
# plot settings; the office plan's model layout was never set up, so its
# extents, scaled to fit and centred on ISO A3 landscape).
if [ "$status" -eq 0 ]; then
  "$ZELKA" --appdata "$APPDATA" --command "EXPORT
$OUT/office-plan.png
EXPORT
$OUT/office-plan.pdf" "$OUT/office-updated.dxf" >> "$OUT/office.log" || status=$?
fi

cat "$OUT/office.log"
echo

# The take-off: the office plan goes into a property database on a throwaway
# local PostgreSQL server (the reference database with the office's demo
# data), what landed is printed, and the server stops again.
takeoff_status=0
PGDIR="$OUT/pgserver"
if "$ZELKA_ROOT/scripts/pg-test-server.sh" start "$PGDIR" > "$OUT/pgserver.log" 2>&1; then
  set -a
  # shellcheck disable=SC1091
  . "$PGDIR/server.env"
  set +a
  TAKEOFF="$OUT/takeoff"
  mkdir -p "$TAKEOFF/appdata/ZelkaSystems/Orvane/prefs"
  cp "$ZELKA_ROOT/examples/office.dxf" "$TAKEOFF/office.dxf"
  cat > "$TAKEOFF/appdata/ZelkaSystems/Orvane/prefs/docmon.xml" << XML
<?xml version="1.0" encoding="UTF-8"?>
<documentMonitorPreferences xmlns="urn:zelkasystems:orvane:documentMonitor">
  <server>
    <acadErrorLogFilePath>$TAKEOFF/errors.xml</acadErrorLogFilePath>
    <dbDatasource>$ZELKA_PG_HOST:$ZELKA_PG_PORT</dbDatasource>
    <dbUserID>$ZELKA_PG_USER</dbUserID>
    <dbPassword>$ZELKA_PG_PASSWORD</dbPassword>
    <dbInitialCatalog>$ZELKA_PG_DATABASE</dbInitialCatalog>
    <dbTimeout>30</dbTimeout>
  </server>
</documentMonitorPreferences>
XML
  echo "mto" > "$TAKEOFF/takeoff.scr"
  "$ZELKA" --appdata "$TAKEOFF/appdata" --script "$TAKEOFF/takeoff.scr" "$TAKEOFF/office.dxf" \
    > "$TAKEOFF/takeoff.log" || takeoff_status=$?
  cat "$TAKEOFF/takeoff.log"
  echo
  echo "In the property database (floor 'Ground Floor' of 'Head Office'):"
  PGPASSWORD="$ZELKA_PG_PASSWORD" "$ZELKA_PG_BIN/psql" -X -h "$ZELKA_PG_HOST" -p "$ZELKA_PG_PORT" \
    -U "$ZELKA_PG_USER" -d "$ZELKA_PG_DATABASE" -c "
      select l.handle, l.name, l.area, l.perimeter, count(a.handle) as assets
        from locations l left join assets a on a.location_id = l.id
       where l.parent_id = 3 group by l.id order by l.handle" || takeoff_status=$?
  "$ZELKA_ROOT/scripts/pg-test-server.sh" stop "$PGDIR" || true
else
  echo "The take-off into a local property database is skipped: PostgreSQL could not start."
  cat "$OUT/pgserver.log"
fi
echo
echo "Command-line transcript: $OUT/office.log"
echo "Room areas (CSV):        $OUT/office.csv"
echo "Updated drawing (DXF):   $OUT/office-updated.dxf (coloured by examples/office-report.xml)"
echo "Plan as a picture (PNG): $OUT/office-plan.png"
echo "Plan as a PDF:           $OUT/office-plan.pdf"
echo "Drawing worked on:       $OUT/office.dxf (a copy of examples/office.dxf, left unsaved)"
echo "Preferences:             $APPDATA/ZelkaSystems/Orvane/prefs/prefs.cfg"
echo "Take-off transcript:     $OUT/takeoff/takeoff.log"
[ "$status" -ne 0 ] && exit "$status"
exit "$takeoff_status"
