#!/bin/bash
# Takes the pictures in docs/screenshots/: the set-up, context-menu items and completion
# dialogs of "uninstall.exe /setup" in English, in a German translation that also
# rescales them, and in a Hebrew translation laid out right to left.
#
# The dialogs are drawn by Wine's X11 driver on a virtual X server (Xvfb), in a throwaway
# Wine prefix of their own: the project's prefix (null driver) is left alone. Each run
# installs into a folder of that prefix, presses its way through the three dialogs with
# tests/lang/dialogs_shots.cpp and turns the pictures into PNG files.
#
# Needs the x86_64 build (make x86_64), Xvfb, python3 and localedef (tools/install-deps.sh);
# tools/shot-env.sh makes the virtual screen and the prefix.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
command -v localedef >/dev/null || { echo "missing localedef: run tools/install-deps.sh" >&2; exit 1; }
. "$root/tools/shot-env.sh"

# The Hebrew run needs a Hebrew locale, so that Wine uses code page 1255; it is compiled
# into the work folder, not installed.
mkdir -p "$work/locale"
localedef -i he_IL -f UTF-8 "$work/locale/he_IL.UTF-8" >/dev/null 2>&1 ||
    [ -e "$work/locale/he_IL.UTF-8/LC_CTYPE" ] || { echo "cannot make the he_IL locale" >&2; exit 1; }

# The language files, keyed as the program keys dialog texts: CRC-32 of "$", the dialog's
# template name and the English text. The English texts are read from the templates, so
# that a text without a translation here is reported.
python3 - "$root/src/resources/dialogs.rc" "$work" <<'PYTHON'
import re, sys, zlib

rc_path, work = sys.argv[1], sys.argv[2]

