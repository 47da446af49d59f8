#include "win_registry.h"

#include <winternl.h>

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

namespace winreg {

namespace {

HKEY OpenAsItself(HKEY parent, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), REG_OPTION_OPEN_LINK, access, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

bool IsLink(HKEY key) {
    DWORD type = 0;
    return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
           type == REG_LINK;
}

void DeleteOpenTree(HKEY key, REGSAM view) {
    for (;;) {
        wchar_t name[260];
        DWORD length = 260;
        if (RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY child = OpenAsItself(key, name, KEY_ALL_ACCESS | view);
        if (!child) break;
        DeleteOpenTree(child, view);
        RegCloseKey(child);
    }
    NtDeleteKey(key);
}

void ListOpenTree(HKEY key, const std::wstring& path, REGSAM view, std::vector<std::wstring>& out) {
    if (IsLink(key)) {
        out.push_back(path + L" (link)");
        return;
    }
    out.push_back(path);
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD length = 16384;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out.push_back(path + L" =" + name);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[260];
        DWORD length = 260;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY child = OpenAsItself(key, name, KEY_READ | view);
        if (!child) {
            out.push_back(path + L"\\" + name + L" (unreadable)");
            continue;
        }
        ListOpenTree(child, path + L"\\" + name, view, out);
        RegCloseKey(child);
    }
}

}  // namespace

bool CreateKey(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = OpenAsItself(root, path, KEY_READ | view);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

bool SetValue(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& name, const std::wstring& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return false;
    LONG status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool HasValue(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool CreateLink(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& target) {
    HKEY link = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK | view, nullptr, &link, nullptr) != ERROR_SUCCESS)
        return false;
    // The target is stored without a terminating NUL.
    LONG status = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                                 DWORD(target.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    return status == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = OpenAsItself(root, path, KEY_ALL_ACCESS | view);
    if (!key) return;
    DeleteOpenTree(key, view);
    RegCloseKey(key);
}

std::vector<std::wstring> ListTree(HKEY root, const std::wstring& path, REGSAM view) {
    std::vector<std::wstring> out;
    HKEY key = OpenAsItself(root, path, KEY_READ | view);
    if (!key) return out;
    ListOpenTree(key, path, view, out);
    RegCloseKey(key);
    return out;
}

}  // namespace winreg
