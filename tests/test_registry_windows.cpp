// Test keys on the real registry.
#include <winternl.h>

#include <vector>

#include "test_registry.h"

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

namespace testreg {

namespace {

// HKLM keys in the 64-bit view, which a link's native path \Registry\Machine names.
REGSAM View(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0; }

HKEY Create(HKEY root, const std::wstring& path, DWORD options, REGSAM access) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, options, access | View(root), nullptr, &key,
                                  nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "creating a test key";
    return status == ERROR_SUCCESS ? key : nullptr;
}

// Deletes the open key's subtree and then the key itself, opening every level as
// itself so that a link is removed rather than followed.
void DeleteOpenTree(HKEY key) {
    for (;;) {
        wchar_t name[260];
        DWORD length = 260;
        if (RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY child = nullptr;
        if (RegOpenKeyExW(key, name, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &child) != ERROR_SUCCESS) break;
        DeleteOpenTree(child);
        RegCloseKey(child);
    }
    NtDeleteKey(key);
}

}  // namespace

void CreateKey(HKEY root, const std::wstring& path) {
    if (HKEY key = Create(root, path, 0, KEY_ALL_ACCESS)) RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | View(root), &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | View(root), &key), ERROR_SUCCESS);
    const wchar_t data[] = L"1";
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | View(root), &key) != ERROR_SUCCESS) return false;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void CreateLinkToMachineKey(HKEY root, const std::wstring& path, const std::wstring& machinePath) {
    HKEY link = Create(root, path, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS | KEY_CREATE_LINK);
    if (!link) return;
    std::wstring target = L"\\Registry\\Machine\\" + machinePath;
    // The link's target is stored without a terminating NUL.
    EXPECT_EQ(RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                             DWORD(target.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(link);
}

void DeleteTree(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS | View(root), &key) != ERROR_SUCCESS)
        return;
    DeleteOpenTree(key);
    RegCloseKey(key);
}

void ExpectHandlesBalanced() {
    // The real registry does not say which handles a call left open; the host suite checks that.
}

}  // namespace testreg
