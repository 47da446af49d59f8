// The sweep and the key-tree deletion against faults scripted into the stand-in.
#include "registry/host_registry_control.h"
#include "registry/product_keys.h"
#include "registry/subkey_sweep.h"
#include "test_registry.h"

namespace {

const HKEY HKCU = HKEY_CURRENT_USER;

class SweepFault : public RegistryTest {
protected:
    std::vector<std::wstring> Before() { return hostreg::Snapshot(); }
};

TEST_F(SweepFault, VendorKeyReadableButNotWritableIsAFailureAndIsLeftAlone) {
    Make({L"Tavix"});
    hostreg::DenyFullAccess(HKCU, Vendor());
    auto before = Before();
    long enumsBefore = hostreg::EnumCalls();
    EXPECT_EQ(Sweep(), 0);
    EXPECT_EQ(hostreg::Snapshot(), before);
    EXPECT_EQ(hostreg::EnumCalls(), enumsBefore) << "nothing is enumerated";
}

TEST_F(SweepFault, OnlyAnAbsentVendorKeyCountsAsNothingToDo) {
    const struct Case {
        LONG openError;
        int expected;
    } cases[] = {{ERROR_FILE_NOT_FOUND, 1}, {ERROR_ACCESS_DENIED, 0}, {ERROR_INVALID_HANDLE, 0}};
    for (const Case& c : cases) {
        hostreg::Reset();
        Make({L"Tavix"});
        hostreg::DenyOpen(HKCU, Vendor(), c.openError);
        auto before = Before();
        EXPECT_EQ(Sweep(), c.expected) << "open error " << c.openError;
        EXPECT_EQ(hostreg::Snapshot(), before);
    }
}

TEST_F(SweepFault, ProductKeyThatStaysDoesNotKeepTheNextOneFromGoing) {
    const struct Case {
        const char* fault;
        void (*inject)(const std::wstring& key);
    } cases[] = {
        {"delete refused", [](const std::wstring& k) { hostreg::DenyDelete(HKCU, k, ERROR_ACCESS_DENIED); }},
        {"open refused", [](const std::wstring& k) { hostreg::DenyOpen(HKCU, k, ERROR_ACCESS_DENIED); }},
        {"open not found", [](const std::wstring& k) { hostreg::DenyOpen(HKCU, k, ERROR_FILE_NOT_FOUND); }},
        {"full access refused", [](const std::wstring& k) { hostreg::DenyFullAccess(HKCU, k); }},
    };
    for (const Case& c : cases) {
        hostreg::Reset();
        Make({L"Ta.vix", L"Tavix\\Sub", L"Tavix 2000\\Sub", L"Tavix 2000\\Sub\\Deeper"});
        c.inject(Below(L"Tavix"));
        EXPECT_EQ(Sweep(), 0) << c.fault;
        EXPECT_TRUE(Exists(L"Tavix")) << c.fault;
        EXPECT_FALSE(Exists(L"Ta.vix")) << c.fault;
        EXPECT_FALSE(Exists(L"Tavix 2000")) << c.fault;
        EXPECT_EQ(hostreg::OpenHandleCount(), 0) << c.fault;
    }
}

TEST_F(SweepFault, KeyThatCannotBeOpenedIsNotTouchedBelow) {
    Make({L"Tavix\\A\\B"});
    hostreg::DenyOpen(HKCU, Below(L"Tavix"), ERROR_ACCESS_DENIED);
    auto before = Before();
    EXPECT_EQ(Sweep(), 0);
    EXPECT_EQ(hostreg::Snapshot(), before);
}

TEST_F(SweepFault, DeepKeyThatCannotBeOpenedKeepsItsAncestorsOnly) {
    Make({L"Tavix\\A\\B\\C\\Locked\\Inner", L"Tavix\\A\\B\\C\\Next", L"Tavix\\A\\B\\Side\\x", L"Tavix\\A\\B2",
          L"Tavix\\Z", L"Tavix2\\x"});
    hostreg::DenyOpen(HKCU, Below(L"Tavix\\A\\B\\C\\Locked"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Sweep(), 0);
    for (const wchar_t* kept : {L"Tavix", L"Tavix\\A", L"Tavix\\A\\B", L"Tavix\\A\\B\\C", L"Tavix\\A\\B\\C\\Locked",
                                L"Tavix\\A\\B\\C\\Locked\\Inner"})
        EXPECT_TRUE(Exists(kept)) << "kept";
    for (const wchar_t* gone : {L"Tavix\\A\\B\\C\\Next", L"Tavix\\A\\B\\Side", L"Tavix\\A\\B2", L"Tavix\\Z", L"Tavix2"})
        EXPECT_FALSE(Exists(gone)) << "deleted";
}

TEST_F(SweepFault, EmptiedKeyWhoseDeleteIsRefusedStays) {
    Make({L"Tavix\\A\\B", L"Tavix\\C"});
    hostreg::DenyDelete(HKCU, Below(L"Tavix"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Sweep(), 0);
    EXPECT_TRUE(Exists(L"Tavix"));
    EXPECT_FALSE(Exists(L"Tavix\\A"));
    EXPECT_FALSE(Exists(L"Tavix\\C"));
}

TEST_F(SweepFault, EnumerationFailingForAWhileSkipsNoKey) {
    // Errors at one index, fewer times than the sweep asks, in the vendor key and
    // inside a product tree.
    Make({L"Alpha", L"Ta.vix\\1", L"Ta.vix\\2", L"Tavix\\1", L"Tavix\\2\\x", L"Tavix\\3", L"Zulu"});
    hostreg::FailEnum(HKCU, Vendor(), 1, kEnumAttemptsPerIndex - 1, ERROR_MORE_DATA);
    hostreg::FailEnum(HKCU, Below(L"Tavix"), 0, kEnumAttemptsPerIndex - 1, ERROR_ACCESS_DENIED);
    hostreg::FailEnum(HKCU, Below(L"Tavix"), 1, 1, 1234);
    EXPECT_EQ(Sweep(), 1);
    EXPECT_FALSE(Exists(L"Ta.vix"));
    EXPECT_FALSE(Exists(L"Tavix"));
    EXPECT_TRUE(Exists(L"Alpha"));
    EXPECT_TRUE(Exists(L"Zulu"));
}

TEST_F(SweepFault, EnumerationFailingForEverEndsAndIsAFailure) {
    // Index 1 of the vendor key (Beta) can never be read; the product key after it
    // still goes.
    Make({L"Alpha", L"Beta", L"Tavix\\x"});
    hostreg::FailEnum(HKCU, Vendor(), 1, -1, ERROR_MORE_DATA);
    EXPECT_EQ(Sweep(), 0);
    EXPECT_FALSE(Exists(L"Tavix"));
    EXPECT_TRUE(Exists(L"Beta"));

    // Inside a product tree: the unreadable subkey and its ancestors stay.
    hostreg::Reset();
    Make({L"Tavix\\a", L"Tavix\\b\\c", L"Tavix\\d"});
    hostreg::FailEnum(HKCU, Below(L"Tavix\\b"), 0, -1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Sweep(), 0);
    EXPECT_TRUE(Exists(L"Tavix\\b\\c"));
    EXPECT_FALSE(Exists(L"Tavix\\a"));
    EXPECT_FALSE(Exists(L"Tavix\\d"));
}

TEST_F(SweepFault, KeyUnreadableAtEveryIndexEndsTheWalk) {
    Make({L"Tavix\\x"});
    for (DWORD i = 0; i < 1000; ++i)
        hostreg::FailEnum(HKCU, Vendor(), i, -1, ERROR_KEY_DELETED);
    EXPECT_EQ(Sweep(), 0);
    EXPECT_LE(hostreg::EnumCalls(), long(kEnumAttemptsPerIndex) * kMaxUnreadableIndexesInRow);
    EXPECT_TRUE(Exists(L"Tavix\\x"));
}

TEST_F(SweepFault, NameTooLongForTheBufferIsSteppedOver) {
    // The registry allows no such name; the stand-in does, to show that a name that
    // can never be read does not hold the sweep up.
    std::wstring tooLong(kKeyNameCapacity + 40, L'q');
    Make({L"Ta.vix", tooLong, L"Tavix"});
    EXPECT_EQ(Sweep(), 0);
    EXPECT_TRUE(Exists(tooLong));
    EXPECT_FALSE(Exists(L"Ta.vix"));
    EXPECT_FALSE(Exists(L"Tavix"));
}

}  // namespace
