#include "registry/key_access.h"
#include "registry/product_key_name.h"
#include "registry/product_keys.h"
#include "registry/subkey_sweep.h"

namespace {

// Status of a target whose vendor key cannot be opened with full access.
int StatusOfUnopenableVendorKey(HKEY root, const WCHAR* path) {
    HKEY probe;
    LONG status = OpenKeyNoFollow(root, path, KEY_READ, &probe);
    if (status == ERROR_SUCCESS) {
        // It is there and readable, but we may not change it.
        RegCloseKey(probe);
        return 0;
    }
    // Only a vendor key that is not there means nothing to do; one that is shut
    // to this user may still hold product keys.
    return status == ERROR_FILE_NOT_FOUND ? 1 : 0;
}

}  // namespace

int DeleteProductKeys(HKEY root, const WCHAR* path) {
    HKEY vendor;
    if (OpenKeyNoFollow(root, path, KEY_ALL_ACCESS, &vendor) != ERROR_SUCCESS)
        return StatusOfUnopenableVendorKey(root, path);
    // A vendor key that is a link points at keys that are not ours to sweep.
    if (IsRegistryLink(vendor)) {
        RegCloseKey(vendor);
        return 0;
    }
    int result = DeleteSubkeys(vendor, IsProductKeyName);
    RegCloseKey(vendor);
    return result;
}
