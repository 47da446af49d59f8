#pragma once
// Starting TavixDelReg.exe and following its run from the outside.
#include <windows.h>

#include <string>

#include "message_box.h"

// The program under test: $TAVIX_EXE, else TavixDelReg.exe one folder above this test program.
std::wstring AppPath();

std::string ToUtf8Path(const std::wstring& path);

class AppProcess {
public:
    AppProcess();
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    // The next box of this process; false when none came in time or the process ended.
    bool NextBox(MessageBoxView* view, DWORD timeoutMs = 20000);
    // Waits for the process to end without showing a box on the way; false when a box
    // showed up or it did not end in time. *exitCode gets its exit code.
    bool EndsWithoutAnotherBox(DWORD* exitCode, DWORD timeoutMs = 20000);

private:
    PROCESS_INFORMATION process_{};
};
