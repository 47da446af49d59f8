#include "registry/key_access.h"
#include "registry/product_keys.h"
#include "registry/subkey_sweep.h"

int DeleteKeyTree(HKEY parent, const WCHAR* name) {
    HKEY key;
    if (OpenKeyNoFollow(parent, name, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    // A link's destination is somebody else's key: leave the link and what it points to.
    if (IsRegistryLink(key)) {
        RegCloseKey(key);
        return 0;
    }
    int allDeleted = DeleteSubkeys(key, nullptr);
    // The key's own handle must be closed before the key is deleted.
    RegCloseKey(key);
    if (allDeleted == 0) return 0;
    return RegDeleteKeyW(parent, name) == ERROR_SUCCESS ? 1 : 0;
}
