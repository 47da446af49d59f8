#include "registry/product_keys.h"
#include "test_registry.h"

namespace {

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

}  // namespace

void RegistryTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::wstring name = Widen(info->test_suite_name()) + L"." + Widen(info->name());
    for (wchar_t& c : name) {
        if (c == L'/') c = L'_';  // parameterised test names
    }
    scratch_ = L"Software\\TavixDelRegTests\\" + name;
    vendor_ = scratch_ + L"\\Kelsburo";
    victim_ = scratch_ + L"\\Victim";
    testreg::DeleteTree(HKEY_CURRENT_USER, scratch_);
    testreg::DeleteTree(HKEY_LOCAL_MACHINE, scratch_);
}

void RegistryTest::TearDown() {
    if (expectBalancedHandles_) testreg::ExpectHandlesBalanced();
    testreg::DeleteTree(HKEY_CURRENT_USER, scratch_);
    testreg::DeleteTree(HKEY_LOCAL_MACHINE, scratch_);
}

void RegistryTest::Make(std::initializer_list<std::wstring> relatives) const {
    testreg::CreateKey(HKEY_CURRENT_USER, vendor_);
    for (const std::wstring& relative : relatives)
        testreg::CreateKey(HKEY_CURRENT_USER, Below(relative));
}

int RegistryTest::Sweep() const { return DeleteProductKeys(HKEY_CURRENT_USER, vendor_.c_str()); }
