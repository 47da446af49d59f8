#pragma once
// Test keys on whichever registry the build has: the in-memory stand-in on the host,
// the real registry on Windows (run under Wine). Every test works below its own
// scratch key HKCU\Software\TavixDelRegTests\<test name>, removed before and after.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "registry/registry_api.h"

namespace testreg {

// Creates every missing level of root\path.
void CreateKey(HKEY root, const std::wstring& path);
// True when root\path exists; a link at the last level counts as itself.
bool KeyExists(HKEY root, const std::wstring& path);
void SetValue(HKEY root, const std::wstring& path, const std::wstring& name);
bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name);
// Makes root\path a registry link to HKLM\machinePath. On Windows, HKLM keys made
// by these helpers live in the 64-bit view, the one a link's native path names.
void CreateLinkToMachineKey(HKEY root, const std::wstring& path, const std::wstring& machinePath);
// Deletes root\path and everything below it without following any link.
void DeleteTree(HKEY root, const std::wstring& path);

// Checks, where the registry can tell, that the code under test closed every handle
// it opened and closed each key's own handle before deleting it.
void ExpectHandlesBalanced();

}  // namespace testreg

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The vendor key the sweep is pointed at, below the test's scratch key in HKCU.
    const std::wstring& Vendor() const { return vendor_; }
    // A path below the vendor key.
    std::wstring Below(const std::wstring& relative) const { return vendor_ + L"\\" + relative; }
    // A key in HKLM that links made by the test may point to.
    const std::wstring& Victim() const { return victim_; }

    void Make(std::initializer_list<std::wstring> relatives) const;
    bool Exists(const std::wstring& relative) const { return testreg::KeyExists(HKEY_CURRENT_USER, Below(relative)); }
    bool VendorExists() const { return testreg::KeyExists(HKEY_CURRENT_USER, vendor_); }
    int Sweep() const;

    // Cleared by a test that deletes a key under its own open handle on purpose.
    bool expectBalancedHandles_ = true;

private:
    std::wstring scratch_;
    std::wstring vendor_;
    std::wstring victim_;
};
