// Test entry point: every test process runs with its own home, XDG folders and registry,
// so no test reads or writes the real user's settings.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

// Font configuration keeps its caches until the process ends and the toolkit never releases
// them, and the web engine keeps objects of its own browser process alive until exit; the leak
// checker is told so that it reports only our own leaks.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt6WebEngineCore.so\n";
}

int main(int argc, char** argv) {
    testsupport::TempDir home;
    const auto set = [&](const char* name, const char* sub) {
        std::filesystem::path p = home.path() / sub;
        std::filesystem::create_directories(p);
        ::setenv(name, p.c_str(), 1);
    };
    set("HOME", "home");
    set("XDG_CONFIG_HOME", "home/.config");
    set("XDG_DATA_HOME", "home/.local/share");
    set("XDG_CACHE_HOME", "home/.cache");
    set("QUILLORA_REGISTRY_DIR", "registry");
    ::unsetenv("XDG_CONFIG_DIRS");
    // No test needs a real display; CI has none.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
