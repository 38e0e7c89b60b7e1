// The stock pictures of the glyph button's kinds, drawn from small pixel maps into 32-bit
// bitmaps (no drawing backend needed): a normal picture, then a greyed one with a light
// shadow, on an olive background that the painter leaves out.
#include <array>
#include <cstdint>
#include <cstring>

#include "controls/styled/RzBitBtn.h"

namespace {

using Art = std::array<const char*, 16>;

constexpr Art kCheck = {
    "................", "................", "................", ".............##.", "............###.", "...........###..",
    "..........###...", ".##......###....", ".###....###.....", "..###..###......", "...######.......", "....####........",
    ".....##.........", "................", "................", "................"};
constexpr Art kCross = {
    "................", "................", "...##......##...", "...###....###...", "....###..###....", ".....######.....",
    "......####......", "......####......", ".....######.....", "....###..###....", "...###....###...", "...##......##...",
    "................", "................", "................", "................"};
constexpr Art kQuestion = {
    "................", ".....#####......", "....##...##.....", "....##...##.....", ".........##.....", "........##......",
    ".......##.......", "......##........", "......##........", "................", "......##........", "......##........",
    "................", "................", "................", "................"};
constexpr Art kNo = {
    "................", ".....######.....", "....##....##....", "...##.....###...", "..##.....####...", "..##....##..##..",
    "..##...##...##..", "..##..##....##..", "..##.##.....##..", "...####....##...", "...###.....##...", "....##....##....",
    ".....######.....", "................", "................", "................"};
constexpr Art kClose = {
    "................", "..#########.....", "..#.......#.....", "..#.......#.....", "..#.......#.#...", "..#.......#.##..",
    "..#...#######...", "..#...########..", "..#...#######...", "..#.......#.##..", "..#.......#.#...", "..#.......#.....",
    "..#########.....", "................", "................", "................"};
constexpr Art kRetry = {
    "................", "......#####.....", "....##.....##...", "...#.........#..", "..#..........#..", "..#.......#####.",
    "..#........###..", "..#.........#...", "..#..............", "...#.........#..", "....##.....##...", "......#####.....",
    "................", "................", "................", "................"};
constexpr Art kIgnore = {
    "................", "................", "................", "................", "..........#.....", "..........##....",
    "..###.########..", "..###.#########.", "..###.########..", "..........##....", "..........#.....", "................",
    "................", "................", "................", "................"};
constexpr Art kAll = {
    "................", "................", "...........##...", "..........###...", ".##......###....", ".###....###.##..",
    "..###..###.###..", "...######.###...", "....####.###....", ".....##.###.....", "......####......", ".......##.......",
    "................", "................", "................", "................"};

constexpr TColor kBackground = 0x008080;  // olive: left out when painted

struct Stock {
    const Art* art;
    TColor color;
};

Stock StockOf(TBitBtnKind kind) {
    switch (kind) {
        case bkOK:
        case bkYes: return {&kCheck, 0x008000};
        case bkCancel: return {&kCross, 0x0000C0};
        case bkHelp: return {&kQuestion, 0x800000};
        case bkNo: return {&kNo, 0x0000C0};
        case bkClose: return {&kClose, 0x006000};
        case bkAbort: return {&kCross, 0x000080};
        case bkRetry: return {&kRetry, 0x806000};
        case bkIgnore: return {&kIgnore, 0x404040};
        case bkAll: return {&kAll, 0x008000};
        case bkCustom: break;
    }
    return {nullptr, clBlack};
}

// A 32-bit row holds B, G, R and an unused byte a pixel.
void Put(TBitmap& bitmap, int x, int y, TColor color) {
    const COLORREF c = ColorToRGB(color);
    auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
    row[x * 4 + 0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
    row[x * 4 + 1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
    row[x * 4 + 2] = static_cast<std::uint8_t>(c & 0xFF);
    row[x * 4 + 3] = 0;
}

void MakeStock(TBitmap& bitmap, TBitBtnKind kind) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) Put(bitmap, x, y, kBackground);
    const Stock stock = StockOf(kind);
    if (!stock.art) return;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if ((*stock.art)[y][x] != '#') continue;
            Put(bitmap, x, y, stock.color);
            if (x + 1 < 16 && y + 1 < 16) Put(bitmap, 16 + x + 1, y + 1, clBtnHighlight);
        }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((*stock.art)[y][x] == '#') Put(bitmap, 16 + x, y, clBtnShadow);
    bitmap.SetTransparentColor(kBackground);
}

}  // namespace

const TBitmap& GetKindGlyph(TBitBtnKind kind) {
    static std::array<std::unique_ptr<TBitmap>, 11> cache;
    auto& slot = cache[static_cast<std::size_t>(kind)];
    if (!slot) {
        auto made = std::make_unique<TBitmap>();
        MakeStock(*made, kind);
        slot = std::move(made);
    }
    return *slot;
}
