// lngtool: the translator's kit for uninstall.exe's language file.
//   lngtool template PROGRAM [-o FILE]    a complete language file for PROGRAM's texts
//   lngtool check LANGFILE PROGRAM        what the program will make of LANGFILE
//   lngtool key KIND [CONTEXT] TEXT       the key of a text
// Exit code 0 on success, 1 when check finds an error, 2 when the command cannot run.
#include <stdio.h>
#include <string.h>
#include <vector>
#include "base/text.h"
#include "checker.h"
#include "lang/textkey.h"
#include "lngformat.h"
#include "programtexts.h"
#include "template.h"

namespace {

const char kUsage[] =
    "usage: lngtool template PROGRAM [-o FILE]\n"
    "       lngtool check LANGFILE PROGRAM\n"
    "       lngtool key KIND [CONTEXT] TEXT\n"
    "KIND is s (a string of the string table) or $ (a dialog text; CONTEXT is the\n"
    "dialog's name); TEXT is written as in a language file (\\r\\n for a line break).\n";

// A whole file; files this large are no program or language file of ours.
const long kMaxFileSize = 256L * 1024 * 1024;

int Usage()
{
    fputs(kUsage, stderr);
    return 2;
}

bool ReadWholeFile(const char* name, std::vector<unsigned char>* out)
{
    FILE* f = fopen(name, "rb");
    if (!f) {
        fprintf(stderr, "lngtool: cannot open %s\n", name);
        return false;
    }
    out->clear();
    unsigned char chunk[65536];
    size_t n;
    bool ok = true;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        out->insert(out->end(), chunk, chunk + n);
        if ((long)out->size() > kMaxFileSize) {
            fprintf(stderr, "lngtool: %s is too large\n", name);
            ok = false;
            break;
        }
    }
    if (ok && ferror(f)) {
        fprintf(stderr, "lngtool: cannot read %s\n", name);
        ok = false;
    }
    fclose(f);
    return ok;
}

const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':') name = p + 1;
    return name;
}

bool LoadProgram(const char* name, std::vector<unsigned char>* image, ProgramTexts* texts)
{
    if (!ReadWholeFile(name, image)) return false;
    char error[200];
    if (!ReadProgramTexts(image->data(), image->size(), texts, error, sizeof error)) {
        fprintf(stderr, "lngtool: %s: %s\n", name, error);
        return false;
    }
    if (texts->texts.empty()) {
        fprintf(stderr, "lngtool: %s holds no strings and no named dialogs\n", name);
        return false;
    }
    return true;
}

int Template(int argc, char** argv)
{
    const char* program = nullptr;
    const char* output = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (strcmp(argv[i], "-o") == 0 && i + 1 < argc) output = argv[++i];
        else if (!program) program = argv[i];
        else return Usage();
    }
    if (!program) return Usage();
    std::vector<unsigned char> image;
    ProgramTexts texts;
    if (!LoadProgram(program, &image, &texts)) return 2;
    for (const ProgramNote& note : texts.notes) fprintf(stderr, "lngtool: note: %s\n", note.text);
    TextOutput out;
    WriteTemplate(texts, BaseName(program), &out);
    FILE* f = output ? fopen(output, "wb") : stdout;
    if (!f) {
        fprintf(stderr, "lngtool: cannot write %s\n", output);
        return 2;
    }
    bool ok = fwrite(out.Bytes().data(), 1, out.Bytes().size(), f) == out.Bytes().size();
    ok = (output ? fclose(f) : fflush(f)) == 0 && ok;
    if (!ok) {
        fprintf(stderr, "lngtool: cannot write %s\n", output ? output : "the output");
        return 2;
    }
    return 0;
}

int Check(int argc, char** argv)
{
    if (argc != 2) return Usage();
    std::vector<unsigned char> language, image;
    ProgramTexts texts;
    if (!ReadWholeFile(argv[0], &language) || !LoadProgram(argv[1], &image, &texts)) return 2;
    std::vector<Finding> findings;
    CheckLanguageFile(language.data(), language.size(), texts, &findings);
    int errors = 0, warnings = 0;
    for (const Finding& f : findings) {
        printf("%s:%d: %s: %s\n", argv[0], f.line, f.error ? "error" : "warning", f.message);
        ++(f.error ? errors : warnings);
    }
    if (errors || warnings) printf("%s: %d error(s), %d warning(s)\n", argv[0], errors, warnings);
    return errors ? 1 : 0;
}

int Key(int argc, char** argv)
{
    if (argc < 2 || argc > 3) return Usage();
    const char* kind = argv[0];
    char kindChar;
    if (strcmp(kind, "s") == 0 || strcmp(kind, "string") == 0) kindChar = 's';
    else if (strcmp(kind, "$") == 0 || strcmp(kind, "dialog") == 0) kindChar = '$';
    else if (strcmp(kind, "@") == 0) kindChar = '@';
    else return Usage();
    const char* context = argc == 3 ? argv[1] : nullptr;
    const char* written = argv[argc - 1];
    std::vector<char> text;
    UnescapeLine((const unsigned char*)written, TextLength(written), &text, nullptr);
    text.push_back('\0');
    char key[9];
    MakeTextKey(key, kindChar, context, text.data());
    printf("%s\n", key);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "template") == 0) return Template(argc - 2, argv + 2);
    if (argc >= 2 && strcmp(argv[1], "check") == 0) return Check(argc - 2, argv + 2);
    if (argc >= 2 && strcmp(argv[1], "key") == 0) return Key(argc - 2, argv + 2);
    return Usage();
}
