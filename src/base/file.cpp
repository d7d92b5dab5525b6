#include "base/file.h"
#include "base/errorstate.h"
#include "base/system.h"
#include "base/text.h"

namespace {

// Pipes and character devices take at most this many bytes per read.
const int kStreamReadLimit = 20000;
const int kRecoveryBlock = 512;

size_t WideLength(const WCHAR* text)
{
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

} // namespace

File::File()
    : Handle(INVALID_HANDLE_VALUE), StdStream(0), ForeignHandle(false), BlockwiseRecovery(false),
      ShareWrite(false), DeleteOnClose(false), Deletable(true), MissingOnOpen(FALSE)
{
    Name[0] = '\0';
    WideName[0] = 0;
}

File::~File()
{
    if (Handle == INVALID_HANDLE_VALUE || ForeignHandle) return;
    if (DeleteOnClose)
        Delete();
    else
        Close();
}

bool File::Open(const char* name, const WCHAR* wideName, bool forUpdate, bool shareWrite)
{
    MissingOnOpen = FALSE;
    DeleteOnClose = false;
    StdStream = 0;
    ForeignHandle = false;
    // A name that the fields cannot hold is refused rather than cut: the object must
    // always name the file it has open.
    if (TextLength(name) >= sizeof Name) return false;
    if (wideName && WideLength(wideName) >= sizeof WideName / sizeof WideName[0]) return false;

    DWORD access = GENERIC_READ | (forUpdate ? GENERIC_WRITE : 0);
    DWORD share = FILE_SHARE_READ | ((ShareWrite || shareWrite) ? FILE_SHARE_WRITE : 0);
    HANDLE h;
    if (WinNtMajorVersion() != 0 && wideName && wideName[0])
        h = CreateFileW(wideName, access, share, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    else
        h = CreateFileA(name, access, share, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) MissingOnOpen = TRUE;
        return false;
    }
    Handle = h;
    if (wideName)
        CopyWideText(reinterpret_cast<unsigned short*>(WideName), sizeof WideName / sizeof WideName[0],
                     reinterpret_cast<const unsigned short*>(wideName));
    CopyText(Name, sizeof Name, name);
    return true;
}

int File::ReadOnce(void* buffer, int count)
{
    if (StdStream == 1) {
        Handle = GetStdHandle(STD_INPUT_HANDLE);
        if (count > kStreamReadLimit) count = kStreamReadLimit;
    }
    if (count < 0) count = 0;
    DWORD got = 0;
    if (ReadFile(Handle, buffer, (DWORD)count, &got, NULL)) return (int)got;
    DWORD error = GetLastError();
    if (count > kStreamReadLimit && IsStreamDevice()) return ReadOnce(buffer, kStreamReadLimit);
    if (StdStream == 1 && error == ERROR_BROKEN_PIPE) return 0;
    return -1;
}

int File::Read(void* buffer, int count)
{
    long long start = BlockwiseRecovery ? Tell() : 0;
    for (;;) {
        int n = ReadOnce(buffer, count);
        if (n != -1) return n;
        if (BlockwiseRecovery) break;
        if (StdStream == 0 && TheErrorState.ConfirmRetryRead(Name)) continue;
        TheErrorState.ReportReadFailure(Name);
        return -1;
    }
    // Recovery: read again block by block from where the read began; a block that still
    // cannot be read keeps its part of the buffer as it was and counts as read.
    int total = 0;
    for (int offset = 0; offset < count; offset += kRecoveryBlock) {
        int block = count - offset < kRecoveryBlock ? count - offset : kRecoveryBlock;
        Seek(start + offset, FILE_BEGIN);
        int n = ReadOnce(static_cast<char*>(buffer) + offset, block);
        total += n == -1 ? block : n;
    }
    return total;
}

bool File::TrySeek(long long offset, DWORD method)
{
    if (Handle == INVALID_HANDLE_VALUE) return true;
    LONG high = (LONG)(offset >> 32);
    // A low half of 0xFFFFFFFF is a valid position: only the error code tells.
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(Handle, (LONG)(DWORD)offset, &high, method);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

void File::Seek(long long offset, DWORD method)
{
    if (!TrySeek(offset, method)) TheErrorState.ReportSeekFailure(Name);
}

long long File::Tell()
{
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(Handle, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        TheErrorState.ReportSeekFailure(Name);
        high = 0;
    }
    return (long long)(((unsigned long long)(DWORD)high << 32) + low);
}

bool File::IsStreamDevice()
{
    if (Handle == INVALID_HANDLE_VALUE) return false;
    DWORD type = GetFileType(Handle);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}

bool File::Close()
{
    if (StdStream != 0) {
        // The standard input belongs to the process: forget it without closing it, so
        // that a later close or the destructor cannot close it either.
        StdStream = 0;
        Handle = INVALID_HANDLE_VALUE;
        return true;
    }
    if (Handle == INVALID_HANDLE_VALUE) return true;
    bool result = true;
    if (!ForeignHandle) result = CloseHandle(Handle) != FALSE;
    Handle = INVALID_HANDLE_VALUE;
    if (!result) TheErrorState.ReportCloseFailure(Name);
    return result;
}

bool File::Delete()
{
    if (StdStream != 0 || !Deletable) return false;
    if (Handle != INVALID_HANDLE_VALUE) Close();
    if (WinNtMajorVersion() != 0 && WideName[0]) return DeleteFileW(WideName) != FALSE;
    return DeleteFileA(Name) != FALSE;
}
