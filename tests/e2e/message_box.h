#pragma once
// Finding and answering the program's message boxes from another process, as a
// user would: wait for the next box, read its caption, text and buttons, press one.
#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxView {
    HWND window = nullptr;
    DWORD processId = 0;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // ids of the visible buttons, e.g. IDOK, IDCANCEL
};

// How a box is answered.
enum class Answer { Ok, Cancel, Escape, Close };

// Waits up to timeoutMs for a message box whose caption is `caption` and whose text
// has been set, owned by `processId` (any process when 0).
bool WaitForMessageBox(const std::wstring& caption, DWORD processId, DWORD timeoutMs, MessageBoxView* view);

// Answers the box and waits up to timeoutMs until it is gone.
bool AnswerMessageBox(const MessageBoxView& view, Answer answer, DWORD timeoutMs);

// Parses "ok", "cancel", "esc" or "close".
bool ParseAnswer(const std::wstring& word, Answer* answer);

std::string ToUtf8(const std::wstring& text);
