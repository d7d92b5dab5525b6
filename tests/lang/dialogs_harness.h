// Running the tests' own dialog templates through the common dialog filter, recording
// what the dialog looked like before and after it, and a stand-in for the help viewer.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct ControlState {
    HWND window;
    int id;
    std::string className;
    std::string text;
    RECT rect;      // screen coordinates
    int x, y;       // position in the dialog's own layout (from the right when mirrored)
    int width, height;
    int droppedHeight;  // combo boxes: height of the dropped-down rectangle, else 0
};

struct DialogState {
    std::string title;
    RECT window;    // screen coordinates
    RECT client;    // GetClientRect
    LONG exStyle;
    std::vector<ControlState> controls;

    const ControlState* Control(int id) const;
};

DialogState MeasureDialog(HWND dialog);

struct DialogRun {
    std::string templateName;   // a template of the tests' resources
    std::string dialogName;     // the name the dialog passes to the filter
    int helpContext = 0;
    bool propertyPage = false;  // shown as the only page of a property sheet with help

    // At WM_INITDIALOG, before the filter (to add controls at run time).
    std::function<void(HWND dialog)> beforeInit;
    // Once the dialog is up, inside its modal loop; the dialog closes a little later,
    // after the input that this step queued has been handled.
    std::function<void(HWND dialog)> whileOpen;

    // What was seen.
    bool initialized = false;
    bool setFontSeen = false;
    bool setFontBeforeInit = false;
    bool mirroredAtSetFont = false;   // right after the filter's WM_SETFONT
    bool mirroredBeforeInit = false;  // at WM_INITDIALOG, before the filter
    DialogState before;               // at WM_INITDIALOG, before the filter
    DialogState after;                // right after the filter's WM_INITDIALOG
    LONG sheetExStyle = 0;            // property pages: the sheet and its tab control
    LONG tabExStyle = 0;
};

// Shows the dialog modally (or its property sheet) and returns once it has closed.
void RunDialog(DialogRun& run);

// A key press as the user would make it, to the foreground dialog.
void PressKey(HWND dialog, WORD virtualKey);

// Stands in for the help viewer while it lives: it owns the window that the system's
// help function sends its requests to, and records each request.
struct HelpRequest {
    HWND owner;
    unsigned command;
    long data;
    std::string file;
};

class HelpViewerStandIn {
public:
    HelpViewerStandIn();
    ~HelpViewerStandIn();
    HelpViewerStandIn(const HelpViewerStandIn&) = delete;
    HelpViewerStandIn& operator=(const HelpViewerStandIn&) = delete;

    bool Ready() const { return window_ != NULL; }
    const std::vector<HelpRequest>& Requests() const { return requests_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_;
    std::vector<HelpRequest> requests_;
};
