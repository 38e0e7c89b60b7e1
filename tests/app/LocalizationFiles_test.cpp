// The translation files built beside the program: each holds exactly the English file's keys,
// keeps every text's printf conversions in order, and puts each menu accelerator on a letter
// that no other item of the same menu uses.
#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <map>
#include <set>

#include "app/AppLocDB.h"
#include "platform/win/WinString.h"

namespace fs = std::filesystem;

namespace {

AppLocDB Load(const fs::path& path) {
    AppLocDB db;
    EXPECT_EQ(db.LoadDB(Utf8ToUtf16(path.string())), 0) << path;
    return db;
}

// The conversions of a text, in order ("%%" is no conversion).
WideString Conversions(const WideString& text) {
    WideString out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'%') continue;
        if (text[i + 1] == u'%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && !std::iswalpha(text[j])) ++j;
        if (j < text.size()) out += text.substr(i, j - i + 1) + u" ";
        i = j;
    }
    return out;
}

// The accelerator letter of a caption, lower case; 0 when it has none.
char16_t Accelerator(const WideString& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        const char16_t c = text[i + 1];
        // Latin capitals with accents and Cyrillic capitals: their small letter, for comparison.
        if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F)) return static_cast<char16_t>(c + 0x20);
        return static_cast<char16_t>(std::towlower(c));
    }
    return 0;
}

WideString Parent(const WideString& key) { return key.substr(0, key.rfind(u':')); }

class TranslationFile : public ::testing::TestWithParam<const char*> {};

TEST_P(TranslationFile, HasTheEnglishKeysPlaceholdersAndAccelerators) {
    const fs::path english = QUILLORA_LOCALIZATION_EN;
    const fs::path file = english.parent_path() / (std::string("LocalizationDB_") + GetParam() + ".txt");
    ASSERT_TRUE(fs::exists(file)) << file;
    const AppLocDB en = Load(english);
    const AppLocDB tr = Load(file);
    ASSERT_GT(en.Count(), 300u);

    for (const auto& [key, text] : en.Entries()) {
        const std::string k = Utf16ToUtf8(key);
        if (!tr.HasKey(key)) {
            ADD_FAILURE() << GetParam() << ": missing " << k;
            continue;
        }
        const WideString translated = tr.GetString(key);
        EXPECT_FALSE(translated.empty()) << k;
        EXPECT_EQ(Conversions(translated), Conversions(text)) << k << ": " << Utf16ToUtf8(translated);
        EXPECT_EQ(Accelerator(translated) != 0, Accelerator(text) != 0) << k << ": " << Utf16ToUtf8(translated);
        if (const char16_t letter = Accelerator(translated))
            EXPECT_TRUE(letter >= 0xC0 || std::iswalpha(letter)) << k << ": " << Utf16ToUtf8(translated);
    }
    for (const auto& [key, text] : tr.Entries()) EXPECT_TRUE(en.HasKey(key)) << GetParam() << ": extra " << Utf16ToUtf8(key);

    // Items of one menu (the same parent key) never share an accelerator.
    std::map<WideString, std::map<char16_t, WideString>> menus;
    for (const auto& [key, text] : tr.Entries()) {
        const char16_t letter = Accelerator(text);
        if (!letter) continue;
        auto [at, fresh] = menus[Parent(key)].emplace(letter, key);
        EXPECT_TRUE(fresh) << Utf16ToUtf8(key) << " and " << Utf16ToUtf8(at->second) << " share '&"
                           << Utf16ToUtf8(WideString(1, letter)) << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslationFile, ::testing::Values("FR", "DE", "ES", "RU", "IT"));

}  // namespace
