#include "message_box.h"

namespace {

struct Search {
    const std::wstring* caption;
    DWORD processId;
    MessageBoxView* found;
};

std::wstring WindowText(HWND window) {
    wchar_t buffer[1024];
    int length = GetWindowTextW(window, buffer, 1024);
    return std::wstring(buffer, length > 0 ? length : 0);
}

BOOL CALLBACK Consider(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    wchar_t className[64];
    if (!GetClassNameW(window, className, 64) || std::wstring(className) != L"#32770") return TRUE;
    if (!IsWindowVisible(window)) return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId) return TRUE;
    if (WindowText(window) != *search->caption) return TRUE;
    // A box can be found before its text is set.
    HWND textControl = GetDlgItem(window, 0xFFFF);
    if (!textControl) return TRUE;
    std::wstring text = WindowText(textControl);
    if (text.empty()) return TRUE;

    MessageBoxView* view = search->found;
    view->window = window;
    view->processId = owner;
    view->caption = *search->caption;
    view->text = text;
    view->buttons.clear();
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP, IDTRYAGAIN, IDCONTINUE}) {
        HWND button = GetDlgItem(window, id);
        if (button && IsWindowVisible(button)) view->buttons.push_back(id);
    }
    return FALSE;
}

}  // namespace

bool WaitForMessageBox(const std::wstring& caption, DWORD processId, DWORD timeoutMs, MessageBoxView* view) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search{&caption, processId, view};
        view->window = nullptr;
        EnumWindows(Consider, reinterpret_cast<LPARAM>(&search));
        // Consider() fills in the view through the LPARAM.
        // cppcheck-suppress knownConditionTrueFalse
        if (view->window) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
}

bool AnswerMessageBox(const MessageBoxView& view, Answer answer, DWORD timeoutMs) {
    switch (answer) {
        case Answer::Ok: PostMessageW(view.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); break;
        case Answer::Cancel: PostMessageW(view.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); break;
        case Answer::Escape: {
            // The Esc key on the focused button; the box's own dialog loop turns it into Cancel.
            HWND target = GetDlgItem(view.window, IDOK);
            PostMessageW(target ? target : view.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(target ? target : view.window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        }
        case Answer::Close: PostMessageW(view.window, WM_CLOSE, 0, 0); break;
    }
    DWORD start = GetTickCount();
    while (IsWindow(view.window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool ParseAnswer(const std::wstring& word, Answer* answer) {
    if (word == L"ok")
        *answer = Answer::Ok;
    else if (word == L"cancel")
        *answer = Answer::Cancel;
    else if (word == L"esc")
        *answer = Answer::Escape;
    else if (word == L"close")
        *answer = Answer::Close;
    else
        return false;
    return true;
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}
