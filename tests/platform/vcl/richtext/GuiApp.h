// The one application object that text layout and fonts need, made on first use. Corpus
// tests run without the gui label's environment, so the offscreen platform is set here too.
#pragma once

#include <cstdlib>

#include <QGuiApplication>

namespace richtext_test {

inline void EnsureGuiApp() {
    if (QGuiApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "richtext_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives until exit
    (void)app;
}

}  // namespace richtext_test
