// What the built executable carries: exactly the string table and the version record,
// with the texts and values users and Windows' property pages read.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "expected_texts.h"

namespace {

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(AppPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot load " << ToUtf8Path(AppPath());
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    // The 16 strings of a string-table block, as stored.
    std::vector<std::wstring> StringBlock(WORD block, WORD language) {
        std::vector<std::wstring> strings;
        HRSRC found = FindResourceExW(module_, reinterpret_cast<LPCWSTR>(RT_STRING), MAKEINTRESOURCEW(block), language);
        if (!found) return strings;
        const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
        const WORD* end = data + SizeofResource(module_, found) / sizeof(WORD);
        for (int i = 0; i < 16 && data < end; ++i) {
            WORD length = *data++;
            strings.emplace_back(reinterpret_cast<const wchar_t*>(data), length);
            data += length;
        }
        return strings;
    }

    HMODULE module_ = nullptr;
};

struct Listing {
    HMODULE module;
    std::set<std::wstring>* entries;
    std::wstring type;
    std::wstring name;
};

std::wstring ResourceId(LPCWSTR id) {
    if (IS_INTRESOURCE(id)) return std::to_wstring(reinterpret_cast<ULONG_PTR>(id));
    return id;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    Listing* listing = reinterpret_cast<Listing*>(param);
    listing->entries->insert(listing->type + L"/" + listing->name + L"/" + std::to_wstring(language));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    Listing* listing = reinterpret_cast<Listing*>(param);
    listing->name = ResourceId(name);
    EnumResourceLanguagesW(module, type, name, AddLanguage, param);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR param) {
    Listing* listing = reinterpret_cast<Listing*>(param);
    listing->type = ResourceId(type);
    EnumResourceNamesW(module, type, AddName, param);
    return TRUE;
}

TEST_F(Resources, AreExactlyTheStringTableAndTheVersionRecord) {
    std::set<std::wstring> entries;
    Listing listing{module_, &entries, L"", L""};
    EnumResourceTypesW(module_, AddType, reinterpret_cast<LONG_PTR>(&listing));
    // Type 6 is RT_STRING (block 1 holds ids 0 to 15), type 16 RT_VERSION.
    std::set<std::wstring> expected{L"6/1/1028", L"6/1/1033", L"6/1/2052", L"16/1/1024"};
    EXPECT_EQ(entries, expected);
}

TEST_F(Resources, StringTableHoldsTheTextsInEveryLanguage) {
    for (const CatalogueTexts& texts : kCatalogue) {
        SCOPED_TRACE(texts.locale);
        std::vector<std::wstring> block = StringBlock(1, texts.language);
        ASSERT_EQ(block.size(), 16u);
        const std::wstring expected[] = {FromUtf8(texts.question), FromUtf8(texts.succeeded), FromUtf8(texts.failed)};
        for (int id = 0; id < 16; ++id) {
            if (id >= 1 && id <= 3) {
                EXPECT_EQ(block[id], expected[id - 1]) << "text " << id;
                // Whole within 256 bytes of UTF-16, with the terminating NUL.
                EXPECT_LE((block[id].size() + 1) * sizeof(wchar_t), 256u) << "text " << id;
            } else {
                EXPECT_TRUE(block[id].empty()) << "unexpected text " << id;
            }
        }
    }
    // The English question: 64 characters.
    EXPECT_EQ(StringBlock(1, 1033).at(1).size(), 64u);
}

// One node of a version resource: key, value and children, as laid out in the file.
struct VersionNode {
    std::wstring key;
    const BYTE* value = nullptr;
    WORD valueLength = 0;
    WORD type = 0;
    std::vector<VersionNode> children;
};

const BYTE* AlignDword(const BYTE* at, const BYTE* base) { return base + ((at - base + 3) & ~3); }

VersionNode ParseVersionNode(const BYTE* at, const BYTE* base) {
    VersionNode node;
    const WORD* header = reinterpret_cast<const WORD*>(at);
    WORD length = header[0];
    node.valueLength = header[1];
    node.type = header[2];
    const wchar_t* key = reinterpret_cast<const wchar_t*>(header + 3);
    node.key = key;
    const BYTE* value = AlignDword(reinterpret_cast<const BYTE*>(key + node.key.size() + 1), base);
    node.value = value;
    // Text values count characters, binary ones bytes.
    size_t valueBytes = node.type == 1 ? node.valueLength * sizeof(wchar_t) : node.valueLength;
    const BYTE* child = AlignDword(value + valueBytes, base);
    const BYTE* end = at + length;
    while (child + 6 <= end) {
        WORD childLength = *reinterpret_cast<const WORD*>(child);
        if (childLength == 0) break;
        node.children.push_back(ParseVersionNode(child, base));
        child = AlignDword(child + childLength, base);
    }
    return node;
}

TEST_F(Resources, VersionRecordReadsBackThroughTheVersionApi) {
    std::wstring path = AppPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    ASSERT_EQ(fixedLength, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(fixed->dwFileDateLS, 0u);

    WORD* translation = nullptr;
    UINT translationLength = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &translationLength));
    ASSERT_EQ(translationLength, 4u);
    EXPECT_EQ(translation[0], 0x0400);
    EXPECT_EQ(translation[1], 1200);

    const std::pair<const wchar_t*, const wchar_t*> values[] = {
        {L"Comments", L""},
        {L"CompanyName", L"Kelsburo"},
        {L"FileDescription", L"TavixDelReg"},
        {L"FileVersion", L"1, 0, 0, 1"},
        {L"InternalName", L"TavixDelReg"},
        {L"LegalCopyright", L"Copyright (C) 2026 Kelsburo"},
        {L"LegalTrademarks", L""},
        {L"OriginalFilename", L"TavixDelReg.exe"},
        {L"PrivateBuild", L""},
        {L"ProductName", L"Kelsburo TavixDelReg"},
        {L"ProductVersion", L"1, 0, 0, 1"},
        {L"SpecialBuild", L""},
    };
    for (const auto& entry : values) {
        std::wstring query = std::wstring(L"\\StringFileInfo\\040004b0\\") + entry.first;
        wchar_t* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
            << ToUtf8Path(entry.first);
        EXPECT_EQ(std::wstring(text), entry.second) << ToUtf8Path(entry.first);
    }

    // The raw layout: the string block first, its twelve entries in this order, then
    // the translation block.
    VersionNode root = ParseVersionNode(data.data(), data.data());
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].key, L"StringFileInfo");
    EXPECT_EQ(root.children[1].key, L"VarFileInfo");
    ASSERT_EQ(root.children[0].children.size(), 1u);
    const VersionNode& block = root.children[0].children[0];
    EXPECT_EQ(block.key, L"040004b0");
    ASSERT_EQ(block.children.size(), std::size(values));
    for (size_t i = 0; i < block.children.size(); ++i)
        EXPECT_EQ(block.children[i].key, values[i].first);
}

}  // namespace
