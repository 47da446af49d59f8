#pragma once
// Removal of the product's keys from under a vendor key.
#include "registry/registry_api.h"

// Removes, each with everything below it, every direct subkey of root\path whose
// name IsProductKeyName accepts. The vendor key, its values and its other subkeys
// stay. Returns 1 when every accepted subkey is gone (or there was none, or the
// vendor key does not exist), else 0.
int DeleteProductKeys(HKEY root, const WCHAR* path);

// Deletes parent\name and every key below it, depth first. Returns 1 when the key
// is gone, else 0; whatever below it could be deleted stays deleted. Registry links
// are never followed: a link, or a key with a link below it, stays.
int DeleteKeyTree(HKEY parent, const WCHAR* name);
