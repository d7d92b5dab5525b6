// The reference for the deletion passes: one ideal pass over the same tree, which knows
// what is a file and what a folder and deletes the files first, then the folders.
//     refdelete FOLDER LIST
// LIST holds "f <entry>" and "d <entry>" lines, the files first, each entry relative to
// FOLDER (which ends in a backslash). Prints "<milliseconds> <deleted> <failed>".
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: refdelete FOLDER LIST\n");
        return 2;
    }
    char path[2048];
    size_t folderLength = strlen(argv[1]);
    if (folderLength >= sizeof path / 2) return 2;
    memcpy(path, argv[1], folderLength);
    FILE* list = fopen(argv[2], "rb");
    if (!list) return 1;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int deleted = 0, failed = 0;
    char line[1024];
    while (fgets(line, sizeof line, list)) {
        size_t n = strlen(line);
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) --n;
        if (n < 3) continue;
        // The entry fits: folderLength + n < 1024 + 1024.
        memcpy(path + folderLength, line + 2, n - 2);
        path[folderLength + n - 2] = '\0';
        bool ok = line[0] == 'd' ? RemoveDirectoryA(path) : DeleteFileA(path);
        ++(ok ? deleted : failed);
    }
    QueryPerformanceCounter(&end);
    fclose(list);
    printf("%.3f %d %d\n", (double)(end.QuadPart - start.QuadPart) * 1e3 / (double)frequency.QuadPart, deleted,
           failed);
    return 0;
}
