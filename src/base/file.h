// A thin object around a Win32 file handle, used to read the language file.
#pragma once
#include <windows.h>
#include "base/path.h"

class File {
public:
    HANDLE Handle;
    int StdStream;
    bool ForeignHandle;
    bool BlockwiseRecovery;
    bool ShareWrite;
    bool DeleteOnClose;
    bool Deletable;
    char Name[kPathCapacity];
    WCHAR WideName[kPathCapacity];
    DWORD MissingOnOpen;

    File();
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Open(const char* name, const WCHAR* wideName, bool forUpdate, bool shareWrite);
    bool Close();
    bool Delete();
    int ReadOnce(void* buffer, int count);
    int Read(void* buffer, int count);
    bool TrySeek(long long offset, DWORD method);
    void Seek(long long offset, DWORD method);
    long long Tell();
    bool IsStreamDevice();
};