# Template name -> English text -> (German, Hebrew). The Hebrew texts name the product
# in Hebrew letters and end (and, with leading blanks, begin) with a right-to-left mark
# (RLM, code page 1255 byte 0xFD): the controls keep a left-to-right reading order, so
# without the mark a closing full stop, ellipsis or bracket would show on the right.
R = "\u200f"
T = {
 "SETUPDLG": {
  "Bramix Setup": ("Bramix-Einrichtung", "התקנת ברמיקס"),
  "OK": ("OK", "אישור"),
  "Associate Bramix with": ("Bramix verknüpfen mit", "שייך לברמיקס את"),
  "Select &all": ("&Alle wählen", "בחר ה&כל"),
  "Interface": ("Oberfläche", "ממשק"),
  "Put Bramix to &Desktop": ("Bramix auf den &Desktop legen", "הצב את ברמיקס על &שולחן העבודה"),
  "Put Bramix to &Start Menu": ("Bramix ins &Startmenü aufnehmen", "הוסף את ברמיקס לתפריט &התחל"),
  "Create Bramix &program group": ("Bramix-&Programmgruppe anlegen", "צור &קבוצת תוכניות לברמיקס"),
  "&Integrate Bramix into shell": ("Bramix in die Shell &integrieren", "&שלב את ברמיקס במעטפת"),
  "Shell integration": ("Shell-Integration", "שילוב במעטפת"),
  "Cascaded con&text menus": ("Ver&schachtelte Kontextmenüs", "תפריטי הקשר &מדורגים"),
  "Ico&ns in context menus": ("Sy&mbole in Kontextmenüs", "&סמלים בתפריטי ההקשר"),
  "Help": ("Hilfe", "עזרה"),
  "   These options control integration of Bramix into Windows. The first group of options allows to choose archive types to handle by Bramix. The second group selects places to put links to Bramix executable. And the last group controls integration into Windows shell. Shell integration provides handy facilities like \"Extract\" item in archive context menus, so usually there is no reason to disable it.\r\n   Press \"Help\" button to read more detailed description of these options.":
   ("   Diese Optionen steuern die Einbindung von Bramix in Windows. In der ersten Gruppe wählen Sie die Archivtypen, die Bramix öffnen soll. Die zweite Gruppe legt fest, wo Verknüpfungen zu Bramix angelegt werden. Die letzte Gruppe steuert die Einbindung in die Windows-Shell. Sie bietet praktische Funktionen wie den Eintrag „Entpacken“ im Kontextmenü von Archiven; sie abzuschalten ist daher selten sinnvoll.\r\n   Eine ausführliche Beschreibung dieser Optionen erhalten Sie mit der Schaltfläche „Hilfe“.",
    R + "   אפשרויות אלה קובעות את שילוב ברמיקס במערכת ההפעלה. הקבוצה הראשונה בוחרת את סוגי הארכיונים שברמיקס יטפל בהם. הקבוצה השנייה קובעת היכן ייווצרו קישורים לתוכנית. הקבוצה האחרונה קובעת את השילוב במעטפת, המספק פריטים נוחים כמו \"חלץ\" בתפריטי ההקשר של ארכיונים, ולכן בדרך כלל אין סיבה לבטל אותו." + R
    + "\r\n" + R + "   לחץ על \"עזרה\" לתיאור מפורט יותר של אפשרויות אלה." + R),
  "&Context menu items...": ("&Kontextmenü-Einträge...", "&פריטי תפריט ההקשר..." + R),
 },
 "CONTEXTITEMS": {
  "Context menu items": ("Kontextmenü-Einträge", "פריטי תפריט ההקשר"),
  "Choose items to display in Explorer context menus": ("Einträge für die Kontextmenüs des Explorers", "בחר פריטים להצגה בתפריטי ההקשר של הסייר"),
  "Extr&act files...": ("Dateien ent&packen...", "&חלץ קבצים..." + R),
  "E&xtract Here": ("&Hier entpacken", "חלץ &כאן"),
  "&Extract to <folder>": ("&Entpacken nach <Ordner>", "חלץ &אל <תיקייה>" + R),
  "Extract each archive to &separate folder": ("Jedes Archiv in einen &eigenen Ordner entpacken", "חלץ כל ארכיון ל&תיקייה נפרדת"),
  "Open with Bramix (for SFX archives)": ("Mit Bramix öffnen (für SFX-Archive)", "פתח בברמיקס (לארכיונים מחלצים-עצמית)" + R),
  "&Add to archive...": ("Zu Archiv &hinzufügen...", "&הוסף לארכיון..." + R),
  "Add &to <archive name>": ("Hinzufügen &zu <Archivname>", "הוסף א&ל <שם הארכיון>" + R),
  "Compress to <archive name> and email": ("In <Archivname> packen und per E-Mail senden", "דחוס אל <שם הארכיון> ושלח בדואר"),
  "Compress and email...": ("Packen und per E-Mail senden...", "דחוס ושלח בדואר..." + R),
  "OK": ("OK", "אישור"),
  "Cancel": ("Abbrechen", "ביטול"),
  "Help": ("Hilfe", "עזרה"),
 },
 "DONEDLG": {
  "Bramix Setup": ("Bramix-Einrichtung", "התקנת ברמיקס"),
  "Done": ("Fertig", "סיום"),
  "Bramix has been successfully installed to the folder": ("Bramix wurde erfolgreich installiert im Ordner", "ברמיקס הותקן בהצלחה בתיקייה"),
  "Use \"Settings...\" command from the Bramix \"Options\" menu for further customization.":
   ("Weitere Anpassungen nehmen Sie mit dem Befehl „Einstellungen...“ im Menü „Optionen“ von Bramix vor.",
    "להתאמות נוספות השתמש בפקודה \"הגדרות...\" שבתפריט \"אפשרויות\" של ברמיקס." + R),
  "If you installed Bramix for the first time, do not forget to read online help.":
   ("Wenn Sie Bramix zum ersten Mal installiert haben, lesen Sie bitte die Online-Hilfe.",
    "אם התקנת את ברמיקס בפעם הראשונה, אל תשכח לקרוא את העזרה המקוונת." + R),
  "Bramix is shareware: you may try it free of charge for 40 days. To go on using it after that, please buy a license; the license text and the price list tell you how.":
   ("Bramix ist Shareware: Sie dürfen es 40 Tage lang kostenlos testen. Um es danach weiter zu verwenden, kaufen Sie bitte eine Lizenz; wie, steht im Lizenztext und in der Preisliste.",
    "ברמיקס היא תוכנת שיתוף: אפשר לנסות אותה בחינם במשך 40 יום. כדי להמשיך להשתמש בה לאחר מכן, נא לרכוש רישיון; טקסט הרישיון והמחירון מסבירים כיצד." + R),
  "New versions of Bramix appear from time to time. Press \"Home page\" to get the latest one.":
   ("Von Zeit zu Zeit erscheinen neue Versionen von Bramix. Mit „Homepage“ erhalten Sie die neueste.",
    "גרסאות חדשות של ברמיקס יוצאות מעת לעת. לחץ על \"דף הבית\" כדי לקבל את העדכנית ביותר." + R),
  "&Run Bramix": ("Bramix &starten", "&הפעל את ברמיקס"),
  "Read &help": ("&Hilfe lesen", "קרא &עזרה"),
  "View &license": ("&Lizenz ansehen", "הצג &רישיון"),
  "&Price list": ("&Preisliste", "&מחירון"),
  "Ho&me page": ("Ho&mepage", "&דף הבית"),
  "Thank you for using Bramix !": ("Vielen Dank, dass Sie Bramix verwenden!", "תודה שבחרת בברמיקס!" + R),
 },
}
# The German file also rescales each dialog (width*height in percent).
SCALES = {"SETUPDLG": "112*104", "CONTEXTITEMS": "115*100", "DONEDLG": "108*104"}

