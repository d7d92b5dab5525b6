#!/bin/bash
# A whole set-up and uninstall of a sample Bramix installation, in a throwaway Wine
# prefix (no display needed: the prefix uses Wine's null graphics driver).
#
#  1. makes the prefix and an installation in "C:\Program Files\Bramix" as the installer
#     leaves it: dummy program files, the uninstaller and its list file "Uninstall.lst";
#     another program owns ".zip" and ".iso";
#  2. runs "uninstall.exe /setup" in the installation folder and answers its dialogs as a
#     user would (ISO ticked, then OK, then Done), and tells what was registered;
#  3. runs the uninstall entry's command, confirms, and shows that the installation is
#     gone and the earlier owners of ".zip" and ".iso" are back.
#
# Environment: BRAMIX_BUILD (default ./build), BRAMIX_DEMO_KEEP=1 keeps the prefix.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${BRAMIX_BUILD:=$here/../build}"
BRAMIX_BUILD=$(mkdir -p "$BRAMIX_BUILD" && cd "$BRAMIX_BUILD" && pwd)
export BRAMIX_BUILD
export BRAMIX_WINEPREFIX="$BRAMIX_BUILD/demo-prefix"
. "$here/wine-env.sh"

# 32-bit programs where the host runs them, else the 64-bit build.
arch=x86_64
if [ "$BRAMIX_RUNS_32BIT" = 1 ] && [ -f "$BRAMIX_BUILD/i686/bin/uninstall.exe" ]; then arch=i686; fi
bin="$BRAMIX_BUILD/$arch/bin"
uidriver="$bin/uidriver.exe"
for f in "$bin/uninstall.exe" "$uidriver"; do
    [ -f "$f" ] || { echo "demo: $f is missing; run 'make' first" >&2; exit 2; }
done

failures=0
step() { printf '\n==> %s\n' "$*"; }
say() { printf '    %s\n' "$*"; }
fail() { printf '    FAILED: %s\n' "$*"; failures=$((failures + 1)); }
wine_() { "$WINE" "$@" </dev/null 2>/dev/null; }

# The data of a registry value ("" for the default value); status 1 when it is missing.
regval() {
    local key=$1 name=${2:-} out
    if [ -n "$name" ]; then out=$(wine_ reg query "$key" /v "$name") || return 1
    else out=$(wine_ reg query "$key" /ve) || return 1; fi
    # Lines read: four blanks, the name, four blanks, the type, four blanks, the data.
    printf '%s\n' "$out" | tr -d '\r' | awk -F'    ' '$3 ~ /^REG_/ {
        d = $4; for (i = 5; i <= NF; i++) d = d FS $i
        if ($2 == "(Default)" && d == "(value not set)") exit  # how a missing default value reads
        print d; found = 1; exit } END { exit !found }'
}
regkey() { wine_ reg query "$1" >/dev/null; }
# A key tree as text, for before-and-after comparisons ("" when the key is missing).
regdump() {
    local file="C:\\bramix-demo-export.reg" unix="$WINEPREFIX/drive_c/bramix-demo-export.reg"
    rm -f "$unix"
    wine_ reg export "$1" "$file" /y >/dev/null && iconv -f UTF-16 -t UTF-8 "$unix" 2>/dev/null | tr -d '\r'
    rm -f "$unix"
}
winpath() { printf '%s' "$1" | sed "s|^$WINEPREFIX/drive_c|C:|; s|/|\\\\|g"; }
# The dialog's texts as the UI driver prints them, made readable.
show_controls() {
    awk '/^control / { on = 1; sub(/^control /, ""); sub(/ \([A-Za-z]*\): /, "] "); sub(/^/, "[");
                       sub(/^\[65535\] /, ""); print; next }
         /^(caption|message|icon): / { on = 0; next }
         on { print }' | while IFS= read -r line; do say "  $line"; done
}
# A stored choice, 0x1 or 0x0 as the registry tool prints it, in words.
onoff() { case "$1" in 0x0|0) echo off;; "") echo "not set";; *) echo on;; esac; }

cleanup() {
    "$here/prefix.sh" stop >/dev/null 2>&1
    if [ "${BRAMIX_DEMO_KEEP:-0}" = 1 ]; then echo "(prefix kept in $WINEPREFIX)"; else rm -rf "$WINEPREFIX"; fi
}

