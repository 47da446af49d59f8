#pragma once
// In-memory stand-in for the part of the Windows registry API that the cleanup
// uses, for host builds and tests. Same names, types, roots and result codes as
// advapi32; the behaviour the cleanup relies on is reproduced:
//  - lookup ignores case and enumeration returns names as stored;
//  - enumeration by index follows a stable case-insensitive order, so deleting
//    the subkey at index i moves its successor to i; ERROR_NO_MORE_ITEMS past the end;
//  - a key that still has subkeys cannot be deleted;
//  - a handle stays valid until it is closed, even if its key is deleted;
//  - registry links are followed unless the last level is opened with
//    REG_OPTION_OPEN_LINK, and RegDeleteKeyW follows them like the real one.
// Tests build registries and script faults through registry/host_registry_control.h.
#include <cstdint>

typedef int32_t LONG;
typedef uint32_t DWORD;
typedef DWORD REGSAM;
typedef unsigned char BYTE;
typedef wchar_t WCHAR;
typedef struct HostRegistryKey* HKEY;
typedef struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(uintptr_t{0x80000001u}))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(uintptr_t{0x80000002u}))

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_KEY_DELETED 1018L

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_CREATE_LINK 0x0020u
#define KEY_WOW64_64KEY 0x0100u
#define KEY_WOW64_32KEY 0x0200u
#define DELETE 0x00010000u
#define READ_CONTROL 0x00020000u
#define KEY_READ 0x00020019u
#define KEY_ALL_ACCESS 0x000F003Fu

#define REG_OPTION_OPEN_LINK 0x00000008u
#define REG_LINK 6u

LONG RegOpenKeyExW(HKEY parent, const WCHAR* path, DWORD options, REGSAM access, HKEY* result);
LONG RegEnumKeyExW(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* reserved, WCHAR* className,
                   DWORD* classLength, FILETIME* lastWriteTime);
LONG RegDeleteKeyW(HKEY parent, const WCHAR* subkey);
LONG RegCloseKey(HKEY key);
LONG RegQueryValueExW(HKEY key, const WCHAR* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataLength);
