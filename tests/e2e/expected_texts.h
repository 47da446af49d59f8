#pragma once
// The program's texts as a user must see them, written out in UTF-8 here,
// independently of how the resource script spells them.
#include <string>

struct CatalogueTexts {
    const char* locale;  // as named in TAVIX_E2E_LANGUAGE
    unsigned short language;
    const char* question;
    const char* succeeded;
    const char* failed;
};

inline constexpr CatalogueTexts kCatalogue[] = {
    {"en", 1033, "Do you want to delete the remaining registry entries for Ta.vix?", "Registry deletion successful!",
     "Registry deletion failed!"},
    {"zh_TW", 1028, "您是否確定要刪除Ta.vix雲帆詞遺留的註冊表信息？", "註冊表刪除成功﹗", "註冊表刪除失敗﹗"},
    {"zh_CN", 2052, "您是否确定要删除Ta.vix云帆词遗留的注册表信息？", "注册表删除成功！", "注册表删除失败！"},
};

inline constexpr char kCaption[] = "Ta.vix";

std::wstring FromUtf8(const char* text);
