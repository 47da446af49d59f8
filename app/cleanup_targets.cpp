#include "app/cleanup_targets.h"

#include "registry/product_keys.h"

const CleanupTarget kCleanupTargets[kCleanupTargetCount] = {
    {HKEY_LOCAL_MACHINE, L"Software\\Kelsburo"},
    {HKEY_CURRENT_USER, L"Software\\Kelsburo"},
    {HKEY_CURRENT_USER, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Kelsburo"},
    {HKEY_CURRENT_USER, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Wow6432Node\\Kelsburo"},
};

int SweepCleanupTargets() {
    int allClean = 1;
    for (const CleanupTarget& target : kCleanupTargets) {
        if (DeleteProductKeys(target.root, target.vendorKeyPath) == 0) allClean = 0;
    }
    return allClean;
}
