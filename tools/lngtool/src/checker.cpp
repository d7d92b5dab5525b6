#include "checker.h"
#include <string.h>
#include "base/text.h"
#include "lngformat.h"

namespace {

class Reporter {
public:
    explicit Reporter(std::vector<Finding>* out) : out_(out) {}

    void Report(int line, bool error, const char* format, ...) __attribute__((format(printf, 4, 5)))
    {
        Finding f;
        f.line = line;
        f.error = error;
        va_list args;
        va_start(args, format);
        FormatTextV(f.message, sizeof f.message, format, args);
        va_end(args);
        out_->push_back(f);
    }

private:
    std::vector<Finding>* out_;
};

bool IsAlphanumeric(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Counts the occurrences of "%s" in text.
int CountPlaceholders(const char* text)
{
    int n = 0;
    for (const char* p = strstr(text, "%s"); p; p = strstr(p + 2, "%s")) ++n;
    return n;
}

// Two numbers joined by "*", neither 0: the scale entry the dialog code expects.
bool IsScale(const char* text, bool* zero)
{
    const char* p = text;
    bool widthZero = true, heightZero = true;
    if (!IsDigit(*p)) return false;
    for (; IsDigit(*p); ++p) widthZero = widthZero && *p == '0';
    if (*p++ != '*' || !IsDigit(*p)) return false;
    for (; IsDigit(*p); ++p) heightZero = heightZero && *p == '0';
    *zero = widthZero || heightZero;
    return *p == '\0';
}

struct SeenKey {
    char key[9];
    int line;
};

void CheckEntry(Reporter* r, int number, const std::vector<char>& u, const std::vector<bool>& esc,
                const ProgramTexts& texts, std::vector<SeenKey>* seen)
{
    char key[9];
    CopyTextPart(key, sizeof key, u.data(), kKeyLength);
    const ProgramText* known = FindProgramText(texts, key);
    for (const SeenKey& s : *seen) {
        if (strcmp(s.key, key) == 0) {
            r->Report(number, true, "key %s appears again (first on line %d): the program takes either one", key, s.line);
            break;
        }
    }
    SeenKey s;
    CopyText(s.key, sizeof s.key, key);
    s.line = number;
    seen->push_back(s);
    if (!known)
        r->Report(number, true, "key %s matches no text of the program", key);
    if (u.size() < 10 || u[9] != '"') {
        r->Report(number, true, "entry %s: the text must follow \"=\" in double quotes (key=\"text\")", key);
        return;
    }
    size_t last = 0;
    for (size_t i = 10; i < u.size(); ++i)
        if (u[i] == '"') last = i;
    if (last == 0) {
        r->Report(number, true, "entry %s has no closing double quote: the program takes the rest of the line", key);
        return;
    }
    if (esc[last]) {
        r->Report(number, true, "entry %s has no closing double quote: its last one is escaped (\\\"), so the text "
                  "ends before it", key);
        return;
    }
    for (size_t i = 10; i < last; ++i) {
        if (u[i] == '"' && !esc[i]) {
            r->Report(number, false, "entry %s: a double quote inside the text that is not written \\\"; the text "
                      "runs to the last double quote of the line, a remark after the entry included", key);
            break;
        }
    }
    if (!known) return;
    std::vector<char> text(u.begin() + 10, u.begin() + (long)last);
    text.push_back('\0');
    size_t length = text.size() - 1;
    switch (known->role) {
    case RoleString:
        if (length > kStringTextCapacity - 1u)
            r->Report(number, true, "entry %s (%s): the text is %u bytes long; a string holds at most %u",
                      key, known->place, (unsigned)length, kStringTextCapacity - 1u);
        {
            int english = CountPlaceholders(known->text);
            int translated = CountPlaceholders(text.data());
            if (english > 0 && translated == 0)
                r->Report(number, false, "entry %s (%s): the English text has %%s, which the program fills in; "
                          "the translation has none", key, known->place);
            else if (english > 0 && translated > english)
                r->Report(number, false, "entry %s (%s): only the first %%s is filled in, the others show as they stand",
                          key, known->place);
        }
        break;
    case RoleDialog:
        if (length > kDialogTextCapacity - 1u)
            r->Report(number, true, "entry %s (%s): the text is %u bytes long; a dialog text holds at most %u",
                      key, known->place, (unsigned)length, kDialogTextCapacity - 1u);
        break;
    case RoleScale: {
        bool zero = false;
        if (!IsScale(text.data(), &zero))
            r->Report(number, true, "entry %s (%s): a scale entry is two numbers joined by \"*\", width first, "
                      "such as \"120*110\"", key, known->place);
        else if (zero)
            r->Report(number, true, "entry %s (%s): a percentage of 0 shrinks the dialog to nothing", key, known->place);
        break;
    }
    case RoleDirection:
        if (strcmp(text.data(), "RTL") != 0 && strcmp(text.data(), "LTR") != 0)
            r->Report(number, true, "entry %s (%s): only \"RTL\" (right to left) has an effect; any other text, "
                      "this one too, leaves the layout left to right", key, known->place);
        break;
    }
}

void CheckLine(Reporter* r, int number, const std::vector<char>& u, const std::vector<bool>& esc,
               const ProgramTexts& texts, std::vector<SeenKey>* seen)
{
    size_t n = u.size();
    size_t hex = 0;
    while (hex < n && hex <= kKeyLength && IsHexDigit(u[hex])) ++hex;
    size_t word = 0;
    while (word < n && IsAlphanumeric(u[word])) ++word;
    bool entryLike = (hex == kKeyLength && n > kKeyLength && u[kKeyLength] == '=') ||
                     (word > 0 && word + 1 < n && u[word] == '=' && u[word + 1] == '"');
    if (entryLike) {
        if (word != kKeyLength || hex != kKeyLength) {
            char shown[20];
            CopyTextPart(shown, sizeof shown, u.data(), word > 16 ? 16 : word);
            r->Report(number, true, "\"%s\" is not a key: a key is eight hexadecimal digits", shown);
            return;
        }
        bool upper = false;
        char written[9], lower[9];
        for (size_t i = 0; i < kKeyLength; ++i) {
            upper = upper || (u[i] >= 'A' && u[i] <= 'F');
            written[i] = u[i];
            lower[i] = (u[i] >= 'A' && u[i] <= 'F') ? (char)(u[i] + 32) : u[i];
        }
        written[kKeyLength] = lower[kKeyLength] = '\0';
        if (upper) {
            const ProgramText* meant = FindProgramText(texts, lower);
            if (meant)
                r->Report(number, true, "key %s is written in uppercase: the program only finds %s (%s)",
                          written, lower, meant->place);
            else
                r->Report(number, true, "key %s is written in uppercase: the program only finds lowercase keys",
                          written);
            return;
        }
        CheckEntry(r, number, u, esc, texts, seen);
        return;
    }
    if (hex >= kKeyLength) {
        // Not an entry, yet the program finds lines by their first eight bytes.
        char key[9];
        CopyTextPart(key, sizeof key, u.data(), kKeyLength);
        const ProgramText* known = FindProgramText(texts, key);
        if (known)
            r->Report(number, true, "this line starts with the key of %s but is not an entry: the program may "
                      "take it for that text's translation", known->place);
        return;
    }
    if (n > 0 && IsBlank(u[0])) {
        size_t i = 0;
        while (i < n && IsBlank(u[i])) ++i;
        size_t digits = 0;
        while (i + digits < n && digits <= kKeyLength && IsHexDigit(u[i + digits])) ++digits;
        if (digits == kKeyLength && i + digits < n && u[i + digits] == '=')
            r->Report(number, true, "an indented entry is never found: the key must start the line");
    }
}

} // namespace

void CheckLanguageFile(const unsigned char* file, size_t size, const ProgramTexts& texts,
                       std::vector<Finding>* out)
{
    Reporter r(out);
    MessagesSection section;
    FindMessagesSection(file, size, &section);
    if (!section.found) {
        if (section.beyondReach)
            r.Report(1, true, "the marker line \"***messages***\" starts more than %u bytes into the file: "
                     "the program does not find it and ignores the file", (unsigned)kMarkerSearchLimit);
        else
            r.Report(1, true, "no marker line \"***messages***\": the program ignores the file");
        return;
    }
    std::vector<RawLine> lines;
    SplitLines(file, section.start, section.end, &lines);
    std::vector<SeenKey> seen;
    std::vector<char> u;
    std::vector<bool> esc;
    for (size_t i = 1; i < lines.size(); ++i) {  // the first line is the marker line
        UnescapeLine(file + lines[i].start, lines[i].length, &u, &esc);
        CheckLine(&r, lines[i].number, u, esc, texts, &seen);
    }
    if (section.cutAtLimit || section.endsAtNul) {
        int line = LineNumberAt(file, section.end);
        if (section.cutAtLimit)
            r.Report(line, true, "the program reads only %u bytes from the marker line on: the rest of the "
                     "file, from here, is ignored", (unsigned)kSectionLimit);
        else
            r.Report(line, true, "a NUL byte here ends what the program reads: the rest of the file is ignored");
    }
}

bool HasErrors(const std::vector<Finding>& findings)
{
    for (const Finding& f : findings)
        if (f.error) return true;
    return false;
}
