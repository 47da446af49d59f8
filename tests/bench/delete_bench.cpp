// Deletion benchmark helper, run under Wine by scripts/bench.sh:
//   delete_bench build wide|deep KEYS   makes HKCU\Software\TavixDelRegBench\Tavix with
//                                        KEYS keys in all (itself included)
//   delete_bench delete sweep|tree       deletes that tree with DeleteKeyTree or with
//                                        RegDeleteTreeW, in a thread of its own, and
//                                        prints "thread <id> ms <milliseconds> result <0|1>"
// Wide: KEYS-1 subkeys directly below Tavix. Deep: chains of kChainDepth keys below Tavix.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "registry/product_keys.h"

namespace {

const wchar_t kVendor[] = L"Software\\TavixDelRegBench";
const wchar_t kProduct[] = L"Tavix";
constexpr int kChainDepth = 50;

HKEY Create(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot create a key\n");
        std::exit(1);
    }
    return key;
}

int Build(bool deep, long keys) {
    HKEY vendor = Create(HKEY_CURRENT_USER, kVendor);
    HKEY product = Create(vendor, kProduct);
    long made = 1;
    for (long chain = 0; made < keys; ++chain) {
        HKEY parent = product;
        int depth = deep ? kChainDepth : 1;
        for (int level = 0; level < depth && made < keys; ++level, ++made) {
            wchar_t name[32];
            swprintf(name, 32, L"Key%06ld", deep ? long(level) : chain);
            if (deep && level == 0) swprintf(name, 32, L"Chain%06ld", chain);
            HKEY key = Create(parent, name);
            if (parent != product) RegCloseKey(parent);
            parent = key;
        }
        if (parent != product) RegCloseKey(parent);
    }
    RegCloseKey(product);
    RegCloseKey(vendor);
    return 0;
}

struct Job {
    HKEY vendor;
    bool useTree;
    int result;
};

DWORD WINAPI DeleteThread(LPVOID param) {
    Job* job = static_cast<Job*>(param);
    if (job->useTree) {
        // Given a subkey, RegDeleteTreeW deletes it too.
        job->result = RegDeleteTreeW(job->vendor, kProduct) == ERROR_SUCCESS ? 1 : 0;
    } else {
        job->result = DeleteKeyTree(job->vendor, kProduct);
    }
    return 0;
}

int Delete(bool useTree) {
    HKEY vendor = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kVendor, 0, KEY_ALL_ACCESS, &vendor) != ERROR_SUCCESS) {
        // Nothing to delete: the baseline run still makes the same calls.
        vendor = Create(HKEY_CURRENT_USER, kVendor);
    }
    Job job{vendor, useTree, 0};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, DeleteThread, &job, CREATE_SUSPENDED, &threadId);
    QueryPerformanceCounter(&start);
    ResumeThread(thread);
    WaitForSingleObject(thread, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(thread);
    RegCloseKey(vendor);
    double ms = double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
    std::printf("thread %04lx ms %.3f result %d\n", threadId, ms, job.result);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    std::string what = argc > 2 ? argv[2] : "";
    if (command == "build" && argc > 3 && (what == "wide" || what == "deep"))
        return Build(what == "deep", std::atol(argv[3]));
    if (command == "delete" && (what == "sweep" || what == "tree")) return Delete(what == "tree");
    std::fprintf(stderr, "usage: delete_bench build wide|deep KEYS | delete sweep|tree\n");
    return 2;
}
