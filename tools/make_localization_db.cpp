// Writes the program's translation files at build time.
//   make_localization_db <file>: the English file, a template written by the program's own
//     "+EXPTEXT" run over its real windows (offscreen), so it holds every UI text and every
//     window text.
//   make_localization_db --from-source <source> <file>: a translation file from its UTF-8
//     source, one "key=text" a line ("\n" in a text is a line break; lines starting with "#"
//     and empty lines are skipped).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppLocDB.h"
#include "app/startup/Startup.h"
#include "dialogs/SplashScreen.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "ui/Form1.h"

namespace {

int FromSource(const char* source, const char* target) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make_localization_db: cannot read %s\n", source);
        return 1;
    }
    AppLocDB db;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0 || !IsValidUtf8(line)) {
            std::fprintf(stderr, "%s:%d: not a key=text line\n", source, number);
            return 1;
        }
        db.SetString(Utf8ToUtf16(line.substr(0, eq)), AppLocDB::DecodeText(Utf8ToUtf16(line.substr(eq + 1))));
    }
    if (db.SaveDB(Utf8ToUtf16(target)) != 0) {
        std::fprintf(stderr, "make_localization_db: cannot write %s\n", target);
        return 1;
    }
    return 0;
}

int EnglishTemplate(const char* program, const char* target) {
    StartupHooks hooks;
    hooks.hasDisplay = [] { return false; };
    hooks.installToolkit = [](bool, bool) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        InstallQtWidgetSet();
        InstallQtShellIcons();
    };
    hooks.createForms = CreateMainForms;
    hooks.createSplash = CreateSplashScreen;
    return RunApplication({program, "+EXPTEXT", target}, hooks);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--from-source") return FromSource(argv[2], argv[3]);
    if (argc == 2) return EnglishTemplate(argv[0], argv[1]);
    std::fprintf(stderr, "usage: %s <English file> | --from-source <source> <file>\n", argv[0]);
    return 2;
}
