# Sourced by the scripts that take pictures of the dialogs (tools/screenshots.sh,
# tools/lngtool/example-screenshot.sh), with root set to the repository. Checks the x86_64
# build, starts a virtual X server (Xvfb) on a display number nobody uses and makes a
# throwaway Wine prefix with the X11 driver, windows that Wine frames itself (no window
# manager runs on the virtual screen) and Wine's own fonts (Debian package fonts-wine,
# fetched into that prefix only) for the usual glyphs of captions and check marks. The
# project's prefix (null driver) is left alone. Sets bin, work, fonts, DISPLAY,
# WINEPREFIX and HOME; everything goes at the script's exit.
. "$root/tools/wine-env.sh"
bin="$BRAMIX_BUILD/x86_64/bin"
for f in uninstall.exe dialogs_shots.exe; do
    [ -f "$bin/$f" ] || { echo "missing $bin/$f: run make x86_64 first" >&2; exit 1; }
done
for tool in Xvfb python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool: run tools/install-deps.sh" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
shot_cleanup() {
    WINEPREFIX="$work/prefix" "$WINESERVER" -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap shot_cleanup EXIT

display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display" WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1

fonts="$WINEPREFIX/drive_c/windows/Fonts"
if (cd "$work" && apt-get download fonts-wine >/dev/null 2>&1); then
    dpkg -x "$work"/fonts-wine_*.deb "$work/fonts-wine"
    mkdir -p "$fonts"
    cp "$work"/fonts-wine/usr/share/wine/fonts/* "$fonts/"
else
    echo "note: fonts-wine could not be fetched; the system's fonts stand in" >&2
fi
