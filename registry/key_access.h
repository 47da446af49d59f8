#pragma once
// How the cleanup opens and inspects keys.
#include "registry/registry_api.h"

// Opens parent\path as itself: a registry link at the last level is opened as the
// link, not followed to its destination.
LONG OpenKeyNoFollow(HKEY parent, const WCHAR* path, REGSAM access, HKEY* key);

// True when the key, opened as itself, is a registry link.
bool IsRegistryLink(HKEY key);
