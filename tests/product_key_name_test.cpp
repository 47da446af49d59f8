#include <gtest/gtest.h>

#include "registry/product_key_name.h"

namespace {

struct NameCase {
    const wchar_t* name;
    bool isProduct;
};

const NameCase kNames[] = {
    {L"Tavix", true},
    {L"Tavix 2000", true},
    {L"TavixAnything\\x", true},
    {L"Tavix\u4e91\u5e06", true},
    {L"Ta.vix", true},
    {L"Ta.vix9", true},
    {L"RurevAvo", true},
    {L"tavix", false},
    {L"TAVIX", false},
    {L"Ta_vix", false},
    {L"Ta.Vix", false},
    {L"RurevAvo2", false},
    {L"Rurevavo", false},
    {L"RUREVAVO", false},
    {L"RurevAv", false},
    {L"XTavix", false},
    {L" Tavix", false},
    {L"Ta.vi", false},
    {L"Tavi", false},
    {L"T", false},
    {L"", false},
    {L"\uff34avix", false},  // fullwidth T
};

TEST(ProductKeyName, AcceptsExactlyTheProductsNames) {
    for (const NameCase& c : kNames) {
        EXPECT_EQ(IsProductKeyName(c.name), c.isProduct)
            << "name: \"" << ::testing::PrintToString(std::wstring(c.name)) << "\"";
    }
}

TEST(ProductKeyName, CaptionIsTheSecondPrefix) { EXPECT_EQ(std::wstring(kProductName), L"Ta.vix"); }

}  // namespace
