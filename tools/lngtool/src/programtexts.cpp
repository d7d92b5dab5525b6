#include "programtexts.h"
#include <string.h>
#include "base/text.h"
#include "lang/textkey.h"

const char* const kProgramDialogs[3] = {"SETUPDLG", "CONTEXTITEMS", "DONEDLG"};

namespace {

const uint16_t kTypeDialog = 5;
const uint16_t kTypeString = 6;
const uint32_t kDsSetFont = 0x40;
const uint32_t kNoId = 0xFFFFFFFFu;

uint16_t Get16(const unsigned char* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t Get32(const unsigned char* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// The Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character, which
// then maps to the control character of the same value, as Windows does.
const uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

unsigned char AnsiByte(uint16_t c, bool* unmappable)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (unsigned char)c;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] ? kHighControls[i] == c : c == 0x80 + i) return (unsigned char)(0x80 + i);
    }
    *unmappable = true;
    return '?';
}

void AddNote(ProgramTexts* out, const char* text)
{
    ProgramNote note;
    CopyText(note.text, sizeof note.text, text);
    out->notes.push_back(note);
}

void AddPlace(ProgramText* t, const char* place)
{
    if (t->place[0]) AppendText(t->place, sizeof t->place, "; ");
    AppendText(t->place, sizeof t->place, place);
}

// Adds a text, or another place to an equal text already listed (same key).
void AddText(ProgramTexts* out, TextRole role, const char* context, const char* text,
             const char* place, unsigned id, bool cut, bool unmappable)
{
    ProgramText t;
    t.role = role;
    t.kind = role == RoleString ? 's' : '$';
    CopyText(t.context, sizeof t.context, context);
    CopyText(t.text, sizeof t.text, text);
    MakeTextKey(t.key, t.kind, context, text);
    for (ProgramText& other : out->texts) {
        if (strcmp(other.key, t.key) != 0) continue;
        if (other.kind == t.kind && strcmp(other.context, t.context) == 0 && strcmp(other.text, t.text) == 0) {
            AddPlace(&other, place);
            return;
        }
        char note[200];
        FormatText(note, sizeof note, "%s and %s have the same key %s: one translation serves both",
                   other.place, place, t.key);
        AddNote(out, note);
    }
    t.place[0] = '\0';
    AddPlace(&t, place);
    t.id = id;
    t.cut = cut;
    t.unmappable = unmappable;
    out->texts.push_back(t);
}

void ReadStrings(const std::vector<ResourceData>& resources, ProgramTexts* out)
{
    // Blocks of sixteen counted strings, block n holding the ids 16 (n - 1) and on;
    // listed in id order.
    std::vector<const ResourceData*> blocks;
    for (const ResourceData& r : resources)
        if (r.type.isNumber && r.type.number == kTypeString && r.name.isNumber && r.name.number > 0)
            blocks.push_back(&r);
    for (size_t i = 1; i < blocks.size(); ++i)
        for (size_t j = i; j > 0 && blocks[j - 1]->name.number > blocks[j]->name.number; --j) {
            const ResourceData* swap = blocks[j];
            blocks[j] = blocks[j - 1];
            blocks[j - 1] = swap;
        }
    for (const ResourceData* block : blocks) {
        uint32_t at = 0;
        for (unsigned i = 0; i < 16; ++i) {
            unsigned id = (block->name.number - 1u) * 16u + i;
            if (at + 2 > block->size) {
                char note[200];
                FormatText(note, sizeof note, "string table block %u is cut short", block->name.number);
                AddNote(out, note);
                break;
            }
            uint32_t count = Get16(block->bytes + at);
            at += 2;
            if (count * 2 > block->size - at) {
                char note[200];
                FormatText(note, sizeof note, "string %u runs past the end of its block", id);
                AddNote(out, note);
                break;
            }
            if (count) {
                char text[kStringTextCapacity];
                bool cut = false, unmappable = false;
                Utf16ToAnsi(block->bytes + at, count, text, sizeof text, &cut, &unmappable);
                char place[40];
                FormatText(place, sizeof place, "string %u", id);
                AddText(out, RoleString, "", text, place, id, cut, unmappable);
            }
            at += count * 2;
        }
    }
}

// Reads a dialog template's fields in order; any read past its end marks it damaged.
class TemplateReader {
public:
    TemplateReader(const unsigned char* bytes, uint32_t size) : bytes_(bytes), size_(size) {}

    bool ok() const { return ok_; }
    uint16_t Word()
    {
        if (!Need(2)) return 0;
        uint16_t v = Get16(bytes_ + at_);
        at_ += 2;
        return v;
    }
    uint32_t Dword()
    {
        if (!Need(4)) return 0;
        uint32_t v = Get32(bytes_ + at_);
        at_ += 4;
        return v;
    }
    void Skip(uint32_t count)
    {
        if (Need(count)) at_ += count;
    }
    // Controls start on four-byte boundaries; the padding after the last may be missing.
    void AlignDword()
    {
        uint32_t pad = (4 - (at_ & 3)) & 3;
        at_ += pad <= size_ - at_ ? pad : size_ - at_;
    }

