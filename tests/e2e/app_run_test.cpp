// The whole program under Wine: real registry, real message boxes answered from
// outside, exit code checked. Every test starts from registry places of its own
// cleared, and clears them again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "expected_texts.h"
#include "win_registry.h"

namespace {

const HKEY HKLM = HKEY_LOCAL_MACHINE;
const HKEY HKCU = HKEY_CURRENT_USER;
const REGSAM k32 = KEY_WOW64_32KEY;
const REGSAM k64 = KEY_WOW64_64KEY;

const wchar_t kVendor[] = L"Software\\Kelsburo";
const wchar_t kVirtualStore[] = L"Software\\Classes\\VirtualStore";
const wchar_t kStoreVendor[] = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Kelsburo";
const wchar_t kStoreWowVendor[] = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Wow6432Node\\Kelsburo";
// Where links made by the tests point: the 64-bit view of HKLM, outside every target.
const wchar_t kVictim[] = L"Software\\TavixDelRegE2E\\Victim";
const wchar_t kVictimNative[] = L"\\Registry\\Machine\\Software\\TavixDelRegE2E\\Victim";

struct Place {
    HKEY root;
    const wchar_t* path;
    REGSAM view;
};

// The four targets as the 32-bit program sees them, plus the HKLM vendor key of the
// 64-bit view, which must never be touched.
const Place kMachine32{HKLM, kVendor, k32};
const Place kMachine64{HKLM, kVendor, k64};
const Place kUser{HKCU, kVendor, 0};
const Place kStore{HKCU, kStoreVendor, 0};
// Seeded and checked through the 64-bit view: a 32-bit process that names
// Wow6432Node in a path below the virtual store's SOFTWARE key does not reach the
// literal key under Wine.
const Place kStoreWow{HKCU, kStoreWowVendor, k64};

const wchar_t* const kProductNames[] = {L"Tavix", L"Tavix 2000", L"Ta.vix", L"Ta.vix9", L"RurevAvo"};
const wchar_t* const kOtherNames[] = {L"Other", L"Ta_vix", L"RurevAvo2", L"XTavix", L"Ta.vi"};

const CatalogueTexts& ExpectedTexts() {
    const char* wanted = std::getenv("TAVIX_E2E_LANGUAGE");
    for (const CatalogueTexts& texts : kCatalogue) {
        if (wanted && std::string(wanted) == texts.locale) return texts;
    }
    return kCatalogue[0];
}

std::wstring Join(const Place& place, const std::wstring& relative) {
    return relative.empty() ? std::wstring(place.path) : std::wstring(place.path) + L"\\" + relative;
}

void Make(const Place& place, const std::wstring& relative) {
    ASSERT_TRUE(winreg::CreateKey(place.root, Join(place, relative), place.view));
}

bool Exists(const Place& place, const std::wstring& relative) {
    return winreg::KeyExists(place.root, Join(place, relative), place.view);
}

// A vendor key with a value, product keys with subtrees and values, and other
// subkeys, Other\Tavix among them.
void SeedLeftovers(const Place& place) {
    Make(place, L"");
    ASSERT_TRUE(winreg::SetValue(place.root, place.path, place.view, L"Language", L"1033"));
    for (const wchar_t* name : kProductNames) {
        Make(place, std::wstring(name) + L"\\Settings\\Window");
        ASSERT_TRUE(winreg::SetValue(place.root, Join(place, name), place.view, L"Version", L"7.1"));
    }
    for (const wchar_t* name : kOtherNames)
        Make(place, std::wstring(name) + L"\\Tavix");
}

void ExpectOnlyProductKeysGone(const Place& place) {
    for (const wchar_t* name : kProductNames)
        EXPECT_FALSE(Exists(place, name)) << ToUtf8Path(Join(place, name));
    for (const wchar_t* name : kOtherNames)
        EXPECT_TRUE(Exists(place, std::wstring(name) + L"\\Tavix")) << ToUtf8Path(Join(place, name));
    EXPECT_TRUE(winreg::HasValue(place.root, place.path, place.view, L"Language")) << ToUtf8Path(place.path);
}

void ExpectUntouched(const Place& place) {
    for (const wchar_t* name : kProductNames)
        EXPECT_TRUE(Exists(place, std::wstring(name) + L"\\Settings\\Window")) << ToUtf8Path(Join(place, name));
    for (const wchar_t* name : kOtherNames)
        EXPECT_TRUE(Exists(place, std::wstring(name) + L"\\Tavix"));
}

// A link named `name` under the place, to a victim key with a value and no subkeys:
// deleting by name through the link would remove the victim.
void SeedLink(const Place& place, const wchar_t* name) {
    ASSERT_TRUE(winreg::CreateKey(HKLM, kVictim, k64));
    ASSERT_TRUE(winreg::SetValue(HKLM, kVictim, k64, L"Keep", L"1"));
    Make(place, L"");
    ASSERT_TRUE(winreg::CreateLink(place.root, Join(place, name), place.view, kVictimNative));
}

void ExpectVictimIntact() {
    EXPECT_TRUE(winreg::KeyExists(HKLM, kVictim, k64));
    EXPECT_TRUE(winreg::HasValue(HKLM, kVictim, k64, L"Keep"));
}

std::vector<std::wstring> Everything() {
    std::vector<std::wstring> all;
    for (const Place& place : {kMachine32, kMachine64, kUser, kStore, kStoreWow}) {
        std::vector<std::wstring> tree = winreg::ListTree(place.root, place.path, place.view);
        all.insert(all.end(), tree.begin(), tree.end());
    }
    std::vector<std::wstring> victim = winreg::ListTree(HKLM, kVictim, k64);
    all.insert(all.end(), victim.begin(), victim.end());
    return all;
}

void ClearAllPlaces() {
    winreg::DeleteTree(HKLM, kVendor, k32);
    winreg::DeleteTree(HKLM, kVendor, k64);
    winreg::DeleteTree(HKCU, kVendor, 0);
    // Whole: once its Wow6432Node exists, Wine resolves the plain virtual-store vendor
    // key to the Wow6432Node copy, so the two are only seeded one at a time.
    winreg::DeleteTree(HKCU, kVirtualStore, 0);
    winreg::DeleteTree(HKLM, L"Software\\TavixDelRegE2E", k64);
}

class AppRun : public ::testing::Test {
protected:
    void SetUp() override { ClearAllPlaces(); }
    void TearDown() override { ClearAllPlaces(); }

