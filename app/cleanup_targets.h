#pragma once
// The four places the product's keys are swept from, and the sweep over all of them.
#include "registry/registry_api.h"

struct CleanupTarget {
    HKEY root;
    const WCHAR* vendorKeyPath;
};

inline constexpr int kCleanupTargetCount = 4;

// In sweep order: the machine-wide vendor key, the per-user one, and the per-user
// virtual-store copies of the machine-wide one (plain and 32-bit views).
extern const CleanupTarget kCleanupTargets[kCleanupTargetCount];

// Sweeps every target in order, whatever the earlier ones returned. Returns 1 when
// all of them came back clean, else 0.
int SweepCleanupTargets();
