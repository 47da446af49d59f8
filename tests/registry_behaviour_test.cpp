// What the cleanup relies on from the registry, checked directly against the
// registry calls. Built for the host and for Windows, so the in-memory stand-in is
// held to what the real registry does.
#include <cwchar>
#include <string>
#include <vector>

#include "test_registry.h"

namespace {

class RegistryBehaviour : public RegistryTest {
protected:
    HKEY OpenVendor(REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Vendor().c_str(), 0, access, &key), ERROR_SUCCESS);
        return key;
    }

    std::vector<std::wstring> Names(HKEY key) {
        std::vector<std::wstring> names;
        for (DWORD i = 0;; ++i) {
            wchar_t name[260];
            DWORD length = 260;
            LONG status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status != ERROR_SUCCESS) {
                EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
                break;
            }
            EXPECT_EQ(length, std::wcslen(name));
            names.push_back(name);
        }
        return names;
    }
};

TEST_F(RegistryBehaviour, LookupIgnoresCaseAndEnumerationKeepsIt) {
    Make({L"MixedCase"});
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (Vendor() + L"\\mIXEDcASE").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY vendor = OpenVendor();
    EXPECT_EQ(Names(vendor), std::vector<std::wstring>{L"MixedCase"});
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, EnumerationIsSortedIgnoringCaseAndShiftsAfterADeletion) {
    Make({L"b", L"C", L"a", L"Tavix", L"ta.vix"});
    HKEY vendor = OpenVendor();
    EXPECT_EQ(Names(vendor), (std::vector<std::wstring>{L"a", L"b", L"C", L"ta.vix", L"Tavix"}));
    EXPECT_EQ(RegDeleteKeyW(vendor, L"b"), ERROR_SUCCESS);
    wchar_t name[260];
    DWORD length = 260;
    ASSERT_EQ(RegEnumKeyExW(vendor, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(name), L"C");
    length = 260;
    EXPECT_EQ(RegEnumKeyExW(vendor, 4, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, TooSmallNameBufferFailsWithoutEndingTheEnumeration) {
    Make({L"abcdefgh"});
    HKEY vendor = OpenVendor();
    wchar_t name[260];
    DWORD length = 4;
    LONG status = RegEnumKeyExW(vendor, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(status, ERROR_SUCCESS);
    EXPECT_NE(status, ERROR_NO_MORE_ITEMS);
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, KeyWithSubkeysCannotBeDeleted) {
    Make({L"Parent\\Child"});
    HKEY vendor = OpenVendor();
    EXPECT_NE(RegDeleteKeyW(vendor, L"Parent"), ERROR_SUCCESS);
    EXPECT_TRUE(Exists(L"Parent\\Child"));
    EXPECT_NE(RegDeleteKeyW(vendor, L"Missing"), ERROR_SUCCESS);
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, MissingKeyIsNotFound) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (Vendor() + L"\\a\\b").c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    Make({});
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (Vendor() + L"\\a").c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryBehaviour, HandleOfADeletedKeyStaysValidUntilClosed) {
    expectBalancedHandles_ = false;
    Make({L"Gone"});
    HKEY vendor = OpenVendor();
    HKEY gone = nullptr;
    ASSERT_EQ(RegOpenKeyExW(vendor, L"Gone", 0, KEY_ALL_ACCESS, &gone), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyW(vendor, L"Gone"), ERROR_SUCCESS);
    wchar_t name[260];
    DWORD length = 260;
    LONG status = RegEnumKeyExW(gone, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(status, ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(gone), ERROR_SUCCESS);
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, LinkIsFollowedUnlessOpenedAsItself) {
    testreg::CreateKey(HKEY_LOCAL_MACHINE, Victim() + L"\\Inside");
    Make({});
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Below(L"Link"), Victim());
    HKEY vendor = OpenVendor();

    HKEY followed = nullptr;
    ASSERT_EQ(RegOpenKeyExW(vendor, L"Link", 0, KEY_READ, &followed), ERROR_SUCCESS);
    EXPECT_EQ(Names(followed), std::vector<std::wstring>{L"Inside"});
    RegCloseKey(followed);

    HKEY link = nullptr;
    ASSERT_EQ(RegOpenKeyExW(vendor, L"Link", REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &link), ERROR_SUCCESS);
    EXPECT_TRUE(Names(link).empty());
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(link, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_LINK));
    RegCloseKey(link);

    // Deleting by name follows the link: this is why the cleanup must never hand a
    // link to RegDeleteKeyW.
    HKEY inside = nullptr;
    ASSERT_EQ(RegOpenKeyExW(vendor, L"Link\\Inside", 0, KEY_READ, &inside), ERROR_SUCCESS);
    RegCloseKey(inside);
    EXPECT_EQ(RegDeleteKeyW(vendor, L"Link\\Inside"), ERROR_SUCCESS);
    EXPECT_FALSE(testreg::KeyExists(HKEY_LOCAL_MACHINE, Victim() + L"\\Inside"));
    RegCloseKey(vendor);
}

TEST_F(RegistryBehaviour, OrdinaryKeyIsNotALink) {
    Make({L"Plain"});
    HKEY plain = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Below(L"Plain").c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &plain),
              ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(plain, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    RegCloseKey(plain);
}

}  // namespace
