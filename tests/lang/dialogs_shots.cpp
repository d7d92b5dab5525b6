// dialogs_shots: runs a program and takes pictures of its dialogs from the screen, for
// tools/screenshots.sh. Each picture is a 24-bit BMP file of the dialog's window.
//   dialogs_shots COMMAND_LINE WORKING_FOLDER OUTPUT_FOLDER STEP...
// Steps, in order, on the "current" dialog:
//   wait        wait for a new dialog of the program; it becomes the current one
//   shot:NAME   save the current dialog as OUTPUT_FOLDER\NAME.bmp
//   press:ID    press the button ID of the current dialog
//   end:ID      press ID, wait until the dialog is gone; the one before becomes current
// Exit code 0 when every step worked and the program ended.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "support/process.h"
#include "support/uidriver.h"

namespace {

const DWORD kTimeoutMs = 20000;
const DWORD kPaintDelayMs = 800;  // for the X server to show what the program drew

struct FindNew {
    DWORD processId;
    const std::vector<HWND>* known;
    HWND found;
};

BOOL CALLBACK FindNewDialog(HWND window, LPARAM param)
{
    FindNew* f = (FindNew*)param;
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != f->processId || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window) ||
        !IsWindowEnabled(window))
        return TRUE;
    for (HWND k : *f->known)
        if (k == window) return TRUE;
    f->found = window;
    return FALSE;
}

HWND WaitForNewDialog(DWORD processId, const std::vector<HWND>& known)
{
    DWORD start = GetTickCount();
    do {
        FindNew f = {processId, &known, NULL};
        EnumWindows(FindNewDialog, (LPARAM)&f);
        if (f.found) return f.found;
        Sleep(50);
    } while (GetTickCount() - start < kTimeoutMs);
    return NULL;
}

bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFOHEADER header;
    ZeroMemory(&header, sizeof header);
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files keep their rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    header.biSizeImage = stride * height;

    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, (BITMAPINFO*)&header, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = bitmap != NULL;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        BITMAPFILEHEADER file;
        ZeroMemory(&file, sizeof file);
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + header.biSizeImage;
        FILE* out = std::fopen(path.c_str(), "wb");
        ok = out && std::fwrite(&file, sizeof file, 1, out) == 1 &&
             std::fwrite(&header, sizeof header, 1, out) == 1 &&
             std::fwrite(bits, header.biSizeImage, 1, out) == 1;
        if (out && std::fclose(out) != 0) ok = false;
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: dialogs_shots COMMAND_LINE WORKING_FOLDER OUTPUT_FOLDER STEP...\n");
        return 2;
    }
    HANDLE process = StartProcess(argv[1], argv[2]);
    if (!process) {
        std::printf("cannot start %s\n", argv[1]);
        return 1;
    }
    DWORD processId = GetProcessId(process);
    std::string outputFolder = argv[3];
    std::vector<HWND> known, current;
    bool ok = true;
    for (int i = 4; i < argc && ok; ++i) {
        std::string step = argv[i];
        if (step == "wait") {
            HWND dialog = WaitForNewDialog(processId, known);
            ok = dialog != NULL;
            if (ok) {
                known.push_back(dialog);
                current.push_back(dialog);
                std::printf("dialog \"%s\"\n", WindowText(dialog).c_str());
            }
        } else if (step.compare(0, 5, "shot:") == 0 && !current.empty()) {
            HWND dialog = current.back();
            SetForegroundWindow(dialog);
            RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            Sleep(kPaintDelayMs);
            std::string path = outputFolder + "\\" + step.substr(5) + ".bmp";
            ok = SaveWindowPicture(dialog, path);
            std::printf("%s %s\n", ok ? "saved" : "could not save", path.c_str());
        } else if (step.compare(0, 6, "press:") == 0 && !current.empty()) {
            ok = PressButton(current.back(), std::atoi(step.c_str() + 6));
        } else if (step.compare(0, 4, "end:") == 0 && !current.empty()) {
            HWND dialog = current.back();
            ok = PressButton(dialog, std::atoi(step.c_str() + 4)) && WaitForWindowGone(dialog, kTimeoutMs);
            current.pop_back();
        } else {
            std::printf("step \"%s\" not understood here\n", step.c_str());
            ok = false;
        }
        if (!ok) std::printf("step \"%s\" failed\n", step.c_str());
    }
    ProcessResult result = FinishProcess(process, ok ? kTimeoutMs : 0);
    if (!result.finished) std::printf("the program did not end\n");
    return ok && result.finished ? 0 : 1;
}
