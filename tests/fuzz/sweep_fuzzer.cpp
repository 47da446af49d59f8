// libFuzzer target: builds keys, links and faults under and beside the four cleanup
// targets from the fuzzer's bytes, runs the cleanup and checks the invariants of
// sweep_case.h. A broken invariant aborts with the case printed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/cleanup_targets.h"
#include "sweep_case.h"

namespace {

using sweepcase::Case;
using sweepcase::FaultKind;

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    unsigned Next(unsigned range) { return Empty() ? 0 : data_[at_++] % range; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

const std::wstring& Name(unsigned i) { return sweepcase::NamePool()[i % sweepcase::NamePool().size()]; }

// Where keys grow from: the four vendor keys and a few places beside them.
std::pair<HKEY, std::wstring> Base(unsigned i) {
    if (i < unsigned(kCleanupTargetCount)) return {kCleanupTargets[i].root, kCleanupTargets[i].vendorKeyPath};
    static const std::pair<HKEY, const wchar_t*> kBeside[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Victim"},
        {HKEY_CURRENT_USER, L"Software\\Kelsburo2"},
    };
    return {kBeside[i - kCleanupTargetCount].first, kBeside[i - kCleanupTargetCount].second};
}

Case Decode(Bytes& in) {
    Case c;
    unsigned keys = in.Next(32);
    for (unsigned k = 0; k < keys && !in.Empty(); ++k) {
        auto base = Base(in.Next(kCleanupTargetCount + 2));
        std::wstring path = base.second;
        unsigned depth = in.Next(9);
        for (unsigned d = 0; d < depth; ++d)
            path += L"\\" + Name(in.Next(64));
        c.keys.push_back({base.first, path, in.Next(2) == 1});
    }
    if (c.keys.empty()) return c;
    unsigned links = in.Next(3);
    for (unsigned l = 0; l < links && !in.Empty(); ++l) {
        const auto& parent = c.keys[in.Next(unsigned(c.keys.size()))];
        const auto& target = c.keys[in.Next(unsigned(c.keys.size()))];
        c.links.push_back({parent.root, parent.path + L"\\" + Name(in.Next(64)), target.root, target.path});
    }
    unsigned faults = in.Next(5);
    for (unsigned f = 0; f < faults && !in.Empty(); ++f) {
        FaultKind kind = FaultKind(in.Next(6));
        const auto& key = c.keys[in.Next(unsigned(c.keys.size()))];
        c.faults.push_back({kind, key.root, key.path, in.Next(4)});
    }
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    Case c = Decode(in);
    std::string problems = sweepcase::Run(c);
    if (!problems.empty()) {
        std::fprintf(stderr, "%scase:\n%s", problems.c_str(), sweepcase::Describe(c).c_str());
        std::abort();
    }
    return 0;
}
