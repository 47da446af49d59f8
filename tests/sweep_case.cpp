#include "sweep_case.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "app/cleanup_targets.h"
#include "registry/host_registry_control.h"
#include "registry/product_keys.h"
#include "registry/subkey_sweep.h"

namespace sweepcase {

namespace {

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    }
    return text;
}

std::vector<std::wstring> Levels(const std::wstring& path) {
    std::vector<std::wstring> levels;
    size_t start = 0;
    for (;;) {
        size_t end = path.find(L'\\', start);
        levels.push_back(path.substr(start, end - start));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return levels;
}

const wchar_t* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? L"HKLM" : L"HKCU"; }

std::wstring Full(HKEY root, const std::wstring& path) { return std::wstring(RootName(root)) + L"\\" + path; }

// Where a snapshot line sits relative to the cleanup targets.
struct Location {
    int target = -1;         // the target whose vendor key the path is at or below
    bool isVendor = false;   // the vendor key itself
    bool inProduct = false;  // a product key or below one
};

// Levels of a full path ("HKCU\Software\...") against the targets; the registry
// ignores case, so the vendor key's levels match whatever their case.
Location Locate(const std::vector<std::wstring>& levels) {
    // The vendor keys' levels, upper-cased once.
    static const std::vector<std::vector<std::wstring>> vendors = [] {
        std::vector<std::vector<std::wstring>> all;
        for (const CleanupTarget& target : kCleanupTargets)
            all.push_back(Levels(Upper(Full(target.root, target.vendorKeyPath))));
        return all;
    }();
    Location where;
    for (int t = 0; t < kCleanupTargetCount; ++t) {
        const std::vector<std::wstring>& vendor = vendors[size_t(t)];
        if (levels.size() < vendor.size()) continue;
        bool match = true;
        for (size_t i = 0; i < vendor.size() && match; ++i)
            match = Upper(levels[i]) == vendor[i];
        if (!match) continue;
        where.target = t;
        where.isVendor = levels.size() == vendor.size();
        where.inProduct = levels.size() > vendor.size() && IsProductName(levels[vendor.size()]);
        return where;
    }
    return where;
}

Location LocateFull(const std::wstring& fullPath) { return Locate(Levels(fullPath)); }

// The key path of a snapshot line, without its value or link part.
std::wstring KeyOfLine(const std::wstring& line) {
    size_t cut = std::min(line.find(L" ="), line.find(L" -> "));
    return cut == std::wstring::npos ? line : line.substr(0, cut);
}

bool IsLinkLine(const std::wstring& line) { return line.find(L" -> ") != std::wstring::npos; }

bool IsUnder(const std::wstring& path, const std::wstring& top) {
    return Upper(path) == Upper(top) || Upper(path).rfind(Upper(top) + L"\\", 0) == 0;
}

void Apply(const Case& c) {
    hostreg::Reset();
    for (const Key& key : c.keys) {
        hostreg::CreateKey(key.root, key.path);
        if (key.hasValue) hostreg::SetValue(key.root, key.path, L"Value", 1);
    }
    for (const Link& link : c.links) {
        // A link is a new key of its own; one whose name is taken (in any case) is skipped.
        if (!hostreg::KeyExists(link.root, link.path))
            hostreg::CreateLink(link.root, link.path, link.targetRoot, link.targetPath);
    }
    for (const Fault& fault : c.faults) {
        if (!hostreg::KeyExists(fault.root, fault.path)) continue;
        switch (fault.kind) {
            case FaultKind::DenyFullAccess: hostreg::DenyFullAccess(fault.root, fault.path); break;
            case FaultKind::DenyOpenNotFound: hostreg::DenyOpen(fault.root, fault.path, ERROR_FILE_NOT_FOUND); break;
            case FaultKind::DenyOpenAccessDenied: hostreg::DenyOpen(fault.root, fault.path, ERROR_ACCESS_DENIED); break;
            case FaultKind::EnumTransient:
                hostreg::FailEnum(fault.root, fault.path, fault.index, kEnumAttemptsPerIndex - 1, ERROR_ACCESS_DENIED);
                break;
            case FaultKind::EnumForever:
                hostreg::FailEnum(fault.root, fault.path, fault.index, -1, ERROR_MORE_DATA);
                break;
            case FaultKind::DenyDelete: hostreg::DenyDelete(fault.root, fault.path, ERROR_ACCESS_DENIED); break;
        }
    }
}

