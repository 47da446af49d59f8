// In-memory registry stand-in; see host_registry.h for what it reproduces.
#include "registry/host_registry.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/host_registry_control.h"

namespace {

struct Node;
using NodePtr = std::shared_ptr<Node>;

struct EnumFault {
    int remaining;  // negative: for ever
    LONG code;
};

struct Node {
    std::wstring name;
    Node* parent = nullptr;
    std::vector<NodePtr> children;  // sorted case-insensitively
    std::vector<std::pair<std::wstring, DWORD>> values;
    bool deleted = false;
    int openHandles = 0;

    bool isLink = false;
    HKEY linkRoot = nullptr;
    std::wstring linkPath;

    bool denyFullAccess = false;
    LONG denyOpen = ERROR_SUCCESS;
    LONG denyDelete = ERROR_SUCCESS;
    std::map<DWORD, EnumFault> enumFaults;
};

struct Handle {
    NodePtr node;
    REGSAM access;
};

wchar_t Fold(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

struct State {
    NodePtr machine = std::make_shared<Node>();
    NodePtr user = std::make_shared<Node>();
    std::map<uintptr_t, Handle> handles;
    uintptr_t nextHandle = 0x1000;
    int deletesWhileOpen = 0;
    int badCloses = 0;
    long enumCalls = 0;
};

State& S() {
    static State state;
    return state;
}

NodePtr RootNode(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return S().machine;
    if (root == HKEY_CURRENT_USER) return S().user;
    return nullptr;
}

std::vector<std::wstring> SplitPath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Case-insensitive order of a stored name against a path level given by pointer and length.
int CompareLevel(const std::wstring& stored, const wchar_t* level, size_t length) {
    size_t n = std::min(stored.size(), length);
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = Fold(stored[i]), y = Fold(level[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return stored.size() == length ? 0 : (stored.size() < length ? -1 : 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) { return CompareLevel(a, b.data(), b.size()) == 0; }

// The key's value of that name (any case), or null.
std::pair<std::wstring, DWORD>* FindValue(Node& node, const std::wstring& name) {
    for (auto& value : node.values) {
        if (SameName(value.first, name)) return &value;
    }
    return nullptr;
}

size_t LowerBound(const Node& node, const wchar_t* level, size_t length) {
    auto it = std::lower_bound(node.children.begin(), node.children.end(), 0,
                               [&](const NodePtr& c, int) { return CompareLevel(c->name, level, length) < 0; });
    return size_t(it - node.children.begin());
}

NodePtr FindChild(const Node& node, const wchar_t* level, size_t length) {
    size_t i = LowerBound(node, level, length);
    if (i < node.children.size() && CompareLevel(node.children[i]->name, level, length) == 0) return node.children[i];
    return nullptr;
}

NodePtr FindChild(const Node& node, const std::wstring& name) { return FindChild(node, name.data(), name.size()); }

NodePtr AddChild(const NodePtr& node, const std::wstring& name) {
    NodePtr child = std::make_shared<Node>();
    child->name = name;
    child->parent = node.get();
    node->children.insert(node->children.begin() + long(LowerBound(*node, name.data(), name.size())), child);
    return child;
}

// Walks `path` from `start`. Links met on the way are followed, as the registry does;
// the last level is followed only when followLast is set. Links to links are followed
// a bounded number of times.
NodePtr Walk(const NodePtr& start, const std::wstring& path, bool followLast, int depth = 0) {
    if (!start || depth > 16) return nullptr;
    NodePtr node = start;
    size_t begin = 0;
    while (begin < path.size()) {
        size_t end = path.find(L'\\', begin);
        if (end == std::wstring::npos) end = path.size();
        if (end > begin) {
            node = FindChild(*node, path.data() + begin, end - begin);
            if (!node) return nullptr;
            bool last = path.find_first_not_of(L'\\', end) == std::wstring::npos;
            if (node->isLink && (!last || followLast)) {
                node = Walk(RootNode(node->linkRoot), node->linkPath, true, depth + 1);
                if (!node) return nullptr;
            }
        }
        begin = end + 1;
    }
    return node;
}

NodePtr ControlFind(HKEY root, const std::wstring& path) { return Walk(RootNode(root), path, false); }

NodePtr ControlFindOrDie(HKEY root, const std::wstring& path) {
    NodePtr node = ControlFind(root, path);
    if (!node) {
        // A test that scripts a fault on a key it never made is itself broken.
        std::abort();
    }
    return node;
}

Handle* FindHandle(HKEY key) {
    auto it = S().handles.find(uintptr_t(key));
    return it == S().handles.end() ? nullptr : &it->second;
}

// The node a handle or predefined root stands for, or null with the error to return.
NodePtr Resolve(HKEY key, REGSAM* access, LONG* error) {
    if (NodePtr root = RootNode(key)) {
        *access = KEY_ALL_ACCESS;
        return root;
    }
    Handle* h = FindHandle(key);
    if (!h) {
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (h->node->deleted) {
        *error = ERROR_KEY_DELETED;
        return nullptr;
    }
    *access = h->access;
    return h->node;
}

bool AsksMoreThanRead(REGSAM access) { return (access & ~(KEY_READ | KEY_WOW64_32KEY | KEY_WOW64_64KEY)) != 0; }

void SnapshotNode(const Node& node, const std::wstring& path, std::vector<std::wstring>& out) {
    if (node.isLink) {
        out.push_back(path + L" -> " + (node.linkRoot == HKEY_LOCAL_MACHINE ? L"HKLM\\" : L"HKCU\\") + node.linkPath);
        return;
    }
    out.push_back(path);
    for (const auto& value : node.values)
        out.push_back(path + L" =" + value.first);
    for (const auto& child : node.children)
        SnapshotNode(*child, path + L"\\" + child->name, out);
}

}  // namespace

LONG RegOpenKeyExW(HKEY parent, const WCHAR* path, DWORD options, REGSAM access, HKEY* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    REGSAM parentAccess = 0;
    LONG error = ERROR_SUCCESS;
    NodePtr start = Resolve(parent, &parentAccess, &error);
    if (!start) return error;
    NodePtr node = Walk(start, path ? path : L"", (options & REG_OPTION_OPEN_LINK) == 0);
    if (!node) return ERROR_FILE_NOT_FOUND;
    if (node->denyOpen != ERROR_SUCCESS) return node->denyOpen;
    if (node->denyFullAccess && AsksMoreThanRead(access)) return ERROR_ACCESS_DENIED;
    uintptr_t id = S().nextHandle;
    S().nextHandle += 4;
    S().handles[id] = Handle{node, access};
    ++node->openHandles;
    *result = HKEY(id);
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* reserved, WCHAR* className,
                   DWORD* classLength, FILETIME* lastWriteTime) {
    (void)reserved;
    (void)className;
    (void)classLength;
    (void)lastWriteTime;
    ++S().enumCalls;
    if (!name || !nameLength) return ERROR_INVALID_PARAMETER;
    REGSAM access = 0;
    LONG error = ERROR_SUCCESS;
    NodePtr node = Resolve(key, &access, &error);
    if (!node) return error;
    if ((access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
    auto fault = node->enumFaults.find(index);
    if (fault != node->enumFaults.end() && fault->second.remaining != 0) {
        if (fault->second.remaining > 0) --fault->second.remaining;
        return fault->second.code;
    }
    if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
    const std::wstring& child = node->children[index]->name;
    if (child.size() + 1 > *nameLength) return ERROR_MORE_DATA;
    std::copy(child.begin(), child.end(), name);
    name[child.size()] = L'\0';
    *nameLength = DWORD(child.size());
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyW(HKEY parent, const WCHAR* subkey) {
    if (!subkey) return ERROR_INVALID_PARAMETER;
    REGSAM access = 0;
    LONG error = ERROR_SUCCESS;
    NodePtr start = Resolve(parent, &access, &error);
    if (!start) return error;
    // Like the real call, this opens the subkey the ordinary way, so a link is followed.
    NodePtr node = Walk(start, subkey, true);
    if (!node) return ERROR_FILE_NOT_FOUND;
    if (node->denyOpen != ERROR_SUCCESS) return node->denyOpen;
    if (node->denyFullAccess) return ERROR_ACCESS_DENIED;
    if (node->denyDelete != ERROR_SUCCESS) return node->denyDelete;
    if (!node->children.empty()) return ERROR_ACCESS_DENIED;
    if (!node->parent) return ERROR_ACCESS_DENIED;  // a root cannot go
    if (node->openHandles > 0) ++S().deletesWhileOpen;
    Node* owner = node->parent;
    owner->children.erase(std::find(owner->children.begin(), owner->children.end(), node));
    node->deleted = true;
    node->parent = nullptr;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (RootNode(key)) return ERROR_SUCCESS;
    auto it = S().handles.find(uintptr_t(key));
    if (it == S().handles.end()) {
        ++S().badCloses;
        return ERROR_INVALID_HANDLE;
    }
    --it->second.node->openHandles;
    S().handles.erase(it);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, const WCHAR* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataLength) {
    (void)reserved;
    if (data && !dataLength) return ERROR_INVALID_PARAMETER;
    REGSAM access = 0;
    LONG error = ERROR_SUCCESS;
    NodePtr node = Resolve(key, &access, &error);
    if (!node) return error;
    if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const auto* value = FindValue(*node, valueName ? valueName : L"");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->second;
    // Values carry no data in the stand-in.
    if (dataLength) *dataLength = 0;
    return ERROR_SUCCESS;
}

namespace hostreg {

void Reset() { S() = State(); }

void CreateKey(HKEY root, const std::wstring& path) {
    NodePtr node = RootNode(root);
    if (!node) std::abort();
    for (const std::wstring& part : SplitPath(path)) {
        NodePtr child = FindChild(*node, part);
        node = child ? child : AddChild(node, part);
    }
}

bool KeyExists(HKEY root, const std::wstring& path) { return ControlFind(root, path) != nullptr; }

std::wstring StoredPath(HKEY root, const std::wstring& path) {
    NodePtr node = ControlFind(root, path);
    if (!node) return std::wstring();
    std::wstring stored;
    const Node* at = node.get();
    for (; at->parent; at = at->parent)
        stored = L"\\" + at->name + stored;
    return (at == S().machine.get() ? L"HKLM" : L"HKCU") + stored;
}

void SetValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type) {
    NodePtr node = ControlFindOrDie(root, path);
    if (auto* value = FindValue(*node, name))
        value->second = type;
    else
        node->values.emplace_back(name, type);
}

bool HasValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    NodePtr node = ControlFind(root, path);
    return node && FindValue(*node, name);
}

void CreateLink(HKEY root, const std::wstring& path, HKEY targetRoot, const std::wstring& targetPath) {
    CreateKey(root, path);
    NodePtr node = ControlFindOrDie(root, path);
    if (!node->children.empty()) std::abort();  // a link holds no subkeys of its own
    node->isLink = true;
    node->linkRoot = targetRoot;
    node->linkPath = targetPath;
    node->values.assign(1, {L"SymbolicLinkValue", REG_LINK});
}

void DenyFullAccess(HKEY root, const std::wstring& path) { ControlFindOrDie(root, path)->denyFullAccess = true; }

void DenyOpen(HKEY root, const std::wstring& path, LONG code) { ControlFindOrDie(root, path)->denyOpen = code; }

void FailEnum(HKEY root, const std::wstring& path, DWORD index, int times, LONG code) {
    ControlFindOrDie(root, path)->enumFaults[index] = EnumFault{times, code};
}

void DenyDelete(HKEY root, const std::wstring& path, LONG code) { ControlFindOrDie(root, path)->denyDelete = code; }

int OpenHandleCount() { return int(S().handles.size()); }
int DeletesWhileOpen() { return S().deletesWhileOpen; }
int BadCloses() { return S().badCloses; }
long EnumCalls() { return S().enumCalls; }

std::vector<std::wstring> Snapshot() {
    std::vector<std::wstring> out;
    SnapshotNode(*S().machine, L"HKLM", out);
    SnapshotNode(*S().user, L"HKCU", out);
    return out;
}

}  // namespace hostreg
