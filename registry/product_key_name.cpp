#include "registry/product_key_name.h"

namespace {

// The name's terminating NUL takes part in the comparison, so a name shorter than
// the prefix never matches it.
bool StartsWith(const WCHAR* name, const WCHAR* prefix) {
    for (; *prefix != L'\0'; ++prefix, ++name) {
        if (*name != *prefix) return false;
    }
    return true;
}

bool IsExactly(const WCHAR* name, const WCHAR* word) {
    for (; *word != L'\0'; ++word, ++name) {
        if (*name != *word) return false;
    }
    return *name == L'\0';
}

}  // namespace

bool IsProductKeyName(const WCHAR* name) {
    return StartsWith(name, L"Tavix") || StartsWith(name, kProductName) || IsExactly(name, L"RurevAvo");
}
