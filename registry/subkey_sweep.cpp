#include "registry/subkey_sweep.h"

#include "registry/product_keys.h"

namespace {

enum class EnumResult { Name, End, Unreadable };

// Reads the name at `index`, asking again while the registry answers with an error.
EnumResult EnumSubkeyName(HKEY key, DWORD index, WCHAR* name) {
    for (int attempt = 0; attempt < kEnumAttemptsPerIndex; ++attempt) {
        DWORD length = kKeyNameCapacity;
        LONG status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) return EnumResult::Name;
        if (status == ERROR_NO_MORE_ITEMS) return EnumResult::End;
    }
    return EnumResult::Unreadable;
}

}  // namespace

int DeleteSubkeys(HKEY key, bool (*accept)(const WCHAR* name)) {
    int allDeleted = 1;
    DWORD index = 0;
    int unreadableInRow = 0;
    WCHAR name[kKeyNameCapacity];
    for (;;) {
        EnumResult read = EnumSubkeyName(key, index, name);
        if (read == EnumResult::End) break;
        if (read == EnumResult::Unreadable) {
            // The name we could not read may be one we had to delete.
            allDeleted = 0;
            if (++unreadableInRow >= kMaxUnreadableIndexesInRow) break;
            ++index;
            continue;
        }
        unreadableInRow = 0;
        if (accept && !accept(name)) {
            ++index;
            continue;
        }
        // After a deletion the next subkey moves up to this index; a subkey that
        // stayed is stepped over.
        if (DeleteKeyTree(key, name) == 0) {
            allDeleted = 0;
            ++index;
        }
    }
    return allDeleted;
}
