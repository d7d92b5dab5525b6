#include "template.h"
#include <string.h>
#include "base/text.h"

namespace {

// Before the marker: the loader ignores all of it, so it must only not hold the marker.
const char* const kHeader[] = {
    "Language file of @, the set-up and removal companion of Bramix.",
    "Written by \"lngtool template\" from the program's own texts.",
    "",
    "Save it as \"uninstall.lng\" beside uninstall.exe, in the code page of the Windows",
    "it runs on, and translate the text between the double quotes of each entry line",
    "(key=\"text\"). Leave the key, the eight digits before \"=\", as it is: it is",
    "computed from the English text and tells the program where the text belongs.",
    "Within the quotes write \\\" for a double quote, \\\\ for a backslash, \\r\\n for a",
    "line break and \\t for a tab. Keep \"&\" before the letter that is to be underlined",
    "(choose one that is not taken in the same dialog) and keep \"%s\" where the English",
    "text has it. An entry that is removed, or kept as it is, shows the English text.",
    "",
    "Lines that start with \";\" are remarks. The messages begin with the marker line;",
    "nothing above it is read. Check the finished file with",
    "    lngtool check uninstall.lng uninstall.exe",
};

void PutRemark(TextOutput* out, const char* text)
{
    out->Put("; ");
    out->Put(text);
    out->Put("\r\n");
}

void PutHeading(TextOutput* out, const char* title)
{
    out->Put("\r\n; ==== ");
    out->Put(title);
    out->Put(" ====\r\n");
}

void PutEntry(TextOutput* out, const ProgramText& t)
{
    out->Put("\r\n; ");
    out->Put(t.place);
    out->Put(": \"");
    PutRemarkText(out, t.text);
    out->Put("\"\r\n");
    TextOutput entry;
    entry.Put(t.key);
    entry.Put("=\"");
    if (PutEscaped(&entry, t.text)) {
        entry.Put("\"\r\n");
        out->PutBytes(entry.Bytes().data(), entry.Bytes().size());
    } else {
        PutRemark(out, "(holds a form feed, which a language file cannot carry: it stays English)");
    }
}

} // namespace

void WriteTemplate(const ProgramTexts& texts, const char* programName, TextOutput* out)
{
    for (const char* line : kHeader) {
        const char* at = strchr(line, '@');
        if (at) {
            out->PutBytes(line, (size_t)(at - line));
            out->Put(programName);
            out->Put(at + 1);
        } else {
            out->Put(line);
        }
        out->Put("\r\n");
    }
    out->Put("***messages***\r\n");
    if (!texts.notes.empty()) {
        PutHeading(out, "Notes");
        for (const ProgramNote& note : texts.notes) {
            PutRemark(out, note.text);
        }
    }

    bool stringsHeading = false;
    for (const ProgramText& t : texts.texts) {
        if (t.role != RoleString) continue;
        if (!stringsHeading) PutHeading(out, "Strings");
        stringsHeading = true;
        PutEntry(out, t);
    }
    for (const ResourceId& dialog : texts.dialogs) {
        char title[kResourceNameCapacity + 16];
        FormatText(title, sizeof title, "Dialog %s", dialog.name);
        PutHeading(out, title);
        for (const ProgramText& s : texts.settings) {
            if (s.role != RoleScale || strcmp(s.context, dialog.name) != 0) continue;
            out->Put("\r\n");
            PutRemark(out, "Size of the dialog in percent of the English one, width*height; to change it,");
            PutRemark(out, "remove the \";\" that starts the next line and put the percentages in place of 100:");
            out->Put(";");
            out->Put(s.key);
            out->Put("=\"100*100\"\r\n");
        }
        for (const ProgramText& t : texts.texts)
            if (t.role == RoleDialog && strcmp(t.context, dialog.name) == 0) PutEntry(out, t);
    }
    for (const ProgramText& s : texts.settings) {
        if (s.role != RoleDirection) continue;
        PutHeading(out, "Text direction");
        out->Put("\r\n");
        PutRemark(out, "For a language written from right to left, remove the \";\" that starts the next line:");
        out->Put(";");
        out->Put(s.key);
        out->Put("=\"RTL\"\r\n");
    }
}