step "Making a throwaway Wine prefix ($WINEPREFIX, $arch programs, null graphics driver)"
rm -rf "$WINEPREFIX"
"$here/prefix.sh" start || { echo "demo: the Wine prefix could not be made" >&2; exit 2; }
trap cleanup EXIT

install_win='C:\Program Files\Bramix'
install="$WINEPREFIX/drive_c/Program Files/Bramix"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bramix archiver'
app_paths_key='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Bramix.exe'
clsid='{B41DB860-8EE4-11D2-9906-E49FADC173CA}'

step "Installing the sample into $install_win, as the installer leaves it"
mkdir -p "$install"
cp "$bin/uninstall.exe" "$install/uninstall.exe"
# A program that only notes how it was started serves as Bramix.
if [ -f "$bin/fake_program.exe" ]; then cp "$bin/fake_program.exe" "$install/Bramix.exe"
else printf 'MZ (sample Bramix)\n' > "$install/Bramix.exe"; fi
printf 'MZ (sample shell extension)\n' > "$install/qyxext.dll"
printf '?_ (sample help file)\n' > "$install/bramix.hlp"
printf 'Console QYX manual (sample)\r\n' > "$install/Qyx.txt"
printf 'Bramix licence (sample)\r\n' > "$install/license.txt"
printf 'Bramix price list (sample)\r\n' > "$install/order.txt"
# The installer lists what it installed, and the two templates that set-up will make.
printf '%s\r\n' Bramix.exe qyxext.dll bramix.hlp Qyx.txt license.txt order.txt qyxnew.dat zipnew.dat \
    uninstall.exe > "$install/Uninstall.lst"