// Whether something that can make the target fail sits on its vendor key or in its
// product trees, judged by where it really is: the registry ignores case, so a fault
// given under "tavix" may sit in the product key stored as "Tavix". Transient
// enumeration errors do not count: the sweep rides them out.
bool TargetHasFault(const Case& c, int target) {
    auto touches = [&](HKEY root, const std::wstring& path) {
        std::wstring stored = hostreg::StoredPath(root, path);
        if (stored.empty()) return false;
        Location where = LocateFull(stored);
        return where.target == target && (where.isVendor || where.inProduct);
    };
    for (const Fault& fault : c.faults) {
        if (fault.kind != FaultKind::EnumTransient && touches(fault.root, fault.path)) return true;
    }
    for (const Link& link : c.links) {
        if (touches(link.root, link.path)) return true;
    }
    return false;
}

// A vendor key whose opens report "not found" is, to the sweep, absent.
bool VendorReportsAbsent(const Case& c, int target) {
    for (const Fault& fault : c.faults) {
        if (fault.kind != FaultKind::DenyOpenNotFound) continue;
        std::wstring stored = hostreg::StoredPath(fault.root, fault.path);
        Location where = LocateFull(stored);
        if (!stored.empty() && where.target == target && where.isVendor) return true;
    }
    return false;
}

}  // namespace

const std::vector<std::wstring>& NamePool() {
    static const std::vector<std::wstring> pool = {
        // the product's names
        L"Tavix",
        L"Tavix 2000",
        L"Ta.vix",
        L"Ta.vix9",
        L"RurevAvo",
        L"Tavix\x96f2\x5e06",
        // near misses
        L"tavix",
        L"TAVIX",
        L"Ta_vix",
        L"XTavix",
        L"Ta.vi",
        L"RurevAvo2",
        L"RUREVAVO",
        L"rurevavo",
        L"Tavi",
        // long, non-ASCII and ordinary names
        std::wstring(255, L'L'),
        L"Tavix" + std::wstring(250, L'y'),
        std::wstring(195, L'\x96f2'),
        L"\x96f2\x5e06\x8a5e",
        L"\xdcnicode \xe9t\xe9",
        L"Settings",
        L"Data",
    };
    return pool;
}

bool SameKeyName(const std::wstring& a, const std::wstring& b) { return Upper(a) == Upper(b); }

bool IsProductName(const std::wstring& name) {
    return name.rfind(L"Tavix", 0) == 0 || name.rfind(L"Ta.vix", 0) == 0 || name == L"RurevAvo";
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char buffer[16];
            snprintf(buffer, sizeof buffer, "\\u%04x", unsigned(c));
            out += buffer;
        }
    }
    return out;
}