    // Runs the program, checks the question, answers it with OK and returns the
    // result text; checks the result box and the exit code on the way.
    std::wstring AcceptAndGetResult() {
        AppProcess app;
        EXPECT_TRUE(app.Started()) << "cannot start " << ToUtf8Path(AppPath());
        if (!app.Started()) return L"";
        MessageBoxView question;
        EXPECT_TRUE(app.NextBox(&question)) << "no question";
        if (!question.window) return L"";
        ExpectQuestion(question);
        EXPECT_TRUE(AnswerMessageBox(question, Answer::Ok, 10000));

        MessageBoxView result;
        EXPECT_TRUE(app.NextBox(&result, 60000)) << "no result box";
        if (!result.window) return L"";
        EXPECT_EQ(result.caption, FromUtf8(kCaption));
        EXPECT_EQ(result.buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(AnswerMessageBox(result, Answer::Ok, 10000));
        DWORD exitCode = 1;
        EXPECT_TRUE(app.EndsWithoutAnotherBox(&exitCode));
        EXPECT_EQ(exitCode, 0u);
        return result.text;
    }

    void ExpectQuestion(const MessageBoxView& box) {
        EXPECT_EQ(box.caption, FromUtf8(kCaption));
        EXPECT_EQ(box.text, FromUtf8(ExpectedTexts().question));
        EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    }

    std::wstring Succeeded() const { return FromUtf8(ExpectedTexts().succeeded); }
    std::wstring Failed() const { return FromUtf8(ExpectedTexts().failed); }
};

class Declining : public AppRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(Declining, LeavesTheRegistryAsItWasAndShowsNoSecondBox) {
    SeedLeftovers(kMachine32);
    SeedLeftovers(kUser);
    SeedLeftovers(kStore);
    std::vector<std::wstring> before = Everything();

