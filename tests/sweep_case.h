#pragma once
// A whole registry situation for the cleanup run on the stand-in: keys, values, links
// and scripted faults; running all four cleanup targets over it; and checking what
// must hold afterwards whatever the situation:
//  1. nothing is deleted that is neither a product key (a direct subkey of a vendor
//     key whose name marks it as the product's) nor below one; no link is deleted;
//  2. a target that returned 1 has no product key left; a target into whose vendor
//     key and product trees no fault was put returned 1;
//  3. every handle opened is closed, each key's own handle before the key is deleted;
//  4. with no fault anywhere, every product key is gone.
// Used by the randomized, exhaustive and fuzz tests.
#include <string>
#include <vector>

#include "registry/host_registry.h"

namespace sweepcase {

enum class FaultKind {
    DenyFullAccess,
    DenyOpenNotFound,
    DenyOpenAccessDenied,
    EnumTransient,  // fails at one index fewer times than the sweep asks
    EnumForever,    // fails at one index every time
    DenyDelete,
};

struct Key {
    HKEY root;
    std::wstring path;
    bool hasValue;
};

struct Link {
    HKEY root;
    std::wstring path;  // a key with nothing below it
    HKEY targetRoot;
    std::wstring targetPath;
};

struct Fault {
    FaultKind kind;
    HKEY root;
    std::wstring path;
    DWORD index;  // for the enumeration faults
};

struct Case {
    std::vector<Key> keys;  // each creates its missing ancestors too
    std::vector<Link> links;
    std::vector<Fault> faults;
};

// The names the product's keys carry, decided independently of the code under test.
bool IsProductName(const std::wstring& name);

// True when the registry takes the two names for the same key (it ignores case).
bool SameKeyName(const std::wstring& a, const std::wstring& b);

// Key names for generated cases: the product's, near misses, long and non-ASCII ones.
const std::vector<std::wstring>& NamePool();

// Builds the case on an empty stand-in, runs the four cleanup targets in order and
// checks the invariants. Returns "" when all hold, else what broke.
std::string Run(const Case& c);

// A smaller case that still fails (Run returns non-empty), found by removing keys,
// links and faults one at a time for as long as the failure stays.
Case Shrink(const Case& c);

std::string Describe(const Case& c);
std::string Narrow(const std::wstring& text);

}  // namespace sweepcase
