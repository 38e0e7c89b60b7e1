// Switching the language in Settings: the main window's menus and toolbar and the dialogs
// take the chosen language's texts at once, as the translation files beside the program say.
#include "tests/e2e/Journey.h"

#include <QString>
#include <QStringList>

namespace fs = std::filesystem;

namespace e2e {
namespace {

// The texts of a translation file (UTF-16), by control ("Form1:TopBar:Button10"); entries
// that run over several lines or name a property are left out.
std::map<std::string, std::string> ReadTranslations(const std::string& suffix) {
    const fs::path file = fs::path(QUILLORA_PROGRAM_DIR) / "Localization" / ("LocalizationDB_" + suffix + ".txt");
    const std::string bytes = testsupport::ReadFileBytes(file);
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2));
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    std::map<std::string, std::string> out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString l = line.trimmed();
        const qsizetype comma = l.indexOf(QStringLiteral(", \""));
        if (comma <= 0 || !l.endsWith(QLatin1Char('"')) || l.contains(QLatin1Char('\\'))) continue;
        const QString key = l.left(comma);
        if (key.contains(QLatin1Char('.')) || key.front().isDigit()) continue;
        out[key.toStdString()] = l.mid(comma + 3, l.size() - comma - 4).remove(QLatin1Char('&')).toStdString();
    }
    return out;
}

struct Language {
    const char* suffix;
    const char* button;
};
const Language kLanguages[] = {{"DE", "rbGerman"}, {"FR", "rbFrench"}, {"ES", "rbSpanish"},
                               {"RU", "rbRussian"}, {"IT", "rbItaliano"}, {"EN", "rbEnglish"}};

// The controls of a form (by prefix of the file's keys) show the file's texts. Menu entries are
// matched by item name, wherever in the bar they sit. Returns how many were compared.
int ExpectTexts(const std::vector<Control>& controls, const std::map<std::string, std::string>& texts,
                const std::vector<std::string>& prefixes, const std::string& language, const std::string& when) {
    std::map<std::string, const Control*> byKey;
    for (const Control& c : controls) {
        std::string key = c.path;
        if (c.cls == "TMenuItem") key = key.substr(0, key.find('.')) + ':' + key.substr(key.rfind('.') + 1);
        for (char& ch : key)
            if (ch == '.') ch = ':';
        byKey[key] = &c;
    }
    int compared = 0;
    for (const auto& [key, text] : texts) {
        bool wanted = false;
        for (const std::string& p : prefixes) wanted = wanted || key.rfind(p, 0) == 0;
        if (!wanted) continue;
        // A menu item's key names its parents; the map names it by the item alone.
        std::string lookup = key;
        if (!byKey.count(lookup) && std::count(key.begin(), key.end(), ':') >= 2)
            lookup = key.substr(0, key.find(':')) + key.substr(key.rfind(':'));
        const auto found = byKey.find(lookup);
        if (found == byKey.end() || (key != lookup && found->second->cls != "TMenuItem")) continue;
        ++compared;
        EXPECT_EQ(found->second->text, text) << when << ": " << found->second->path << " does not show its " << language
                                             << " text";
    }
    return compared;
}

using LanguageJourney = Journey;

TEST_F(LanguageJourney, EachLanguageChosenInSettingsShowsAtOnceAndEnglishComesBack) {
    CopyMail({"msg/msgconvert-pairs/plain_unsent.msg"});
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(1), 90s)) << "the main window does not list the folder's message";
    const auto english = ReadTranslations("EN");
    ASSERT_FALSE(english.empty()) << "no English translation file beside the program";

    std::string previous = "EN";
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.suffix);
        const auto before = ReadTranslations(previous);
        const auto texts = ReadTranslations(language.suffix);
        ASSERT_GT(texts.size(), 100u) << "no " << language.suffix << " translation file beside the program";

        ClickMenu("Application1", "miSettingsDlg", "the Application menu has no Settings item");
        ASSERT_TRUE(program.WaitFor("SettingsDlg.TntButton1", 30s)) << "Settings... in the menu does not open the settings window";
        // The dialog speaks the language chosen last.
        EXPECT_GE(ExpectTexts(program.Controls(), before, {"SettingsDlg"}, previous, "the settings window"), 10);
        ClickOn("SettingsDlg." + std::string(language.button), "the settings window shows no choice for " + std::string(language.suffix));
        ClickOn("SettingsDlg.TntButton1", "the settings window has no OK button");
        ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) { return !FindControl(cs, "SettingsDlg"); }, 30s))
            << "OK does not close the settings window";

        // At once, without a restart: the toolbar, the menu bar and the folder panel.
        const std::string search = texts.at("Form1:TopBar:Button10");
        const bool switched = program.WaitUntil([&](const std::vector<Control>& cs) {
            const auto b = FindControl(cs, "Form1.TopBar.Button10");
            return b && b->text == search;
        }, 20s);
        EXPECT_TRUE(switched) << "after choosing " << language.suffix << " the toolbar's Search button does not read \"" << search
                              << "\" but \"" << (program.Find("Form1.TopBar.Button10") ? program.Find("Form1.TopBar.Button10")->text : "")
                              << "\"";
        const auto controls = program.Controls();
        EXPECT_EQ(ExpectTexts(controls, texts,
                              {"Form1:File1", "Form1:View1", "Form1:Edit1", "Form1:Message1", "Form1:Application1", "Form1:About1"},
                              language.suffix, "the menu bar"),
                  6) << "the menu bar does not show its six menus";
        EXPECT_GE(ExpectTexts(controls, texts, {"Form1:TopBar:", "Form1:Panel4:rbSubFolder", "Form1:RightPanel:HeaderPanel:"},
                              language.suffix, "the main window"),
                  10);
        previous = language.suffix;
    }
    // English is what the program keeps now.
    EXPECT_EQ(program.Close(), 0) << "the program does not end when its window is closed";
    EXPECT_NE(testsupport::ReadFileBytes(home_ / "registry/user.reg").find("\"Language\"=dword:00000001"), std::string::npos)
        << "English, chosen last, is not kept";
}

}  // namespace
}  // namespace e2e