    // A text or ordinal field: 0 (empty), 0xFFFF and a number, or a NUL-terminated
    // UTF-16 text, which is converted into text.
    void TextOrOrdinal(bool* isOrdinal, uint16_t* ordinal, char* text, size_t capacity, bool* cut,
                       bool* unmappable)
    {
        *isOrdinal = false;
        text[0] = '\0';
        if (!Need(2)) return;
        if (Get16(bytes_ + at_) == 0xFFFF) {
            at_ += 2;
            *isOrdinal = true;
            *ordinal = Word();
            return;
        }
        uint32_t start = at_;
        while (Need(2) && Get16(bytes_ + at_) != 0) at_ += 2;
        if (!ok_) return;
        Utf16ToAnsi(bytes_ + start, (at_ - start) / 2, text, capacity, cut, unmappable);
        at_ += 2;
    }
    void SkipTextOrOrdinal()
    {
        bool isOrdinal, cut, unmappable;
        uint16_t ordinal;
        char scratch[2];
        TextOrOrdinal(&isOrdinal, &ordinal, scratch, sizeof scratch, &cut, &unmappable);
    }

private:
    bool Need(uint32_t count)
    {
        if (!ok_ || count > size_ - at_) ok_ = false;
        return ok_;
    }
    const unsigned char* bytes_;
    uint32_t size_;
    uint32_t at_ = 0;
    bool ok_ = true;
};

const char* ControlKind(bool classIsAtom, uint16_t atom, const char* className, uint32_t style)
{
    if (classIsAtom) {
        switch (atom) {
        case 0x80:
            switch (style & 0x0F) {
            case 0: return "push button";
            case 1: return "default push button";
            case 2: case 3: return "check box";
            case 4: case 9: return "radio button";
            case 5: case 6: return "three-state check box";
            case 7: return "group box";
            default: return "button";
            }
        case 0x81: return "edit box";
        case 0x82: return "static text";
        case 0x83: return "list box";
        case 0x84: return "scroll bar";
        case 0x85: return "combo box";
        default: return "control";
        }
    }
    // The system classes may also be named.
    const char* const names[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    for (uint16_t i = 0; i < 6; ++i)
        if (EqualTextNoCaseAscii(className, names[i])) return ControlKind(true, (uint16_t)(0x80 + i), "", style);
    if (EqualTextNoCaseAscii(className, "RICHEDIT")) return "rich-edit control";
    return "control";
}

void ReadDialog(const ResourceData& dialog, ProgramTexts* out)
{
    const char* name = dialog.name.name;
    TemplateReader r(dialog.bytes, dialog.size);
    bool extended = dialog.size >= 4 && Get16(dialog.bytes) == 1 && Get16(dialog.bytes + 2) == 0xFFFF;
    uint32_t style;
    if (extended) {
        r.Skip(4 + 4 + 4);  // version and signature, help id, extended style
        style = r.Dword();
    } else {
        style = r.Dword();
        r.Skip(4);  // extended style
    }
    uint32_t controlCount = r.Word();
    r.Skip(8);               // position and size
    r.SkipTextOrOrdinal();   // menu
    r.SkipTextOrOrdinal();   // window class
    bool isOrdinal, cut = false, unmappable = false;
    uint16_t ordinal;
    char text[kDialogTextCapacity];
    r.TextOrOrdinal(&isOrdinal, &ordinal, text, sizeof text, &cut, &unmappable);
    if (!r.ok()) {
        char note[200];
        FormatText(note, sizeof note, "dialog %s is damaged and was left out", name);
        AddNote(out, note);
        return;
    }
    char place[kPlaceCapacity];
    if (text[0]) {
        FormatText(place, sizeof place, "%s, title", name);
        AddText(out, RoleDialog, name, text, place, kNoId, cut, unmappable);
    } else {
        // An empty title shares its key with the dialog's scale entry.
        char note[200];
        FormatText(note, sizeof note, "dialog %s has no title: its key is the scale entry's", name);
        AddNote(out, note);
    }
    if (style & kDsSetFont) {
        r.Skip(extended ? 6 : 2);  // point size (weight, italic, character set)
        r.SkipTextOrOrdinal();     // face name
    }
    for (uint32_t i = 0; i < controlCount && r.ok(); ++i) {
        r.AlignDword();
        uint32_t controlStyle, id;
        if (extended) {
            r.Skip(4 + 4);  // help id, extended style
            controlStyle = r.Dword();
            r.Skip(8);
            id = r.Dword();
        } else {
            controlStyle = r.Dword();
            r.Skip(4 + 8);
            id = r.Word();
            if (id == 0xFFFF) id = kNoId;
        }
        bool classIsAtom;
        uint16_t atom = 0;
        char className[kResourceNameCapacity];
        bool classCut = false, classUnmappable = false;
        r.TextOrOrdinal(&classIsAtom, &atom, className, sizeof className, &classCut, &classUnmappable);
        cut = unmappable = false;
        r.TextOrOrdinal(&isOrdinal, &ordinal, text, sizeof text, &cut, &unmappable);
        uint32_t extra = r.Word();
        r.Skip(extra);
        if (!r.ok()) break;
        // An ordinal names a resource (an icon, a bitmap), not a text.
        if (isOrdinal || !text[0]) continue;
        const char* kind = ControlKind(classIsAtom, atom, className, controlStyle);
        if (id == kNoId || id == 0)
            FormatText(place, sizeof place, "%s, %s (control %u, no id)", name, kind, i + 1);
        else
            FormatText(place, sizeof place, "%s, %s %u", name, kind, id);
        AddText(out, RoleDialog, name, text, place, id, cut, unmappable);
    }
    if (!r.ok()) {
        char note[200];
        FormatText(note, sizeof note, "dialog %s is cut short: its later controls were left out", name);
        AddNote(out, note);
    }
}

void AddSetting(ProgramTexts* out, TextRole role, const char* context, const char* text, const char* place)
{
    ProgramText t;
    t.role = role;
    t.kind = '$';
    CopyText(t.context, sizeof t.context, context);
    CopyText(t.text, sizeof t.text, text);
    MakeTextKey(t.key, t.kind, context, text);
    CopyText(t.place, sizeof t.place, place);
    t.id = kNoId;
    t.cut = t.unmappable = false;
    out->settings.push_back(t);
}

} // namespace

