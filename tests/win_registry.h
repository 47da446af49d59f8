#pragma once
// Building, inspecting and removing keys on the real registry for tests, in an
// explicitly chosen view (0, KEY_WOW64_32KEY or KEY_WOW64_64KEY).
#include <windows.h>

#include <string>
#include <vector>

namespace winreg {

bool CreateKey(HKEY root, const std::wstring& path, REGSAM view);
// True when the key exists; a link at the last level counts as itself.
bool KeyExists(HKEY root, const std::wstring& path, REGSAM view);
bool SetValue(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& name, const std::wstring& data);
bool HasValue(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& name);
// Makes root\path a volatile registry link to the native path `target`, such as
// \Registry\Machine\Software\Something.
bool CreateLink(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& target);
// Deletes root\path and everything below it, removing links rather than following them.
void DeleteTree(HKEY root, const std::wstring& path, REGSAM view);
// Every key and value name below root\path (itself included), one line each, in
// enumeration order; links are listed, not entered. Empty when the key is absent.
std::vector<std::wstring> ListTree(HKEY root, const std::wstring& path, REGSAM view);

}  // namespace winreg
