// The product-key sweep and key-tree deletion on a registry without injected faults.
// Built for the host (stand-in) and for Windows (real registry, under Wine).
#include "registry/product_keys.h"
#include "test_registry.h"

namespace {

using testreg::HasValue;
using testreg::SetValue;

class ProductSweep : public RegistryTest {};

TEST_F(ProductSweep, RemovesExactlyTheProductKeys) {
    const wchar_t* products[] = {L"Tavix", L"Tavix 2000", L"Ta.vix", L"Ta.vix9", L"RurevAvo"};
    const wchar_t* others[] = {L"tavix 1", L"Ta_vix", L"RurevAvo2", L"XTavix", L"Ta.vi", L"RUREVAVO x", L"Alpha"};
    Make({});
    for (const wchar_t* name : products)
        Make({name, std::wstring(name) + L"\\Settings"});
    for (const wchar_t* name : others)
        Make({name, std::wstring(name) + L"\\Settings"});
    SetValue(HKEY_CURRENT_USER, Vendor(), L"InstallDir");

    EXPECT_EQ(Sweep(), 1);

    for (const wchar_t* name : products)
        EXPECT_FALSE(Exists(name)) << "product key stayed";
    for (const wchar_t* name : others) {
        EXPECT_TRUE(Exists(name)) << "other key removed";
        EXPECT_TRUE(Exists(std::wstring(name) + L"\\Settings"));
    }
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, Vendor(), L"InstallDir"));
}

TEST_F(ProductSweep, RemovesWholeTreesAndLeavesEmptiedVendorKey) {
    Make({L"Tavix\\A\\B\\C\\D", L"Tavix\\A\\B2", L"Tavix\\A2", L"Tavix\\Other\\Tavix", L"Ta.vix\\x"});
    SetValue(HKEY_CURRENT_USER, Below(L"Tavix\\A\\B"), L"Path");
    SetValue(HKEY_CURRENT_USER, Below(L"Tavix"), L"Version");

    EXPECT_EQ(Sweep(), 1);

    EXPECT_FALSE(Exists(L"Tavix"));
    EXPECT_FALSE(Exists(L"Ta.vix"));
    EXPECT_TRUE(VendorExists());
}

TEST_F(ProductSweep, LooksOnlyAtDirectSubkeysOfTheVendorKey) {
    Make({L"Other\\Tavix", L"Other\\RurevAvo\\x", L"Tavix"});
    EXPECT_EQ(Sweep(), 1);
    EXPECT_FALSE(Exists(L"Tavix"));
    EXPECT_TRUE(Exists(L"Other\\Tavix"));
    EXPECT_TRUE(Exists(L"Other\\RurevAvo\\x"));
}

TEST_F(ProductSweep, ProductKeysSideBySideAllGoAndTheNextKeyIsStillExamined) {
    // In enumeration order: several product keys in a row, then another one after a
    // key that stays, each with subkeys in a row of their own.
    Make({L"Alpha", L"RurevAvo\\1", L"RurevAvo\\2", L"Ta.vix\\1", L"Ta.vix\\2", L"Ta.vix9", L"Tavix", L"Tavix 2000",
          L"TavixA\\1\\1", L"TavixA\\1\\2", L"TavixA\\2", L"Tavy", L"Tavixz"});
    EXPECT_EQ(Sweep(), 1);
    for (const wchar_t* name : {L"RurevAvo", L"Ta.vix", L"Ta.vix9", L"Tavix", L"Tavix 2000", L"TavixA", L"Tavixz"})
        EXPECT_FALSE(Exists(name));
    EXPECT_TRUE(Exists(L"Alpha"));
    EXPECT_TRUE(Exists(L"Tavy"));
}

TEST_F(ProductSweep, AbsentVendorKeyIsNothingToDo) {
    EXPECT_EQ(Sweep(), 1);
    EXPECT_FALSE(VendorExists());
    // Missing levels above the vendor key, too.
    EXPECT_EQ(DeleteProductKeys(HKEY_CURRENT_USER, (Vendor() + L"\\No\\Such\\Kelsburo").c_str()), 1);
}

TEST_F(ProductSweep, VendorKeyWithoutProductKeysStaysAsItIs) {
    Make({});
    SetValue(HKEY_CURRENT_USER, Vendor(), L"Language");
    EXPECT_EQ(Sweep(), 1);
    EXPECT_TRUE(VendorExists());
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, Vendor(), L"Language"));
}

