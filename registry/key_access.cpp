#include "registry/key_access.h"

LONG OpenKeyNoFollow(HKEY parent, const WCHAR* path, REGSAM access, HKEY* key) {
    return RegOpenKeyExW(parent, path, REG_OPTION_OPEN_LINK, access, key);
}

bool IsRegistryLink(HKEY key) {
    DWORD type = 0;
    LONG status = RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr);
    return status == ERROR_SUCCESS && type == REG_LINK;
}