void Utf16ToAnsi(const unsigned char* units, size_t count, char* out, size_t capacity, bool* cut,
                 bool* unmappable)
{
    if (capacity == 0) return;
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) {
        if (n + 1 >= capacity) {
            *cut = true;
            break;
        }
        uint16_t c = Get16(units + 2 * i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
            uint16_t next = Get16(units + 2 * i + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) ++i;  // one character, one "?"
        }
        out[n++] = (char)AnsiByte(c, unmappable);
    }
    out[n] = '\0';
}

bool ReadProgramTexts(const unsigned char* image, size_t size, ProgramTexts* out, char* error,
                      size_t errorSize)
{
    out->texts.clear();
    out->settings.clear();
    out->dialogs.clear();
    out->notes.clear();
    std::vector<ResourceData> resources;
    if (!ReadResources(image, size, &resources, error, errorSize)) return false;
    ReadStrings(resources, out);

    // The program's dialogs first, in the order it shows them, then any others.
    std::vector<const ResourceData*> dialogs;
    for (const char* name : kProgramDialogs) {
        const ResourceData* d = FindNamedResource(resources, kTypeDialog, name);
        if (d) dialogs.push_back(d);
    }
    for (const ResourceData& r : resources) {
        if (!r.type.isNumber || r.type.number != kTypeDialog) continue;
        if (r.name.isNumber || !r.name.usable) {
            char note[200];
            if (r.name.isNumber)
                FormatText(note, sizeof note, "dialog %u has a number, not a name: the program does not translate it", r.name.number);
            else
                CopyText(note, sizeof note, "a dialog with an unusable name was left out");
            AddNote(out, note);
            continue;
        }
        // A language module declares right-to-left layout with a dialog "RTL" that is never shown.
        if (EqualTextNoCaseAscii(r.name.name, "RTL")) continue;
        bool listed = false;
        for (const ResourceData* d : dialogs) listed = listed || d == &r;
        if (!listed) dialogs.push_back(&r);
    }
    for (const ResourceData* d : dialogs) {
        out->dialogs.push_back(d->name);
        ReadDialog(*d, out);
        char place[kPlaceCapacity];
        FormatText(place, sizeof place, "%s, size in percent", d->name.name);
        AddSetting(out, RoleScale, d->name.name, "", place);
    }
    AddSetting(out, RoleDirection, "LTR", "LTR", "text direction");
    for (const ProgramText& t : out->texts) {
        char note[200];
        if (t.cut) {
            FormatText(note, sizeof note, "%s is longer than the %u bytes the program reads: its key is that of those",
                       t.place, t.kind == 's' ? kStringTextCapacity - 1u : kDialogTextCapacity - 1u);
            AddNote(out, note);
        }
        if (t.unmappable) {
            FormatText(note, sizeof note, "%s has characters that Windows-1252 lacks; they read as \"?\"", t.place);
            AddNote(out, note);
        }
    }
    return true;
}

const ProgramText* FindProgramText(const ProgramTexts& texts, const char* key)
{
    for (const ProgramText& t : texts.texts)
        if (strcmp(t.key, key) == 0) return &t;
    for (const ProgramText& t : texts.settings)
        if (strcmp(t.key, key) == 0) return &t;
    return nullptr;
}
