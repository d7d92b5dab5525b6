#!/bin/bash
# Makes, starts and stops the project's Wine prefix.
#   prefix.sh ensure   make the prefix if it is missing (throwaway HOME, null graphics driver)
#   prefix.sh start    ensure, then a persistent wineserver and one warm-up run
#   prefix.sh stop     end the prefix's server and services
#   prefix.sh families register the Windows version of every "<name>_9x.exe" / "<name>_me.exe" test copy
set -e
. "$(dirname "$0")/wine-env.sh"

ensure() {
    if [ ! -f "$WINEPREFIX/.bramix-ready" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        local home; home=$(mktemp -d)
        # The new prefix links Desktop and Documents into HOME: keep that HOME throwaway.
        HOME="$home" "$WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
        "$WINESERVER" -w || true
        # Replace the links into HOME by real folders inside the prefix.
        for d in "$WINEPREFIX"/drive_c/users/*/; do
            for f in "$d"*; do
                if [ -L "$f" ]; then rm -f "$f"; mkdir -p "$f"; fi
            done
        done
        rm -rf "$home"
        cat > "$WINEPREFIX/bramix.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"
REG
        "$WINE" regedit /S 'Z:'"$(echo "$WINEPREFIX/bramix.reg" | tr / '\\')" >/dev/null 2>&1 </dev/null
        "$WINESERVER" -w || true
        touch "$WINEPREFIX/.bramix-ready"
    fi
}

families() {
    local reg="$WINEPREFIX/families.reg" f n
    echo "REGEDIT4" > "$reg"
    for f in $(find "$BRAMIX_BUILD" -name '*_9x.exe' -o -name '*_me.exe' 2>/dev/null | grep -v wineprefix); do
        n=$(basename "$f")
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\n"Version"="%s"\n' "$n" \
            "$(case "$n" in *_9x.exe) echo win98;; *) echo winme;; esac)" >> "$reg"
    done
    "$WINE" regedit /S 'Z:'"$(echo "$reg" | tr / '\\')" >/dev/null 2>&1 </dev/null
}

start() {
    ensure
    # Detached, every stream on /dev/null: Wine's services must not inherit ctest's pipes.
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 &
    sleep 0.5
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

case "$1" in
    ensure) ensure ;;
    start) start ;;
    stop) "$WINESERVER" -k 2>/dev/null || true ;;
    families) families ;;
    *) echo "usage: $0 ensure|start|stop|families" >&2; exit 2 ;;
esac