std::string Run(const Case& c) {
    Apply(c);
    const std::vector<std::wstring> before = hostreg::Snapshot();

    int results[kCleanupTargetCount];
    for (int t = 0; t < kCleanupTargetCount; ++t) {
        // The same calls, in the same order, as the program makes.
        results[t] = DeleteProductKeys(kCleanupTargets[t].root, kCleanupTargets[t].vendorKeyPath);
    }
    const std::vector<std::wstring> after = hostreg::Snapshot();
    const std::set<std::wstring> remaining(after.begin(), after.end());

    std::string problems;
    auto fail = [&](const std::string& what) { problems += what + "\n"; };

    // 1. Only product trees lose anything, and no link goes.
    for (const std::wstring& line : before) {
        if (remaining.count(line)) continue;
        if (IsLinkLine(line)) fail("link deleted: " + Narrow(line));
        if (!LocateFull(KeyOfLine(line)).inProduct) fail("deleted outside the product's keys: " + Narrow(line));
    }
    std::set<std::wstring> existed(before.begin(), before.end());
    for (const std::wstring& line : after) {
        if (!existed.count(line)) fail("appeared: " + Narrow(line));
    }

    // 2. The status tells the truth.
    bool productLeftIn[kCleanupTargetCount] = {};
    for (const std::wstring& line : after) {
        Location where = LocateFull(KeyOfLine(line));
        if (where.target >= 0 && where.inProduct) productLeftIn[where.target] = true;
    }
    bool anyFault = !c.faults.empty() || !c.links.empty();
    for (int t = 0; t < kCleanupTargetCount; ++t) {
        bool productLeft = productLeftIn[t];
        std::string target = "target " + std::to_string(t + 1);
        if (results[t] == 1 && productLeft && !VendorReportsAbsent(c, t))
            fail(target + " returned 1 with product keys left");
        if (results[t] != 1 && !TargetHasFault(c, t)) fail(target + " failed without a fault in its way");
        if (!anyFault && productLeft) fail(target + " kept product keys with no fault anywhere");
        if (results[t] != 0 && results[t] != 1) fail(target + " returned neither 0 nor 1");
    }

    // 3. Handles.
    if (hostreg::OpenHandleCount() != 0) fail(std::to_string(hostreg::OpenHandleCount()) + " handles left open");
    if (hostreg::DeletesWhileOpen() != 0) fail("a key deleted while its own handle was open");
    if (hostreg::BadCloses() != 0) fail("a close of something that was not an open handle");
    return problems;
}

namespace {

// Tries removing each of `count` parts of the case in turn (`drop` removes the i-th),
// keeping every removal after which the case still fails. Returns whether any stuck.
bool DropWhileFailing(Case& best, size_t (*count)(const Case&), void (*drop)(Case&, size_t)) {
    bool dropped = false;
    for (size_t i = 0; i < count(best);) {
        Case trial = best;
        drop(trial, i);
        if (!Run(trial).empty()) {
            best = trial;
            dropped = true;
        } else {
            ++i;
        }
    }
    return dropped;
}

size_t FaultCount(const Case& c) { return c.faults.size(); }
size_t LinkCount(const Case& c) { return c.links.size(); }
size_t KeyCount(const Case& c) { return c.keys.size(); }
void DropFault(Case& c, size_t i) { c.faults.erase(c.faults.begin() + long(i)); }
void DropLink(Case& c, size_t i) { c.links.erase(c.links.begin() + long(i)); }

// A key goes with everything below it.
void DropKey(Case& c, size_t i) {
    const Key gone = c.keys[i];
    c.keys.erase(std::remove_if(c.keys.begin(), c.keys.end(),
                                [&](const Key& k) { return k.root == gone.root && IsUnder(k.path, gone.path); }),
                 c.keys.end());
}

}  // namespace

Case Shrink(const Case& c) {
    Case best = c;
    bool progress = true;
    while (progress) {
        progress = DropWhileFailing(best, FaultCount, DropFault);
        progress = DropWhileFailing(best, LinkCount, DropLink) || progress;
        progress = DropWhileFailing(best, KeyCount, DropKey) || progress;
    }
    return best;
}

std::string Describe(const Case& c) {
    static const char* const kKinds[] = {"deny full access",   "deny open (not found)", "deny open (access denied)",
                                         "enum fails a while", "enum fails for ever",   "deny delete"};
    std::string out;
    for (const Key& key : c.keys)
        out += "  key   " + Narrow(Full(key.root, key.path)) + (key.hasValue ? " (value)" : "") + "\n";
    for (const Link& link : c.links)
        out += "  link  " + Narrow(Full(link.root, link.path)) + " -> " +
               Narrow(Full(link.targetRoot, link.targetPath)) + "\n";
    for (const Fault& fault : c.faults)
        out += "  fault " + std::string(kKinds[int(fault.kind)]) + " on " + Narrow(Full(fault.root, fault.path)) +
               (fault.kind == FaultKind::EnumTransient || fault.kind == FaultKind::EnumForever
                    ? " at index " + std::to_string(fault.index)
                    : "") +
               "\n";
    return out;
}

}  // namespace sweepcase
