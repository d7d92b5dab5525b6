#!/bin/bash
# Takes docs/examples/german-setup.png: the set-up dialog of "uninstall.exe /setup" with
# the example language file docs/examples/german.lng, cancelled once it is shown, so
# nothing is applied. Drawn by Wine's X11 driver on a virtual X server, in a throwaway
# prefix (the project's prefix is left alone), with tests/lang/dialogs_shots.cpp, as
# tools/screenshots.sh does for its pictures.
# Needs the x86_64 build (make x86_64), Xvfb and python3.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/wine-env.sh"
bin="$BRAMIX_BUILD/x86_64/bin"
for f in uninstall.exe dialogs_shots.exe; do
    [ -f "$bin/$f" ] || { echo "missing $bin/$f: run make x86_64 first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    WINEPREFIX="$work/prefix" "$WINESERVER" -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display" WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
# No window manager runs: Wine frames the windows itself.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
# Wine's own fonts give captions and check marks their usual glyphs.
if (cd "$work" && apt-get download fonts-wine >/dev/null 2>&1); then
    dpkg -x "$work"/fonts-wine_*.deb "$work/fonts-wine"
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$work"/fonts-wine/usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
else
    echo "note: fonts-wine could not be fetched; the system's fonts stand in" >&2
fi

folder="$WINEPREFIX/drive_c/Bramix"
mkdir -p "$folder/shots"
cp "$bin/uninstall.exe" "$folder/"
cp "$root/docs/examples/german.lng" "$folder/uninstall.lng"
"$WINE" "$bin/dialogs_shots.exe" 'C:\Bramix\uninstall.exe /setup' 'C:\Bramix' 'C:\Bramix\shots' \
    wait shot:setup end:2 </dev/null
python3 - "$folder/shots/setup.bmp" "$root/docs/examples/german-setup.png" <<'PYTHON'
# A 24-bit BMP file as a PNG file, with nothing but the standard library.
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert data[:2] == b"BM" and bits == 24, "not a 24-bit BMP file"
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    start = offset + (y if height < 0 else abs(height) - 1 - y) * stride
    bgr = data[start:start + width * 3]
    rgb = bytearray(bgr)
    rgb[0::3], rgb[2::3] = bgr[2::3], bgr[0::3]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(sys.argv[2], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
PYTHON
echo "saved docs/examples/german-setup.png"
