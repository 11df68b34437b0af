#!/bin/sh
# Starts the real program under a virtual X server on a generated folder and saves a picture
# of its window: screenshot.sh VELMORA MAKE_TEST_FOLDER GRAB_SCREEN OUT.png
set -eu
velmora=$1 make_folder=$2 grab=$3 out=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_folder" "$work/Music"
mkdir -p "$(dirname "$out")" "$work/config"
# A settings store of its own, so the picture does not depend on the user's.
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1100x760x24" sh -c '
    "$1" "$2" &
    pid=$!
    status=0
    "$3" "$4" || status=$?
    kill "$pid" 2>/dev/null || { echo "velmora ended before the picture was taken" >&2; status=1; }
    wait "$pid" 2>/dev/null || true
    exit "$status"' sh "$velmora" "$work/Music" "$grab" "$out"
test -s "$out"
echo "saved $out"