for f in "$install"/*; do say "$(basename "$f")"; done

step "Another program owns \".zip\" and \".iso\""
cat > "$WINEPREFIX/drive_c/bramix-demo-owners.reg" <<'REG'
REGEDIT4

[HKEY_CLASSES_ROOT\.zip]
@="OtherZip.Archive"
"Content Type"="application/x-zip-compressed"

[HKEY_CLASSES_ROOT\.zip\ShellNew]
"FileName"="otherzip-empty.zip"

[HKEY_CLASSES_ROOT\OtherZip.Archive]
@="Other ZIP archive"

[HKEY_CLASSES_ROOT\OtherZip.Archive\shell\open\command]
@="\"C:\\Program Files\\OtherZip\\otherzip.exe\" \"%1\""

[HKEY_CLASSES_ROOT\.iso]
@="OtherDisc.Image"

[HKEY_CLASSES_ROOT\OtherDisc.Image]
@="Disc image"
REG
wine_ regedit /S 'C:\bramix-demo-owners.reg'
rm -f "$WINEPREFIX/drive_c/bramix-demo-owners.reg"
before_zip=$(regdump 'HKCR\.zip')
before_iso=$(regdump 'HKCR\.iso')
say ".zip -> $(regval 'HKCR\.zip') (Content Type $(regval 'HKCR\.zip' 'Content Type'))"
say ".iso -> $(regval 'HKCR\.iso')"

step "Set-up: \"uninstall.exe /setup\" started in the installation folder"
(cd "$install" && exec "$WINE" uninstall.exe /setup </dev/null >/dev/null 2>&1) &
setup_pid=$!
if out=$(wine_ "$uidriver" show "Bramix Setup" 30000); then
    say "The set-up dialog \"Bramix Setup\" shows:"
    printf '%s\n' "$out" | show_controls
    say "ISO starts unticked because another program owns \".iso\"; the demo ticks it, then presses OK."
    wine_ "$uidriver" press "Bramix Setup" 5112 >/dev/null
    sleep 0.5
    wine_ "$uidriver" press "Bramix Setup" 1 >/dev/null
else
    fail "the set-up dialog did not appear"
fi
# The completion dialog has the same caption: it is the one with the "Done" button.
done_out=""
for _ in $(seq 1 100); do
    out=$(wine_ "$uidriver" show "Bramix Setup" 1000) || true
    if printf '%s' "$out" | grep -q '(Button): Done'; then done_out=$out; break; fi
    kill -0 "$setup_pid" 2>/dev/null || break
    sleep 0.3
done
if [ -n "$done_out" ]; then
    say "The completion dialog shows:"
    printf '%s\n' "$done_out" | show_controls
    say "The demo presses Done."
    wine_ "$uidriver" press "Bramix Setup" 1 >/dev/null
else
    fail "the completion dialog did not appear"
fi
for _ in $(seq 1 150); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$setup_pid" 2>/dev/null; then fail "set-up did not end"; kill "$setup_pid"; fi
wait "$setup_pid" 2>/dev/null

step "What set-up registered"
owned=() kept=()
for e in .qyx .zip .cab .arj .lzh .lha .ace .tar .gz .tgz .uue .xxe .uu .bz2 .tbz2 .bz .tbz .jar .iso; do
    t=$(regval "HKCR\\$e") || t=""
    case "$t" in Bramix|Bramix.ZIP) owned+=("$e");; *) kept+=("$e");; esac
done
say "Bramix now opens ${#owned[@]} extensions: ${owned[*]}"
[ ${#kept[@]} -eq 0 ] || say "Not Bramix's: ${kept[*]}"
for e in .zip .iso; do
    t=$(regval "HKCR\\$e") || t="(none)"
    b=$(regval "HKCU\\Software\\Bramix\\Setup\\$e" Type) || b="(no backup)"
    say "\"$e\" -> $t; its previous owner \"$b\" is kept in HKCU\\Software\\Bramix\\Setup\\$e"
done
[ "$(regval 'HKCR\.zip')" = Bramix.ZIP ] || fail "\".zip\" was not taken over"
[ "$(regval 'HKCR\.iso')" = Bramix ] || fail "\".iso\" was not taken over"
# One export of the classes instead of a hundred questions.
volumes=$(regdump 'HKCR' | awk '/^\[HKEY_CLASSES_ROOT\\\.[qQ][0-9][0-9]\]$/ { k = 1; next } /^\[/ { k = 0 }
    k && $0 == "@=\"Bramix\"" { n++ } END { print n + 0 }')
say "Multi-volume parts: $volumes extensions from .q00 on belong to Bramix"
for t in Bramix Bramix.ZIP Bramix.REV; do
    say "File type \"$t\" ($(regval "HKCR\\$t")): opens with $(regval "HKCR\\$t\\shell\\open\\command"), icon $(regval "HKCR\\$t\\DefaultIcon")"
done
say "\".rev\" -> $(regval 'HKCR\.rev')"
for e in .qyx .zip; do
    f=$(regval "HKCR\\$e\\ShellNew" FileName) && say "Explorer's \"New\" menu makes an empty \"$e\" from $f"
done
if srv=$(regval "HKCR\\CLSID\\$clsid\\InProcServer32"); then
    say "Shell extension $clsid: $srv ($(regval "HKCR\\CLSID\\$clsid\\InProcServer32" ThreadingModel)),"
    say "  approved as \"$(regval 'HKLM\Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved' "$clsid")\","
    say "  in the context menus of all files, folders and directories, on drag and drop onto folders and drives"
else
    fail "the shell extension was not registered"
fi
say "App Paths: Bramix.exe = $(regval "$app_paths_key"), Path = $(regval "$app_paths_key" Path)"
if name=$(regval "$uninstall_key" DisplayName); then
    say "Uninstall entry \"$name\": $(regval "$uninstall_key" UninstallString)"
else
    fail "no uninstall entry"
fi
say "Saved choices in HKCU\\Software\\Bramix\\Setup: shell integration $(onoff "$(regval 'HKCU\Software\Bramix\Setup' ShellExt)"), program group $(onoff "$(regval 'HKCU\Software\Bramix\Setup\Links' Programs)"), desktop link $(onoff "$(regval 'HKCU\Software\Bramix\Setup\Links' Desktop)"), start-menu link $(onoff "$(regval 'HKCU\Software\Bramix\Setup\Links' StartMenu)")"
links=$(find "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" -iname '*.lnk' -path '*Bramix*' 2>/dev/null | sort)
if [ -n "$links" ]; then
    say "Links:"
    while IFS= read -r l; do say "  $(winpath "$l")"; done <<< "$links"
else
    fail "no links were made"
fi
# The shell window that shows the group: a process of the prefix's own (no "ps" needed).
group_pid="" group_args=""
for p in /proc/[0-9]*; do
    args=$(tr '\0' ' ' < "$p/cmdline" 2>/dev/null) || continue
    case "$args" in *explorer.exe*'Programs\Bramix'*) group_pid=${p#/proc/} group_args=$args; break;; esac
done
if [ -n "$group_pid" ]; then
    group_args=$(printf "%s" "$group_args" | sed "s/ *$//")
    say "The program group was opened in a shell window: ${group_args#*explorer.exe }"
    kill "$group_pid" 2>/dev/null  # the demo has no use for that window
else
    fail "the program group was not opened"
fi

step "Uninstall: the uninstall entry's command, confirmed"
command=$(regval "$uninstall_key" UninstallString) || command="$install_win\\uninstall.exe"
say "Running: $command"
"$WINE" "$command" </dev/null >/dev/null 2>&1 &
uninstall_pid=$!
if out=$(wine_ "$uidriver" press "Uninstall Bramix" 6 30000); then
    say "It asked: \"$(printf '%s\n' "$out" | sed -n 's/^message: //p')\" - the demo answers Yes."
else
    fail "no confirmation was asked"
fi
wait "$uninstall_pid" 2>/dev/null
say "The uninstaller ended; its script removes the uninstaller and the folder..."
for _ in $(seq 1 150); do [ -e "$install" ] || break; sleep 0.2; done
if out=$(wine_ "$uidriver" show "Uninstall Bramix" 1000); then
    fail "a warning appeared: $(printf '%s\n' "$out" | sed -n 's/^message: //p')"
    wine_ "$uidriver" press "Uninstall Bramix" 1 >/dev/null
fi

step "After the uninstall"
if [ -e "$install" ]; then fail "$install_win is still there: $(ls -A "$install" | tr '\n' ' ')"
else say "$install_win is gone"; fi
links=$(find "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" -ipath '*Bramix*' 2>/dev/null)
if [ -n "$links" ]; then
    fail "links are left:"
    while IFS= read -r l; do say "  $(winpath "$l")"; done <<< "$links"
else
    say "No link and no program group is left"
fi
left=()
for k in 'HKCR\Bramix' 'HKCR\Bramix.ZIP' 'HKCR\Bramix.REV' 'HKCR\.rev' "HKCR\\CLSID\\$clsid" 'HKCU\Software\Bramix' \
         "$uninstall_key" "$app_paths_key" 'HKCR\.qyx' 'HKCR\.q00' 'HKCR\.cab' 'HKCR\.jar'; do
    regkey "$k" && left+=("$k")
done
regval 'HKLM\Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved' "$clsid" >/dev/null &&
    left+=("the shell extension's approval")
if [ ${#left[@]} -eq 0 ]; then
    say "The file types, the extensions Bramix had, the shell extension, App Paths, the uninstall entry"
    say "and the settings key are all gone"
else
    fail "still registered: ${left[*]}"
fi
say "\".zip\" -> $(regval 'HKCR\.zip') (Content Type $(regval 'HKCR\.zip' 'Content Type'), new file $(regval 'HKCR\.zip\ShellNew' FileName))"
say "\".iso\" -> $(regval 'HKCR\.iso')"
if [ "$(regdump 'HKCR\.zip')" = "$before_zip" ] && [ "$(regdump 'HKCR\.iso')" = "$before_iso" ]; then
    say "Both keys are exactly as they were before set-up: the earlier owners are back"
else
    fail "\".zip\" or \".iso\" differs from before set-up"
fi
empty=()
for k in '*\shellex\ContextMenuHandlers' 'Folder\shellex\ContextMenuHandlers' 'Folder\shellex\DragDropHandlers' \
         'Drive\shellex\DragDropHandlers' 'Directory\shellex\ContextMenuHandlers' 'Directory\shellex\DragDropHandlers'; do
    if v=$(regval "HKCR\\$k\\Bramix") && [ -n "$v" ]; then fail "HKCR\\$k\\Bramix still names $v"
    elif regkey "HKCR\\$k\\Bramix"; then empty+=("$k\\Bramix"); fi
done
[ ${#empty[@]} -eq 0 ] || say "Left by design, without a value (the shell ignores them): ${empty[*]}"

if [ "$failures" -eq 0 ]; then step "Demo complete: installed, registered, uninstalled, earlier owners restored"
else step "Demo finished with $failures failure(s)"; fi
[ "$failures" -eq 0 ]
