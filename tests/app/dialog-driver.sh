#!/usr/bin/env bash
# Runs the options dialog's test program on the virtual X server and takes
# the screenshots it asks for. A line "screenshot NAME X Y WIDTH HEIGHT" from
# the program: that part of the screen goes to SHOTS/NAME.png, and the
# program is told its number of distinct colours. Every other line is passed
# on. Ends with the program's status.
# Usage: dialog-driver.sh DISPLAY_FILE SHOTS COMMAND...
set -euo pipefail
display_file=$1 shots=$2
shift 2
[ -s "$display_file" ] || { echo "dialog-driver: no virtual X server ($display_file)" >&2; exit 1; }
export DISPLAY=":$(cat "$display_file")"
mkdir -p "$shots"

coproc TESTS { "$@" 2>&1; }
pid=$TESTS_PID  # gone from TESTS_PID once it ends
while IFS= read -r line <&"${TESTS[0]}"; do
  line=${line%$'\r'}
  if [[ $line =~ ^screenshot\ ([A-Za-z0-9_-]+)\ ([0-9]+)\ ([0-9]+)\ ([0-9]+)\ ([0-9]+)$ ]]; then
    shot="$shots/${BASH_REMATCH[1]}.png"
    geometry="${BASH_REMATCH[4]}x${BASH_REMATCH[5]}+${BASH_REMATCH[2]}+${BASH_REMATCH[3]}"
    colours=0
    if import -window root -crop "$geometry" +repage "$shot"; then
      colours=$(identify -format '%k' "$shot")
      echo "dialog-driver: $shot, $colours colours"
    fi
    echo "$colours" >&"${TESTS[1]}"
  else
    printf '%s\n' "$line"
  fi
done
wait "$pid"
