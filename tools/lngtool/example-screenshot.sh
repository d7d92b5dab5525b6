#!/bin/bash
# Takes docs/examples/german-setup.png: the set-up dialog of "uninstall.exe /setup" with
# the example language file docs/examples/german.lng, cancelled once it is shown, so
# nothing is applied. Drawn by Wine's X11 driver on a virtual X server, in a throwaway
# prefix (the project's prefix is left alone), with tests/lang/dialogs_shots.cpp, as
# tools/screenshots.sh does for its pictures.
# Needs the x86_64 build (make x86_64), Xvfb and python3.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/shot-env.sh"

folder="$WINEPREFIX/drive_c/Bramix"
mkdir -p "$folder/shots"
cp "$bin/uninstall.exe" "$folder/"
cp "$root/docs/examples/german.lng" "$folder/uninstall.lng"
"$WINE" "$bin/dialogs_shots.exe" 'C:\Bramix\uninstall.exe /setup' 'C:\Bramix' 'C:\Bramix\shots' \
    wait shot:setup end:2 </dev/null
python3 "$root/tools/bmp2png.py" "$folder/shots/setup.bmp" "$root/docs/examples/german-setup.png"
echo "saved docs/examples/german-setup.png"
