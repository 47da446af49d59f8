// Every registry shape of up to 6 keys under one vendor key, with every placement of
// one fault and of two faults, checked against the invariants of sweep_case.h.
// TAVIX_EXHAUSTIVE_STRIDE=N runs every Nth case only (the sanitizer build does, for time).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "sweep_case.h"

namespace {

using sweepcase::Case;
using sweepcase::Fault;
using sweepcase::FaultKind;

const HKEY kRoot = HKEY_CURRENT_USER;
const std::wstring kVendor = L"Software\\Kelsburo";
const std::wstring kVictim = L"Software\\Victim";
constexpr int kMaxKeys = 6;

// Every forest of at most `budget` keys below `parent` whose siblings carry distinct
// names from `names`, as lists of paths relative to the vendor key.
void Shapes(const std::vector<std::wstring>& names, int budget, std::vector<std::vector<std::wstring>>& out) {
    // Grows one shape at a time: each key may get children from the names after the
    // ones its earlier siblings used, so every forest comes out exactly once.
    std::function<void(std::vector<std::wstring>&, std::vector<std::pair<std::wstring, size_t>>&, int)> grow;
    grow = [&](std::vector<std::wstring>& shape, std::vector<std::pair<std::wstring, size_t>>& open, int left) {
        out.push_back(shape);
        if (left == 0) return;
        // `open` lists the parents that may still get children, each with the first
        // name it may use; only the last parent and those after it may grow, which
        // keeps the order canonical.
        for (size_t p = 0; p < open.size(); ++p) {
            for (size_t n = open[p].second; n < names.size(); ++n) {
                std::wstring child = open[p].first.empty() ? names[n] : open[p].first + L"\\" + names[n];
                std::vector<std::pair<std::wstring, size_t>> next(open.begin() + long(p), open.end());
                next[0].second = n + 1;
                next.push_back({child, 0});
                shape.push_back(child);
                grow(shape, next, left - 1);
                shape.pop_back();
            }
        }
    };
    std::vector<std::wstring> shape;
    std::vector<std::pair<std::wstring, size_t>> open{{L"", 0}};
    grow(shape, open, budget);
}

// One fault: a scripted one on a key, or the key (a leaf) made a link to the victim.
struct Placement {
    bool isLink;
    Fault fault;
};

// Enumeration faults go only at indexes the key has: one at an index past its last
// subkey never fires, and that case is already there with one fault fewer.
std::vector<Placement> Placements(const std::vector<std::wstring>& shape) {
    std::vector<std::wstring> keys{L""};
    keys.insert(keys.end(), shape.begin(), shape.end());
    std::vector<Placement> all;
    for (const std::wstring& relative : keys) {
        std::wstring path = relative.empty() ? kVendor : kVendor + L"\\" + relative;
        std::wstring prefix = relative.empty() ? L"" : relative + L"\\";
        DWORD children = 0;
        for (const std::wstring& other : shape) {
            if (other.rfind(prefix, 0) == 0 && other.find(L'\\', prefix.size()) == std::wstring::npos) ++children;
        }
        for (FaultKind kind : {FaultKind::DenyFullAccess, FaultKind::DenyOpenNotFound, FaultKind::DenyOpenAccessDenied,
                               FaultKind::DenyDelete})
            all.push_back({false, {kind, kRoot, path, 0}});
        for (FaultKind kind : {FaultKind::EnumTransient, FaultKind::EnumForever})
            for (DWORD index = 0; index < children && index < 2; ++index)
                all.push_back({false, {kind, kRoot, path, index}});
        if (!relative.empty() && children == 0) all.push_back({true, {FaultKind::DenyDelete, kRoot, path, 0}});
    }
    return all;
}

Case Build(const std::vector<std::wstring>& shape, const std::vector<const Placement*>& faults) {
    Case c;
    c.keys.push_back({kRoot, kVendor, true});
    c.keys.push_back({HKEY_LOCAL_MACHINE, kVictim, true});
    for (const std::wstring& relative : shape) {
        std::wstring path = kVendor + L"\\" + relative;
        bool isLink = false;
        for (const Placement* p : faults)
            isLink = isLink || (p->isLink && p->fault.path == path);
        if (isLink)
            c.links.push_back({kRoot, path, HKEY_LOCAL_MACHINE, kVictim});
        else
            c.keys.push_back({kRoot, path, relative.size() % 2 == 0});
    }
    for (const Placement* p : faults) {
        if (!p->isLink) c.faults.push_back(p->fault);
    }
    return c;
}

class ExhaustiveSweep : public ::testing::Test {
protected:
    void SetUp() override {
        const char* stride = std::getenv("TAVIX_EXHAUSTIVE_STRIDE");
        stride_ = stride ? std::max(1L, std::atol(stride)) : 1;
    }

    void Check(const Case& c) {
        if (seen_++ % stride_ != 0) return;
        ++cases_;
        std::string problems = sweepcase::Run(c);
        if (!problems.empty() && failures_++ < 3) {
            ADD_FAILURE() << problems << "case:\n"
                          << sweepcase::Describe(c) << "smallest failing case found:\n"
                          << sweepcase::Describe(sweepcase::Shrink(c));
        }
    }
    void TearDown() override { std::printf("%ld cases, %ld failed\n", cases_, failures_); }

    long stride_ = 1;
    long seen_ = 0;
    long cases_ = 0;
    long failures_ = 0;
};

TEST_F(ExhaustiveSweep, EveryShapeWithNoFaultOrOneFault) {
    std::vector<std::vector<std::wstring>> shapes;
    Shapes({L"Ta.vi", L"Ta.vix", L"Tavix"}, kMaxKeys, shapes);
    EXPECT_EQ(shapes.size(), 9524u) << "forests of at most 6 keys over 3 names";
    for (const auto& shape : shapes) {
        Check(Build(shape, {}));
        std::vector<Placement> placements = Placements(shape);
        for (const Placement& one : placements)
            Check(Build(shape, {&one}));
    }
}

TEST_F(ExhaustiveSweep, EveryShapeWithTwoFaults) {
    std::vector<std::vector<std::wstring>> shapes;
    Shapes({L"Ta.vi", L"Tavix"}, kMaxKeys, shapes);
    EXPECT_EQ(shapes.size(), 625u) << "forests of at most 6 keys over 2 names";
    for (const auto& shape : shapes) {
        std::vector<Placement> placements = Placements(shape);
        for (size_t i = 0; i < placements.size(); ++i)
            for (size_t j = i + 1; j < placements.size(); ++j)
                Check(Build(shape, {&placements[i], &placements[j]}));
    }
}

}  // namespace
