#include "base/errorstate.h"

ErrorState::ErrorState() : Code(0), Count(0), RaiseCode255(true), Reserved1(false), Reserved2(false) {}

void ErrorState::RecordCode(int code)
{
    if (code == 1 || code == 255) {
        if (Code == 0) Code = code;
    } else if (code == 2) {
        if (Code == 0 || Code == 1) Code = code;
    } else {
        Code = code;
    }
    ++Count;
}

void ErrorState::Raise(int code)
{
    if (code == 255 && !RaiseCode255) return;
    TheErrorState.RecordCode(code);
    throw code;
}

void ErrorState::OutOfMemory()
{
    ReportOutOfMemory();
    Raise(kErrorOutOfMemory);
    throw kErrorOutOfMemory;  // not reached: code 8 is always raised
}

// The file-failure reports show nothing in this program; File returns its results.
void ErrorState::ReportOutOfMemory() {}
void ErrorState::ReportCloseFailure(const char*) {}
void ErrorState::ReportReadFailure(const char*) {}
void ErrorState::ReportSeekFailure(const char*) {}
bool ErrorState::ConfirmRetryRead(const char*) { return false; }
