#pragma once
// Test-side control of the in-memory registry stand-in: building trees, scripting
// faults and checking what the code under test did with its handles. These calls
// bypass the scripted faults, so a test can always see what is really there.
#include <string>
#include <vector>

#include "registry/host_registry.h"

namespace hostreg {

// Empties both roots and forgets every fault, handle and counter.
void Reset();

// Creates every missing level of root\path. A level that is a link is not followed.
void CreateKey(HKEY root, const std::wstring& path);
// True when root\path exists; a link at the last level counts as itself.
bool KeyExists(HKEY root, const std::wstring& path);
// Where root\path really is, as "HKLM\..." or "HKCU\..." with every level named as
// stored (links on the way followed, a link at the last level taken as itself);
// empty when it does not exist.
std::wstring StoredPath(HKEY root, const std::wstring& path);
void SetValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type);
bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name);
// Makes root\path a registry link to targetRoot\targetPath (which need not exist).
void CreateLink(HKEY root, const std::wstring& path, HKEY targetRoot, const std::wstring& targetPath);

// Scripted faults, each on one key; they stay until Reset.
// Opens asking for more than KEY_READ fail with ERROR_ACCESS_DENIED; reading opens work.
void DenyFullAccess(HKEY root, const std::wstring& path);
// Every open of the key fails with `code`.
void DenyOpen(HKEY root, const std::wstring& path, LONG code);
// Enumeration of the key at `index` fails with `code` the next `times` times (for ever if negative).
void FailEnum(HKEY root, const std::wstring& path, DWORD index, int times, LONG code);
// Deleting the key fails with `code`.
void DenyDelete(HKEY root, const std::wstring& path, LONG code);

// Handles opened by RegOpenKeyExW and not yet closed.
int OpenHandleCount();
// Deletions of a key that still had a handle of its own open.
int DeletesWhileOpen();
// RegCloseKey calls with something that was not an open handle.
int BadCloses();
// Calls of RegEnumKeyExW since Reset, to show that a loop ended.
long EnumCalls();

// Every key, value and link in both roots, one line each, in a stable order:
// "HKCU\Software\Kelsburo", "HKCU\Software\Kelsburo\Tavix =Version", "... -> HKLM\Target".
std::vector<std::wstring> Snapshot();

}  // namespace hostreg
