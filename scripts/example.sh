#!/usr/bin/env bash
# Installs what is missing, builds, and runs Zelka's main job on the bundled
# example: the office floor plan examples/office.dxf, worked through by
# examples/office.scr (list the spaces, recalculate them, bring their labels
# in line, list them again, export the room areas to CSV, colour the plan by
# use with the graphic report examples/office-report.xml, its legend and pie
# chart at the plan's marker blocks), then saved as a copy.
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

cat "$OUT/office.log"
echo
echo "Command-line transcript: $OUT/office.log"
echo "Room areas (CSV):        $OUT/office.csv"
echo "Updated drawing (DXF):   $OUT/office-updated.dxf (coloured by examples/office-report.xml)"
echo "Drawing worked on:       $OUT/office.dxf (a copy of examples/office.dxf, left unsaved)"
echo "Preferences:             $APPDATA/ZelkaSystems/Orvane/prefs/prefs.cfg"
exit "$status"
