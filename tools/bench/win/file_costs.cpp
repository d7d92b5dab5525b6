// The cost of each file call that the deletion passes make, in the states they meet it in,
// for finding where the passes' time goes.
//     file_costs FOLDER
// FOLDER (ending in a backslash) holds Folder0001 to Folder1000, each with File01.dat to
// File10.dat, as the deletion benchmark makes them. Everything in it is deleted.
// Prints one line per sample of 100 calls: "<call> <microseconds per call>".
#include <windows.h>
#include <stdio.h>
#include "base/text.h"

namespace {

enum { kFolders = 1000, kSample = 100 };

LARGE_INTEGER g_frequency;
const char* g_base;

double Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1e6 / (double)g_frequency.QuadPart;
}

// Path of folder d (1-based) of the given name pattern, with file f (0: none).
void MakePath(char* out, size_t size, const char* folder, int d, int f)
{
    char name[64];
    FormatText(name, sizeof name, "%s%04d", folder, d);
    CopyText(out, size, g_base);
    AppendText(out, size, name);
    if (f) {
        FormatText(name, sizeof name, "\\File%02d.dat", f);
        AppendText(out, size, name);
    }
}

// Times call once for each folder 1..kFolders, in samples of kSample calls.
template <typename F>
void Measure(const char* what, F call)
{
    for (int first = 1; first <= kFolders; first += kSample) {
        double start = Now();
        for (int d = first; d < first + kSample; ++d) call(d);
        printf("%s %.2f\n", what, (Now() - start) / kSample);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: file_costs FOLDER\n");
        return 2;
    }
    QueryPerformanceFrequency(&g_frequency);
    g_base = argv[1];
    char p[MAX_PATH];
    Measure("GetFileAttributesA:existing-file", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        GetFileAttributesA(p);
    });
    Measure("RemoveDirectoryA:folder-not-empty", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 0);
        RemoveDirectoryA(p);
    });
    Measure("SetFileAttributesA:existing-file", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        SetFileAttributesA(p, 0);
    });
    Measure("DeleteFileA:existing-file", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        DeleteFileA(p);
    });
    Measure("GetFileAttributesA:missing-file-in-folder", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        GetFileAttributesA(p);
    });
    Measure("SetFileAttributesA:missing-file-in-folder", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        SetFileAttributesA(p, 0);
    });
    Measure("DeleteFileA:missing-file-in-folder", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 1);
        DeleteFileA(p);
    });
    Measure("GetFileAttributesA:entry-in-missing-folder-among-1000", [&](int d) {
        MakePath(p, sizeof p, "Missing", d, 1);
        GetFileAttributesA(p);
    });
    for (int d = 1; d <= kFolders; ++d)
        for (int f = 2; f <= 10; ++f) {
            MakePath(p, sizeof p, "Folder", d, f);
            DeleteFileA(p);
        }
    Measure("SetFileAttributesA:existing-folder", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 0);
        SetFileAttributesA(p, 0);
    });
    Measure("RemoveDirectoryA:empty-folder", [&](int d) {
        MakePath(p, sizeof p, "Folder", d, 0);
        RemoveDirectoryA(p);
    });
    Measure("GetFileAttributesA:entry-in-missing-folder-alone", [&](int d) {
        MakePath(p, sizeof p, "Missing", d, 1);
        GetFileAttributesA(p);
    });
    return 0;
}
