// The four cleanup targets and how their results combine, on the stand-in.
#include <gtest/gtest.h>

#include "app/cleanup_targets.h"
#include "registry/host_registry_control.h"

namespace {

TEST(CleanupTargets, AreTheFourVendorKeysInSweepOrder) {
    const std::pair<HKEY, std::wstring> expected[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Kelsburo"},
        {HKEY_CURRENT_USER, L"Software\\Kelsburo"},
        {HKEY_CURRENT_USER, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Kelsburo"},
        {HKEY_CURRENT_USER, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Wow6432Node\\Kelsburo"},
    };
    for (int i = 0; i < kCleanupTargetCount; ++i) {
        EXPECT_EQ(kCleanupTargets[i].root, expected[i].first) << i;
        EXPECT_EQ(kCleanupTargets[i].vendorKeyPath, expected[i].second) << i;
    }
}

TEST(CleanupTargets, EveryTargetIsSweptAndOneFailureFailsTheRun) {
    for (int failing = -1; failing < kCleanupTargetCount; ++failing) {
        hostreg::Reset();
        for (const CleanupTarget& target : kCleanupTargets)
            hostreg::CreateKey(target.root, std::wstring(target.vendorKeyPath) + L"\\Tavix\\Sub");
        if (failing >= 0)
            hostreg::DenyFullAccess(kCleanupTargets[failing].root, kCleanupTargets[failing].vendorKeyPath);

        EXPECT_EQ(SweepCleanupTargets(), failing < 0 ? 1 : 0) << "failing target " << failing + 1;

        for (int t = 0; t < kCleanupTargetCount; ++t) {
            bool left = hostreg::KeyExists(kCleanupTargets[t].root,
                                           std::wstring(kCleanupTargets[t].vendorKeyPath) + L"\\Tavix");
            EXPECT_EQ(left, t == failing) << "target " << t + 1 << " with target " << failing + 1 << " failing";
        }
        EXPECT_EQ(hostreg::OpenHandleCount(), 0);
    }
}

TEST(CleanupTargets, NoVendorKeyAnywhereIsASuccess) {
    hostreg::Reset();
    EXPECT_EQ(SweepCleanupTargets(), 1);
    EXPECT_TRUE(hostreg::Snapshot().size() == 2u) << "only the two roots";
}

}  // namespace
