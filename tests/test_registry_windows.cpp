// Test keys on the real registry. HKLM keys live in the 64-bit view, the one a
// link's native path \Registry\Machine names; HKCU\Software is the same in both.
#include "test_registry.h"
#include "win_registry.h"

namespace testreg {

namespace {

REGSAM View(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0; }

}  // namespace

void CreateKey(HKEY root, const std::wstring& path) {
    EXPECT_TRUE(winreg::CreateKey(root, path, View(root))) << "creating a test key";
}

bool KeyExists(HKEY root, const std::wstring& path) { return winreg::KeyExists(root, path, View(root)); }

void SetValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    EXPECT_TRUE(winreg::SetValue(root, path, View(root), name, L"1")) << "setting a test value";
}

bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    return winreg::HasValue(root, path, View(root), name);
}

void CreateLinkToMachineKey(HKEY root, const std::wstring& path, const std::wstring& machinePath) {
    EXPECT_TRUE(winreg::CreateLink(root, path, View(root), L"\\Registry\\Machine\\" + machinePath))
        << "creating a test link";
}

void DeleteTree(HKEY root, const std::wstring& path) { winreg::DeleteTree(root, path, View(root)); }

void ExpectHandlesBalanced() {
    // The real registry does not say which handles a call left open; the host suite checks that.
}

}  // namespace testreg
