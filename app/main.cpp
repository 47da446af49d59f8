// TavixDelReg: asks whether to remove Ta.vix's leftover registry keys, removes them
// and says whether that worked. Exits with 0 on every path.
#include "app/cleanup_targets.h"
#include "registry/product_key_name.h"
#include "resources/resource_ids.h"

namespace {

// 256 bytes, as 128 UTF-16 units: every text of the catalogue fits whole.
constexpr int kTextUnits = 256 / sizeof(WCHAR);

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WCHAR text[kTextUnits];
    // The texts are loaded and shown as UTF-16, so a Chinese user interface reads
    // right whatever the system's ANSI code page.
    LoadStringW(instance, IDS_CONFIRM_DELETE, text, kTextUnits);
    if (MessageBoxW(nullptr, text, kProductName, MB_OKCANCEL) != IDOK) return 0;

    int allClean = SweepCleanupTargets();

    LoadStringW(instance, allClean ? IDS_DELETE_SUCCEEDED : IDS_DELETE_FAILED, text, kTextUnits);
    MessageBoxW(nullptr, text, kProductName, MB_OK);
    return 0;
}
