#pragma once
// The walk over one key's subkeys by index that both the product-key sweep and the
// key-tree deletion use.
#include "registry/registry_api.h"

// Room for the longest key name the registry allows (255) and its NUL.
inline constexpr DWORD kKeyNameCapacity = 260;

// How often one index is asked for before it is stepped over as unreadable.
inline constexpr int kEnumAttemptsPerIndex = 4;

// How many unreadable indexes in a row make the rest of the key count as
// unreadable too. A key whose every index fails (one deleted under us, say)
// would otherwise be walked up to index 2^32.
inline constexpr int kMaxUnreadableIndexesInRow = 8;

// Deletes with DeleteKeyTree every direct subkey of `key` (opened with full access)
// whose name `accept` takes; a null `accept` takes every name. Returns 1 when all of
// them are gone, 0 when one stayed or a name could not be read.
int DeleteSubkeys(HKEY key, bool (*accept)(const WCHAR* name));