TEST_F(ProductSweep, LongAndNonAsciiNamesNeitherStopNorHideProductKeys) {
    std::wstring chinese(195, L'\u96f2');  // a legal 195-character name
    std::wstring longest(255, L'x');       // the longest name the registry allows
    std::wstring longProduct = L"Tavix" + std::wstring(250, L'y');
    Make({L"Ta.vix", chinese, L"Tavix \u4e91\u5e06\u8bcd", longest, longProduct, longProduct + L"\\" + chinese,
          L"Tavix"});
    EXPECT_EQ(Sweep(), 1);
    EXPECT_TRUE(Exists(chinese));
    EXPECT_TRUE(Exists(longest));
    for (const std::wstring& name :
         {std::wstring(L"Ta.vix"), std::wstring(L"Tavix \u4e91\u5e06\u8bcd"), longProduct, std::wstring(L"Tavix")})
        EXPECT_FALSE(Exists(name));
}

TEST_F(ProductSweep, LinkAtTheProductLevelStaysAndItsDestinationIsUntouched) {
    // One destination without subkeys (a delete by name through the link would
    // remove it), one with.
    const std::wstring empty = Victim() + L"\\Empty";
    const std::wstring full = Victim() + L"\\Full";
    testreg::CreateKey(HKEY_LOCAL_MACHINE, empty);
    SetValue(HKEY_LOCAL_MACHINE, empty, L"Keep");
    testreg::CreateKey(HKEY_LOCAL_MACHINE, full + L"\\Tavix");
    Make({L"Ta.vix\\1"});
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Below(L"Tavix"), empty);
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Below(L"Tavix 2000"), full);

    EXPECT_EQ(Sweep(), 0);

    EXPECT_TRUE(Exists(L"Tavix"));
    EXPECT_TRUE(Exists(L"Tavix 2000"));
    EXPECT_FALSE(Exists(L"Ta.vix"));
    EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, empty, L"Keep"));
    EXPECT_TRUE(testreg::KeyExists(HKEY_LOCAL_MACHINE, full + L"\\Tavix"));
}

TEST_F(ProductSweep, LinkDeepInAProductTreeKeepsItsAncestorsAndSparesItsDestination) {
    testreg::CreateKey(HKEY_LOCAL_MACHINE, Victim());
    Make({L"Tavix\\A\\B", L"Tavix\\A\\C", L"Tavix\\Z", L"Tavix 2000"});
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Below(L"Tavix\\A\\Link"), Victim());

    EXPECT_EQ(Sweep(), 0);

    EXPECT_TRUE(Exists(L"Tavix\\A\\Link"));
    EXPECT_FALSE(Exists(L"Tavix\\A\\B"));
    EXPECT_FALSE(Exists(L"Tavix\\A\\C"));
    EXPECT_FALSE(Exists(L"Tavix\\Z"));
    EXPECT_FALSE(Exists(L"Tavix 2000"));
    EXPECT_TRUE(testreg::KeyExists(HKEY_LOCAL_MACHINE, Victim()));
}

TEST_F(ProductSweep, VendorKeyThatIsALinkIsNotSwept) {
    testreg::CreateKey(HKEY_LOCAL_MACHINE, Victim() + L"\\Tavix");
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Vendor(), Victim());

    EXPECT_EQ(Sweep(), 0);
    EXPECT_TRUE(testreg::KeyExists(HKEY_LOCAL_MACHINE, Victim() + L"\\Tavix"));
}

TEST_F(ProductSweep, LinkWithAnotherNameIsNotEntered) {
    testreg::CreateKey(HKEY_LOCAL_MACHINE, Victim() + L"\\Tavix");
    Make({});
    testreg::CreateLinkToMachineKey(HKEY_CURRENT_USER, Below(L"Other"), Victim());
    EXPECT_EQ(Sweep(), 1);
    EXPECT_TRUE(testreg::KeyExists(HKEY_LOCAL_MACHINE, Victim() + L"\\Tavix"));
}

class KeyTree : public RegistryTest {};

TEST_F(KeyTree, DeletesAKeyWithItsValues) {
    Make({L"Tavix"});
    SetValue(HKEY_CURRENT_USER, Below(L"Tavix"), L"Version");
    HKEY vendor = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Vendor().c_str(), 0, KEY_ALL_ACCESS, &vendor), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyTree(vendor, L"Tavix"), 1);
    EXPECT_EQ(DeleteKeyTree(vendor, L"Tavix"), 0) << "a key that is gone already is not deleted";
    EXPECT_EQ(DeleteKeyTree(vendor, L"Anything"), 0);
    RegCloseKey(vendor);
    EXPECT_FALSE(Exists(L"Tavix"));
}

TEST_F(KeyTree, DeletesWhateverItIsGivenWhateverTheNames) {
    Make({L"Plain\\tavix\\RurevAvo2", L"Plain\\Other", L"Plain\\Other\\x\\y\\z\\w\\v\\u\\t\\s"});
    HKEY vendor = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Vendor().c_str(), 0, KEY_ALL_ACCESS, &vendor), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyTree(vendor, L"Plain"), 1);
    RegCloseKey(vendor);
    EXPECT_FALSE(Exists(L"Plain"));
    EXPECT_TRUE(VendorExists());
}

}  // namespace
