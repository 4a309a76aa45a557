#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "diag/Utf16.h"
#include "shell/win32/RegistrySettingsStore.h"

namespace vantrell::win32 {
namespace {

// A key of its own under HKEY_CURRENT_USER, removed afterwards: never the user's settings.
struct RegistrySettings : ::testing::Test {
    std::string base = "Software\\Vantrell tests\\" + std::to_string(std::random_device{}());
    RegistrySettingsStore store{base};

    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, widen(base).c_str()); }

    void writeRaw(DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, widen(base + "\\CH7\\QuickBooks").c_str(), 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"CHprog", 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
};

TEST(RegistrySettingsKey, IsVantrellsOwnKeyUnderTheUsersSoftware) {
    EXPECT_EQ(RegistrySettingsStore().sectionKey("CH7", "QuickBooks"),
              "Software\\VB and VBA Program Settings\\CH7\\QuickBooks");
}

TEST_F(RegistrySettings, MissingKeyOrValueGivesTheDefault) {
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", ""), "");
    store.SaveSetting("CH7", "QuickBooks", "QBdata", "C:\\x.qbw");
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", "fallback"), "fallback");
}

TEST_F(RegistrySettings, TextRoundTripsAsRegSzAndIsOverwritten) {
    const std::string accented = "C:\\Données\\Zoë\\ChronelV7.mde";
    const std::string longPath = "C:\\" + std::string(5000, 'x') + ".qbw";
    store.SaveSetting("CH7", "QuickBooks", "CHprog", accented);
    store.SaveSetting("CH7", "QuickBooks", "QBdata", longPath);
    // A second store reads what the first wrote: it is in the registry, not in memory.
    RegistrySettingsStore other{base};
    EXPECT_EQ(other.GetSetting("CH7", "QuickBooks", "CHprog", ""), accented);
    EXPECT_EQ(other.GetSetting("CH7", "QuickBooks", "QBdata", ""), longPath);

    DWORD type = 0;
    RegGetValueW(HKEY_CURRENT_USER, widen(base + "\\CH7\\QuickBooks").c_str(), L"CHprog",
                 RRF_RT_ANY, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    store.SaveSetting("CH7", "QuickBooks", "CHprog", "D:\\new.mde");
    EXPECT_EQ(other.GetSetting("CH7", "QuickBooks", "CHprog", ""), "D:\\new.mde");
}

TEST_F(RegistrySettings, TextWithoutItsNullIsReadWhole) {
    const std::wstring text = L"C:\\a.mde";
    writeRaw(REG_SZ, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", ""), "C:\\a.mde");
}

TEST_F(RegistrySettings, ValueThatIsNotTextCountsAsAbsent) {
    const DWORD number = 7;
    writeRaw(REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", ""), "");
    store.SaveSetting("CH7", "QuickBooks", "CHprog", "C:\\b.mde");
    EXPECT_EQ(store.GetSetting("CH7", "QuickBooks", "CHprog", ""), "C:\\b.mde");
}

}  // namespace
}  // namespace vantrell::win32
