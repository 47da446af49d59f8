#pragma once
#include "registry/registry_api.h"

// The product's name as it appears in its keys and on its dialogs.
inline constexpr WCHAR kProductName[] = L"Ta.vix";

// True for a key name that marks the product's own keys: one that starts with
// "Tavix" or "Ta.vix", or is exactly "RurevAvo". Case-sensitive, code unit by code unit.
bool IsProductKeyName(const WCHAR* name);
