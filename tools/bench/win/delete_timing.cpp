// A test build of the uninstall procedure that times its deletion passes from inside.
//     delete_timing PROGRAM_FOLDER LIST
// PROGRAM_FOLDER is a full path ending in a backslash; LIST is an "Uninstall.lst".
// Prints "<milliseconds> <passes> <entries read> <milliseconds of the leftover scan>", then
// the milliseconds of each pass. The time is the whole deletion: the passes and the scan
// for what they could not delete.
//
// The procedure's own source is compiled into this program, so that the passes are the
// ones the program makes; the list reader is wrapped by the linker (--wrap) to count them.
#include "src/uninstall/uninstall.cpp"

namespace {
enum { kMaxPasses = 64 };
int g_passes;
int g_entriesRead;
LARGE_INTEGER g_passEnds[kMaxPasses];
} // namespace

// ListReader::NextEntry(char*, size_t), as the linker names it.
extern "C" bool __real__ZN10ListReader9NextEntryEPcy(ListReader* reader, char* line, size_t capacity);
extern "C" bool __wrap__ZN10ListReader9NextEntryEPcy(ListReader* reader, char* line, size_t capacity)
{
    bool got = __real__ZN10ListReader9NextEntryEPcy(reader, line, capacity);
    if (got) {
        ++g_entriesRead;
    } else {
        if (g_passes < kMaxPasses) QueryPerformanceCounter(&g_passEnds[g_passes]);
        ++g_passes;
    }
    return got;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: delete_timing PROGRAM_FOLDER LIST\n");
        return 2;
    }
    FILE* list = fopen(argv[2], "rb");
    if (!list) return 1;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    DeleteListedEntries(list, argv[1]);
    int passes = g_passes;
    int entriesRead = g_entriesRead;
    LARGE_INTEGER passesEnd;
    QueryPerformanceCounter(&passesEnd);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);  // the running program, as the uninstaller passes its own
    ScheduleLeftovers(list, argv[1], self);
    QueryPerformanceCounter(&end);
    fclose(list);
    double scale = 1e3 / (double)frequency.QuadPart;
    printf("%.3f %d %d %.3f", (double)(end.QuadPart - start.QuadPart) * scale, passes, entriesRead,
           (double)(end.QuadPart - passesEnd.QuadPart) * scale);
    LONGLONG previous = start.QuadPart;
    for (int i = 0; i < passes && i < kMaxPasses; ++i) {
        printf(" %.3f", (double)(g_passEnds[i].QuadPart - previous) * scale);
        previous = g_passEnds[i].QuadPart;
    }
    printf("\n");
    return 0;
}
