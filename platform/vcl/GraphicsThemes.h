// The theme service. Themes are off: the program draws its classic look everywhere, the same
// on every desktop and in pixel tests.
#pragma once

class TThemeServices {
public:
    bool ThemesAvailable() const { return false; }
    bool ThemesEnabled() const { return false; }
};

inline TThemeServices* ThemeServices() {
    static TThemeServices services;
    return &services;
}
