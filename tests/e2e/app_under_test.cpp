#include "app_under_test.h"

#include <cstdlib>

#include "expected_texts.h"

std::wstring FromUtf8(const char* text) {
    int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring out(size - 1, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &out[0], size);
    return out;
}

std::string ToUtf8Path(const std::wstring& path) { return ToUtf8(path); }

std::wstring AppPath() {
    if (const wchar_t* given = _wgetenv(L"TAVIX_EXE")) {
        std::wstring path = given;
        // A Unix path, as CTest passes it, lives on Wine's drive Z:.
        if (!path.empty() && path[0] == L'/') {
            for (wchar_t& c : path) {
                if (c == L'/') c = L'\\';
            }
            path = L"Z:" + path;
        }
        return path;
    }
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    path.resize(path.find_last_of(L'\\'));  // its folder
    path.resize(path.find_last_of(L'\\'));  // one above
    return path + L"\\TavixDelReg.exe";
}

AppProcess::AppProcess() {
    std::wstring path = AppPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        process_ = PROCESS_INFORMATION{};
}

AppProcess::~AppProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool AppProcess::NextBox(MessageBoxView* view, DWORD timeoutMs) {
    const std::wstring caption = FromUtf8(kCaption);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (WaitForMessageBox(caption, process_.dwProcessId, 100, view)) return true;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return false;
    }
    return false;
}

bool AppProcess::EndsWithoutAnotherBox(DWORD* exitCode, DWORD timeoutMs) {
    const std::wstring caption = FromUtf8(kCaption);
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process_.hProcess, 50) == WAIT_TIMEOUT) {
        MessageBoxView view;
        if (WaitForMessageBox(caption, process_.dwProcessId, 0, &view)) return false;
        if (GetTickCount() - start >= timeoutMs) return false;
    }
    return GetExitCodeProcess(process_.hProcess, exitCode) != 0;
}
