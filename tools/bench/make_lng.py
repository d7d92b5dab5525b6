#!/usr/bin/env python3
"""Writes the benchmarks' language file: exactly SIZE bytes (64 KiB), ENTRIES entries,
among them a translation of every text of the set-up dialog, and beside it the list of
those texts in the order the dialog localisation looks them up.

    make_lng.py DIALOGS_RC OUT_LNG OUT_TEXTS

The texts come from the "SETUPDLG" template of DIALOGS_RC; while that holds no such
template, from the table below, which is the same dialog.
"""
import os
import random
import re
import sys
import zlib

SIZE = 65536
ENTRIES = 2000
CONTEXT = "SETUPDLG"

EXPLANATION = (
    "   These options control integration of Bramix into Windows. The first group of options "
    "allows to choose archive types to handle by Bramix. The second group selects places to "
    "put links to Bramix executable. And the last group controls integration into Windows "
    "shell. Shell integration provides handy facilities like \"Extract\" item in archive "
    "context menus, so usually there is no reason to disable it.\r\n"
    "   Press \"Help\" button to read more detailed description of these options.")

# Caption first, then every control in template order ("" for the controls without text).
BUILT_IN = ["Bramix Setup", "OK", "Associate Bramix with",
            "&QYX", "&ZIP", "CAB", "ARJ", "LZH", "ACE", "TAR", "GZip", "UUE", "BZ2", "JAR", "ISO",
            "", "Select &all", "Interface", "Put Bramix to &Desktop", "Put Bramix to &Start Menu",
            "Create Bramix &program group", "&Integrate Bramix into shell", "Shell integration",
            "Cascaded con&text menus", "Ico&ns in context menus", "Help", "", EXPLANATION,
            "&Context menu items..."]


def rc_string(s):
    """The text of a resource script string literal."""
    out, i = [], 0
    while i < len(s):
        c = s[i]
        if c == '"' and s[i + 1:i + 2] == '"':
            out.append('"'); i += 2; continue
        if c == '\\' and i + 1 < len(s):
            out.append({'r': '\r', 'n': '\n', 't': '\t', '\\': '\\', '"': '"'}.get(s[i + 1], '\\' + s[i + 1]))
            i += 2; continue
        out.append(c); i += 1
    return ''.join(out)


def texts_from_rc(path):
    try:
        rc = open(path, encoding='latin-1').read()
    except OSError:
        return None
    m = re.search(r'^SETUPDLG\s+DIALOG\b(.*?)^BEGIN\s*$(.*?)^END\s*$', rc, re.S | re.M)
    if not m:
        return None
    literal = r'"((?:[^"]|"")*)"'
    caption = re.search(r'^CAPTION\s+' + literal, m.group(1), re.M)
    texts = [rc_string(caption.group(1)) if caption else ""]
    # Each control statement begins a line with its keyword; its text is its first literal.
    for stmt in re.split(r'\n(?=\s*[A-Z]+\s)', m.group(2)):
        stmt = stmt.strip()
        if not stmt:
            continue
        lit = re.search(literal, stmt)
        texts.append(rc_string(lit.group(1)) if lit else "")
    return texts


def key(kind, context, text):
    data = (kind + (context or "") + text).encode('latin-1')
    return "%08x" % (zlib.crc32(data) & 0xFFFFFFFF)


def escape(text):
    return (text.replace('\\', '\\\\').replace('"', '\\"').replace('\r', '\\r')
            .replace('\n', '\\n').replace('\t', '\\t'))


def entry(kind, context, text, translation):
    return '%s="%s"\r\n' % (key(kind, context, text), escape(translation))


def main():
    rc, out_lng, out_texts = sys.argv[1:4]
    texts = texts_from_rc(rc)
    source = "the SETUPDLG template of " + os.path.basename(rc)
    if not texts:
        texts, source = BUILT_IN, "the table in make_lng.py, as the template holds them"
    header = ("; Benchmark language file: %d entries, %d bytes.\r\n"
              "; Texts of the set-up dialog from %s.\r\n\r\n***messages***\r\n" % (ENTRIES, SIZE, source))
    dialog = [entry('$', CONTEXT, t, "Xx " + t) for t in dict.fromkeys(texts) if t]
    rng = random.Random(10)
    words = ("archive file folder extract add open select options shell menu link desktop "
             "start program group type volume update test repair lock comment password "
             "method level solid dictionary recovery record size name path").split()
    filler_count = ENTRIES - len(dialog)
    fillers = []
    for n in range(filler_count):
        english = "%s %d" % (" ".join(rng.choice(words) for _ in range(rng.randint(1, 2))), n)
        kind = 's' if n % 4 == 0 else '$'
        context = None if kind == 's' else "DLG%02d" % (n % 37)
        fillers.append([kind, context, english, english.upper()])
    used = len(header) + sum(len(e) for e in dialog) + sum(len(entry(*f)) for f in fillers)
    spare = SIZE - used
    if spare < 0:
        sys.exit("make_lng.py: the entries do not fit %d bytes" % SIZE)
    # Lengthen the translations round-robin until the file has exactly SIZE bytes.
    i = 0
    while spare > 0:
        fillers[i % filler_count][3] += "x"
        spare -= 1
        i += 1
    lines = dialog + [entry(*f) for f in fillers]
    rng.shuffle(lines)  # entries may appear in any order; the loader sorts its index
    data = (header + "".join(lines)).encode('latin-1')
    assert len(data) == SIZE and len(lines) == ENTRIES
    open(out_lng, 'wb').write(data)
    with open(out_texts, 'wb') as f:
        for t in texts:
            f.write(escape(t).encode('latin-1') + b'\n')
    print(source)


if __name__ == '__main__':
    main()