    Answer answer;
    ASSERT_TRUE(ParseAnswer(FromUtf8(GetParam()), &answer));
    AppProcess app;
    ASSERT_TRUE(app.Started());
    MessageBoxView question;
    ASSERT_TRUE(app.NextBox(&question));
    ExpectQuestion(question);
    ASSERT_TRUE(AnswerMessageBox(question, answer, 10000));
    DWORD exitCode = 1;
    EXPECT_TRUE(app.EndsWithoutAnotherBox(&exitCode)) << "a second box, or no end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Everything(), before);
}

INSTANTIATE_TEST_SUITE_P(Answers, Declining, ::testing::Values("cancel", "esc", "close"));

class Accepting : public AppRun, public ::testing::WithParamInterface<Place> {};

TEST_P(Accepting, RemovesExactlyTheProductKeysOfAllTargets) {
    const Place& store = GetParam();
    SeedLeftovers(kMachine32);
    SeedLeftovers(kMachine64);
    SeedLeftovers(kUser);
    SeedLeftovers(store);

    EXPECT_EQ(AcceptAndGetResult(), Succeeded());

    ExpectOnlyProductKeysGone(kMachine32);
    ExpectOnlyProductKeysGone(kUser);
    ExpectOnlyProductKeysGone(store);
    ExpectUntouched(kMachine64);
}

INSTANTIATE_TEST_SUITE_P(VirtualStores, Accepting, ::testing::Values(kStore, kStoreWow),
                         [](const ::testing::TestParamInfo<Place>& info) {
                             return info.param.path == kStore.path ? "PlainView" : "Wow6432Node";
                         });

TEST_F(AppRun, NothingToCleanIsASuccess) {
    EXPECT_EQ(AcceptAndGetResult(), Succeeded());
    EXPECT_TRUE(Everything().empty());
}

TEST_F(AppRun, VendorKeysWithoutProductKeysAreASuccessAndStay) {
    Make(kMachine32, L"Other");
    Make(kUser, L"");
    EXPECT_EQ(AcceptAndGetResult(), Succeeded());
    EXPECT_TRUE(Exists(kMachine32, L"Other"));
    EXPECT_TRUE(Exists(kUser, L""));
}

TEST_F(AppRun, FailureInTheFirstTargetStillSweepsTheOthers) {
    SeedLeftovers(kMachine32);
    SeedLink(kMachine32, L"Tavix 3");
    SeedLeftovers(kUser);
    SeedLeftovers(kStore);

    EXPECT_EQ(AcceptAndGetResult(), Failed());

    EXPECT_TRUE(Exists(kMachine32, L"Tavix 3"));
    ExpectVictimIntact();
    ExpectOnlyProductKeysGone(kMachine32);
    ExpectOnlyProductKeysGone(kUser);
    ExpectOnlyProductKeysGone(kStore);
}

TEST_F(AppRun, FailureInTheLastTargetAloneIsReported) {
    SeedLeftovers(kMachine32);
    SeedLeftovers(kUser);
    SeedLink(kStoreWow, L"Ta.vix");

    EXPECT_EQ(AcceptAndGetResult(), Failed());

    ExpectOnlyProductKeysGone(kMachine32);
    ExpectOnlyProductKeysGone(kUser);
    EXPECT_TRUE(Exists(kStoreWow, L"Ta.vix"));
    ExpectVictimIntact();
}

// Run by CTest once per user-interface language, with TAVIX_E2E_LANGUAGE naming the
// texts that language must get and TAVIX_E2E_ACP the ANSI code page it comes with.
TEST_F(AppRun, LanguageEnvironmentIsTheOneAskedFor) {
    const char* codePage = std::getenv("TAVIX_E2E_ACP");
    ASSERT_NE(codePage, nullptr);
    EXPECT_EQ(GetACP(), UINT(std::atoi(codePage)));
}

TEST_F(AppRun, LanguageTextsAndCaption) {
    EXPECT_EQ(AcceptAndGetResult(), Succeeded());
    SeedLink(kUser, L"Tavix");
    EXPECT_EQ(AcceptAndGetResult(), Failed());
}

TEST_F(AppRun, LongChineseNameBesideProductKeysNeitherHangsNorHidesThem) {
    std::wstring chinese(195, L'\x96f2');
    SeedLeftovers(kUser);
    Make(kUser, chinese);
    Make(kUser, L"Tavix \x96f2\x5e06\x8a5e");

    EXPECT_EQ(AcceptAndGetResult(), Succeeded());

    ExpectOnlyProductKeysGone(kUser);
    EXPECT_FALSE(Exists(kUser, L"Tavix \x96f2\x5e06\x8a5e"));
    EXPECT_TRUE(Exists(kUser, chinese));
}

}  // namespace
