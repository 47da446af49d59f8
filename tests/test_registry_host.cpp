// Test keys on the in-memory stand-in.
#include "registry/host_registry_control.h"
#include "test_registry.h"

namespace testreg {

void CreateKey(HKEY root, const std::wstring& path) { hostreg::CreateKey(root, path); }

bool KeyExists(HKEY root, const std::wstring& path) { return hostreg::KeyExists(root, path); }

void SetValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    hostreg::SetValue(root, path, name, 1 /* REG_SZ */);
}

bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    return hostreg::HasValue(root, path, name);
}

void CreateLinkToMachineKey(HKEY root, const std::wstring& path, const std::wstring& machinePath) {
    hostreg::CreateLink(root, path, HKEY_LOCAL_MACHINE, machinePath);
}

void DeleteTree(HKEY, const std::wstring&) {
    // Each test starts from an empty stand-in instead.
    hostreg::Reset();
}

void ExpectHandlesBalanced() {
    EXPECT_EQ(hostreg::OpenHandleCount(), 0) << "handles left open";
    EXPECT_EQ(hostreg::DeletesWhileOpen(), 0) << "a key was deleted while its own handle was open";
    EXPECT_EQ(hostreg::BadCloses(), 0) << "a close of something that was not an open handle";
}

}  // namespace testreg
