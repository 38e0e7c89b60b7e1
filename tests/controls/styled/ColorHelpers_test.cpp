// Colour arithmetic, the palette choices, the version tests and the small helpers of the
// styled controls.
#include <gtest/gtest.h>

#include "controls/styled/ColorHelpers.h"
#include "controls/styled/ColorNames.h"
#include "controls/styled/RzRegIniFile.h"
#include "platform/vcl/Registry.h"

namespace {

TEST(ColorHelpers, HslRoundTripsAndEdges) {
    const struct {
        TColor color;
        int h, s, l;
    } rows[] = {
        {0x000000, 0, 0, 0},       {0xFFFFFF, 0, 0, 240},    {0x0000FF, 0, 240, 120},  // red
        {0x00FF00, 80, 240, 120},  {0xFF0000, 160, 240, 120}, {0x808080, 0, 0, 120},
    };
    for (const auto& r : rows) {
        const THsl hsl = ColorToHsl(r.color);
        EXPECT_EQ(hsl.Hue, r.h) << std::hex << r.color;
        EXPECT_EQ(hsl.Saturation, r.s) << std::hex << r.color;
        EXPECT_EQ(hsl.Lightness, r.l) << std::hex << r.color;
    }
    // The way back divides the hue by 239: red, white and black come back exactly, green picks
    // up a trace of blue, and the top of the hue scale is red again.
    for (TColor c : {0x0000FF, 0xFFFFFF, 0x000000}) {
        const THsl hsl = ColorToHsl(c);
        EXPECT_EQ(HslToColor(hsl.Hue, hsl.Saturation, hsl.Lightness), c) << std::hex << c;
    }
    EXPECT_EQ(HslToColor(80, 240, 120), 0x02FF00);
    EXPECT_EQ(HslToColor(239, 240, 120), 0x0000FF);
}

TEST(ColorHelpers, DarkerLighterBlendAndClose) {
    EXPECT_EQ(DarkerColor(0x808080, 200), 0x000000);
    EXPECT_EQ(LighterColor(0xFFFFFF, 50), 0xFFFFFF);
    EXPECT_EQ(AdjustedColor(clBtnFace, 0), clBtnFace);  // a system colour stays one
    EXPECT_EQ(AdjustedColor(0x808080, -200), DarkerColor(0x808080, 200));
    EXPECT_EQ(BlendColors(0x0000FF, 0xFF0000, 255), 0x0000FF);
    EXPECT_EQ(BlendColors(0x0000FF, 0xFF0000, 0), 0xFF0000);
    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 128), 0x7F7F7F);
    EXPECT_TRUE(ColorsAreClose(0x808080, 0x707070));   // greys: hue 0, lightness close
    EXPECT_TRUE(ColorsAreClose(0x808080, 0x8080C0));      // saturation does not count
    EXPECT_FALSE(ColorsAreClose(0x0000FF, 0x00FF00));
    EXPECT_EQ(HueOfColor(ComplementColor(0x0000FF, 120)), 120);
}

TEST(ColorHelpers, PaletteFollowsThemesAndTheSchemeName) {
    // Themes are off here, so even the office style takes system colours.
    TColor frame, start, stop;
    GetHighlightGradientColors(gcsMSOffice, frame, start, stop);
    EXPECT_EQ(frame, clHighlight);
    EXPECT_EQ(stop, BlendColors(clHighlight, clWindow, 77));
    EXPECT_EQ(GetFrameColor(gcsMSOffice), LighterColor(clBtnShadow, 30));
    EXPECT_EQ(GetThemeElementColor(3), clBtnFace);

    EXPECT_EQ(QueryXPColorScheme(), 0);  // no key
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", true));
    reg.WriteString("ColorName", "metallic");
    reg.CloseKey();
    EXPECT_EQ(QueryXPColorScheme(), 2);
}

TEST(ColorHelpers, VersionTestsSeeANewNtSystem) {
    EXPECT_TRUE(IsWindowsVersionOrLater(5));   // XP or later
    EXPECT_TRUE(IsWindowsVersionOrLater(7));   // Vista or later
    EXPECT_FALSE(IsWindowsVersion(1));         // not NT 4
    EXPECT_FALSE(IsWindowsVersion(5));
    EXPECT_FALSE(IsWindowsVersionOrLater(8));  // unknown code
}

TEST(ColorHelpers, SmallHelpers) {
    EXPECT_EQ(CenteredRect(TRect(0, 0, 11, 11), 4, 4), TRect(3, 3, 7, 7));
    EXPECT_EQ(CenteredRect(TRect(-5, -5, 0, 0), 2, 2), TRect(-3, -3, -1, -1));
    WideString s = u"a&b&c";
    EXPECT_TRUE(RemoveFirstChar(s, u'&'));
    EXPECT_EQ(s, u"ab&c");
    EXPECT_FALSE(RemoveFirstChar(s, u'x'));
    TByteSet set{};
    set[65 / 32] |= 1u << (65 % 32);
    EXPECT_TRUE(ByteInSet(65, set));
    EXPECT_FALSE(ByteInSet(66, set));

    const auto& names = ColorNames();
    EXPECT_EQ(names[0].Name, u"Black");
    EXPECT_EQ(names[39].Color, 0xFFFFFF);
    EXPECT_EQ(names[64].Name, u"Info Background");
    EXPECT_EQ(names[65].Color, static_cast<TColor>(0xFF00001A));  // index 25 has no entry

    TRzRegIniFile settings(nullptr);
    EXPECT_TRUE(settings.RegAccess().Contains(keyAllAccess));
    EXPECT_EQ(settings.RegKey(), hkeyCurrentUser);
}

}  // namespace
