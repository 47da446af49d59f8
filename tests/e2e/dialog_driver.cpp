// Answers TavixDelReg's message boxes from the command line, for scripts:
//   dialog_driver wait [seconds]          waits for the next "Ta.vix" box and prints it
//   dialog_driver answer ok|cancel|esc|close [seconds]
//                                          waits for the next box, prints it, answers it
//   dialog_driver none [seconds]          succeeds when no box shows up in that time
// A box is printed as three lines, UTF-8: "caption: ...", "text: ...", "buttons: OK Cancel".
// Exit code 0 on success, 1 when no box came (or one came for "none"), 2 on bad use.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "message_box.h"

namespace {

const wchar_t kCaption[] = L"Ta.vix";

void Print(const std::string& line) {
    std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), DWORD(out.size()), &written, nullptr);
}

const char* ButtonName(int id) {
    switch (id) {
        case IDOK: return "OK";
        case IDCANCEL: return "Cancel";
        case IDYES: return "Yes";
        case IDNO: return "No";
        default: return "Other";
    }
}

void PrintBox(const MessageBoxView& view) {
    Print("caption: " + ToUtf8(view.caption));
    Print("text: " + ToUtf8(view.text));
    std::string buttons = "buttons:";
    for (int id : view.buttons)
        buttons += std::string(" ") + ButtonName(id);
    Print(buttons);
}

DWORD Seconds(int argc, wchar_t** argv, int at, DWORD fallback) {
    return (argc > at ? DWORD(_wtoi(argv[at])) : fallback) * 1000;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    MessageBoxView view;
    if (command == L"wait") {
        if (!WaitForMessageBox(kCaption, 0, Seconds(argc, argv, 2, 30), &view)) return 1;
        PrintBox(view);
        return 0;
    }
    if (command == L"answer" && argc > 2) {
        Answer answer;
        if (!ParseAnswer(argv[2], &answer)) return 2;
        if (!WaitForMessageBox(kCaption, 0, Seconds(argc, argv, 3, 30), &view)) return 1;
        PrintBox(view);
        return AnswerMessageBox(view, answer, 10000) ? 0 : 1;
    }
    if (command == L"none") {
        if (WaitForMessageBox(kCaption, 0, Seconds(argc, argv, 2, 3), &view)) {
            PrintBox(view);
            return 1;
        }
        return 0;
    }
    std::fputs("usage: dialog_driver wait [s] | answer ok|cancel|esc|close [s] | none [s]\n", stderr);
    return 2;
}