def template_texts(path):
    """Template name -> the text of each statement (the first quoted string)."""
    texts, name, statement = {}, None, ""
    def flush():
        m = re.search(r'"((?:[^"]|"")*)"', statement)
        if re.match(r"\s*(FONT|STYLE|EXSTYLE)\b", statement):
            return
        if name and m and m.group(1):
            s = m.group(1).replace('""', '"')
            s = s.replace("\\r", "\r").replace("\\n", "\n").replace("\\t", "\t")
            texts[name].append(s)
    for line in open(path, encoding="latin-1"):
        line = line.split("//")[0].rstrip() if not line.lstrip().startswith('"') else line.rstrip()
        head = re.match(r"^(\w+)\s+DIALOG(EX)?\b", line)
        if head:
            flush(); statement = ""
            name = head.group(1); texts[name] = []
            continue
        if re.match(r"^\s*(CAPTION|[A-Z]+TEXT|CONTROL|[A-Z]*BUTTON|GROUPBOX|[A-Z]*CHECKBOX|COMBOBOX|EDITTEXT|LISTBOX|ICON)\b", line) or \
           re.match(r"^\s*(BEGIN|END|STYLE|FONT|EXSTYLE)\b", line) or not line.strip():
            flush(); statement = line
        else:
            statement += " " + line.strip()
    flush()
    return texts

def escape(text):
    return (text.replace("\\", "\\\\").replace('"', '\\"').replace("\r", "\\r")
                .replace("\n", "\\n").replace("\t", "\\t"))

def key(context, english):
    return "%08x" % zlib.crc32(b"$" + context.encode("ascii") + english.encode("cp1252"))

found = template_texts(rc_path)
for dialog, table in T.items():
    for english in found.get(dialog, []):
        if english not in table and any(c.isalpha() for c in english) and not re.fullmatch(r"&?[A-Z][A-Za-z0-9]{1,3}", english):
            print("note: no translation for %s %r" % (dialog, english), file=sys.stderr)

for index, (language, codepage) in enumerate([("de", "cp1252"), ("he", "cp1255")]):
    lines = ["; %s translation of the set-up dialogs" % language, "***messages***"]
    if language == "he":
        lines.append("50a17ae8=\"RTL\"")  # the right-to-left switch: "LTR" in the context "LTR"
    for dialog, table in T.items():
        if language == "de":
            lines.append('%s="%s"' % (key(dialog, ""), SCALES[dialog]))
        for english, translations in table.items():
            lines.append('%s="%s"' % (key(dialog, english), escape(translations[index])))
    with open("%s/uninstall-%s.lng" % (work, language), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode(codepage))
PYTHON

# Where each run's installation folder and pictures go, inside the prefix.
drive_c="$WINEPREFIX/drive_c"
mkdir -p "$out"
for language in en de he; do
    folder="$drive_c/Bramix-$language"
    mkdir -p "$folder/shots"
    cp "$bin/uninstall.exe" "$folder/"
    [ "$language" = en ] || cp "$work/uninstall-$language.lng" "$folder/uninstall.lng"
    env=()
    if [ "$language" = he ]; then
        env=(LOCPATH="$work/locale" LANG=he_IL.UTF-8 LC_ALL=he_IL.UTF-8)
        # Wine's dialog and caption fonts have no Hebrew letters: without them, a system
        # font that has those letters stands in for both.
        rm -f "$fonts"/ss*.fon "$fonts"/ms_sans_serif.ttf "$fonts"/tahoma*.ttf
        for face in "MS Sans Serif" "MS Shell Dlg" Tahoma; do
            "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
                /v "$face" /d "DejaVu Sans" /f </dev/null >/dev/null 2>&1
        done
    fi
    echo "== $language"
    # The set-up dialog, its context-menu items dialog (cancelled), then OK: the choices
    # are applied to the throwaway prefix and the completion dialog follows.
    env "${env[@]}" "$WINE" "$bin/dialogs_shots.exe" "C:\\Bramix-$language\\uninstall.exe /setup" \
        "C:\\Bramix-$language" "C:\\Bramix-$language\\shots" \
        wait shot:setup press:5121 wait shot:contextitems end:2 end:1 wait shot:done end:1 </dev/null
    for dialog in setup contextitems done; do
        python3 "$root/tools/bmp2png.py" "$folder/shots/$dialog.bmp" "$out/$language-$dialog.png"
        echo "saved docs/screenshots/$language-$dialog.png"
    done
    # The completion dialog's end opens the program group folder: close what remains.
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
done
