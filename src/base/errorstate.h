// The process-wide record of the most important error seen, and the one way the program
// leaves normal control flow: raising an error code as a C++ exception (an int).
#pragma once

enum { kErrorOutOfMemory = 8 };

class ErrorState {
public:
    int Code;
    int Count;
    bool RaiseCode255;
    bool Reserved1;
    bool Reserved2;

    ErrorState();
    void RecordCode(int code);
    [[noreturn]] void OutOfMemory();
    void Raise(int code);  // returns only for an ignored code 255
    void ReportOutOfMemory();
    void ReportCloseFailure(const char* name);
    void ReportReadFailure(const char* name);
    void ReportSeekFailure(const char* name);
    bool ConfirmRetryRead(const char* name);
};

extern ErrorState TheErrorState;
