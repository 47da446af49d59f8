// Random registries under and beside the four cleanup targets, with random faults,
// checked against the invariants of sweep_case.h. The seed is printed; set
// TAVIX_SWEEP_SEED to replay one, TAVIX_SWEEP_CASES to run more or fewer cases.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "app/cleanup_targets.h"
#include "sweep_case.h"

namespace {

using sweepcase::Case;
using sweepcase::FaultKind;

class Generator {
public:
    explicit Generator(uint64_t seed) : random_(seed) {}

    Case Make() {
        Case c;
        places_.clear();
        for (const CleanupTarget& target : kCleanupTargets) {
            if (Chance(0.15)) continue;  // no vendor key here
            std::wstring vendor = Chance(0.2) ? CaseVariant(target.vendorKeyPath) : target.vendorKeyPath;
            Add(c, target.root, vendor, Chance(0.5));
            Grow(c, target.root, vendor, 1);
        }
        // Beside the targets: near-miss vendor keys, product names elsewhere, and the
        // keys links may point to.
        const std::pair<HKEY, const wchar_t*> beside[] = {
            {HKEY_CURRENT_USER, L"Software\\Kelsburo2"},
            {HKEY_CURRENT_USER, L"Software\\Other"},
            {HKEY_LOCAL_MACHINE, L"Software\\Victim"},
            {HKEY_CURRENT_USER, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Other"},
        };
        for (const auto& place : beside) {
            if (Chance(0.5)) continue;
            Add(c, place.first, place.second, Chance(0.5));
            Grow(c, place.first, place.second, 3);
        }
        MakeLinks(c);
        MakeFaults(c);
        return c;
    }

private:
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    std::wstring CaseVariant(std::wstring path) {
        for (wchar_t& ch : path) {
            if (Chance(0.5)) continue;
            if (ch >= L'a' && ch <= L'z')
                ch = wchar_t(ch - L'a' + L'A');
            else if (ch >= L'A' && ch <= L'Z')
                ch = wchar_t(ch - L'A' + L'a');
        }
        return path;
    }

    std::wstring Name() { return sweepcase::NamePool()[Pick(sweepcase::NamePool().size())]; }

    void Add(Case& c, HKEY root, const std::wstring& path, bool value) {
        c.keys.push_back({root, path, value});
        places_.push_back({root, path});
    }

    // Subkeys below root\path, down to 8 levels below the vendor key.
    void Grow(Case& c, HKEY root, const std::wstring& path, int depth) {
        if (depth > 8) return;
        size_t children = std::uniform_int_distribution<size_t>(0, depth <= 1 ? 5 : 3)(random_);
        if (depth > 2 && Chance(0.4)) children = 0;
        std::vector<std::wstring> used;
        for (size_t i = 0; i < children; ++i) {
            std::wstring name = Name();
            bool clash = false;
            for (const std::wstring& other : used)
                clash = clash || sweepcase::SameKeyName(other, name);
            if (clash) continue;
            used.push_back(name);
            std::wstring child = path + L"\\" + name;
            Add(c, root, child, Chance(0.3));
            Grow(c, root, child, depth + 1);
        }
    }

    void MakeLinks(Case& c) {
        if (places_.empty() || Chance(0.6)) return;
        size_t count = 1 + Pick(2);
        for (size_t i = 0; i < count; ++i) {
            const auto& target = places_[Pick(places_.size())];
            const auto& parent = places_[Pick(places_.size())];
            std::wstring path = parent.second + L"\\" + (Chance(0.5) ? std::wstring(L"Tavix") : Name());
            c.links.push_back({parent.first, path, target.first, target.second});
        }
    }

    void MakeFaults(Case& c) {
        if (places_.empty() || Chance(0.3)) return;
        size_t count = 1 + Pick(3);
        for (size_t i = 0; i < count; ++i) {
            const auto& place = places_[Pick(places_.size())];
            FaultKind kind = FaultKind(Pick(6));
            c.faults.push_back({kind, place.first, place.second, DWORD(Pick(4))});
        }
    }

    std::mt19937_64 random_;
    std::vector<std::pair<HKEY, std::wstring>> places_;
};

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(RandomSweep, InvariantsHoldOnRandomRegistriesWithRandomFaults) {
    uint64_t seed =
        EnvNumber("TAVIX_SWEEP_SEED", uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    uint64_t cases = EnvNumber("TAVIX_SWEEP_CASES", 3000);
    std::printf("seed %llu (TAVIX_SWEEP_SEED to replay), %llu cases\n", (unsigned long long)seed,
                (unsigned long long)cases);
    for (uint64_t i = 0; i < cases; ++i) {
        // Each case has its own seed, so a failure can be replayed alone.
        uint64_t caseSeed = seed + i;
        Case c = Generator(caseSeed).Make();
        std::string problems = sweepcase::Run(c);
        if (problems.empty()) continue;
        Case small = sweepcase::Shrink(c);
        FAIL() << "case seed " << caseSeed << " (TAVIX_SWEEP_SEED=" << caseSeed << " TAVIX_SWEEP_CASES=1 replays it):\n"
               << problems << "smallest failing case found:\n"
               << sweepcase::Describe(small) << "which gives:\n"
               << sweepcase::Run(small);
    }
}

}  // namespace
