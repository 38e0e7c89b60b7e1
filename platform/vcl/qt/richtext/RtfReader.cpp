#include "platform/vcl/qt/richtext/RtfReader.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include "platform/vcl/qt/richtext/RtfPicture.h"
#include "platform/vcl/richtext/RtfLexer.h"
#include "platform/win/CodePages.h"

namespace richtext {

namespace {

constexpr int kMaxFonts = 4096;
constexpr int kMaxColors = 4096;
constexpr int kMaxTabs = 64;
constexpr int kMaxTwips = 31680;  // 22 inches: the widest indent or space a page can hold
constexpr double kTwipsPerPixel = 15.0;  // layout is in pixels at 96 dots per inch

int ClampTwips(int v) { return std::clamp(v, -kMaxTwips, kMaxTwips); }

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable, Picture, FieldInstruction };

struct CharState {
    int font = -1;
    int halfPoints = 24;
    bool bold = false, italic = false, strike = false, hidden = false, caps = false, smallCaps = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    int foreground = 0;  // colour table index; 0 is "automatic"
    int background = 0;
    int highlight = 0;
    int vertical = 0;  // 1 superscript, -1 subscript
    int link = -1;     // index into the reader's link targets

    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int leftIndent = 0, rightIndent = 0, firstIndent = 0;
    int spaceBefore = 0, spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool rightToLeft = false;
    std::vector<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    int tableLevel = 0;  // \intbl is 1, \itapN is N
    bool pageBreakBefore = false;
};

struct Group {
    CharState chr;
    ParaState para;
    Dest dest = Dest::Text;
    int unicodeSkip = 1;
    bool inUnicodePair = false;  // inside \upr, whose \ud part is the one to show
    bool ownsPicture = false;    // the group that opened \pict
    int field = -1;              // the field this group or an enclosing one opened
};

struct FontEntry {
    std::string nameBytes;
    QString name;
    int charset = 1;
    int codePage = 0;  // \cpg, 0 when absent
    QFont::StyleHint hint = QFont::AnyStyle;
};

struct Field {
    std::string instruction;
};

enum class Word {
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCpg, DefaultFont, UnicodeSkip, Unicode,
    // destinations
    FontTable, ColorTable, Picture, Field, FieldInst, FieldResult, Object, ObjectResult,
    ShapePicture, UnicodePair, UnicodeOf, ObjectPlaceholder,
    // font table
    Font, FontCharset, FontCodePage, FamilyRoman, FamilySwiss, FamilyModern, FamilyScript,
    FamilyDecor, FamilyTech, FamilyNil,
    // colour table
    Red, Green, Blue,
    // character formatting
    Plain, Bold, Italic, Strike, StrikeDouble, Hidden, Caps, SmallCaps, FontSize,
    Underline, UnderlineNone, UnderlineDotted, UnderlineDash, UnderlineDashDot,
    UnderlineDashDotDot, UnderlineWave, UnderlineSingleLike,
    Foreground, Background, Highlight, Super, Sub, NoSuperSub, Up, Down,
    // paragraph formatting
    Pard, AlignLeft, AlignRight, AlignCenter, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, TabStop, TabBar, TabRight, TabCenter,
    TabDecimal, InTable, TableLevel, RtlPar, LtrPar, PageBreakBefore,
    // breaks and special characters
    Par, Sect, Line, Page, Tab, Cell, NestCell, Row, NestRow, RowDefaults, CellEdge,
    BorderWord, EmDash, EnDash, Bullet, LQuote, RQuote, LDblQuote, RDblQuote, EmSpace, EnSpace,
    QmSpace, Zwj, Zwnj, LtrMark, RtlMark,
    // picture properties
    PngBlip, JpegBlip, EmfBlip, WindowsMetafile, DeviceIndependentBitmap, DeviceBitmap,
    PicWidth, PicHeight, PicGoalWidth, PicGoalHeight, PicScaleX, PicScaleY, BitsPerPixel,
    WidthBytes,
    // skipped destinations
    SkipDestination,
};

const std::unordered_map<std::string_view, Word>& WordTable() {
    static const std::unordered_map<std::string_view, Word> table = [] {
        std::unordered_map<std::string_view, Word> t = {
            {"rtf", Word::Rtf}, {"urtf", Word::Rtf}, {"ansi", Word::Ansi}, {"mac", Word::Mac},
            {"pc", Word::Pc}, {"pca", Word::Pca}, {"ansicpg", Word::AnsiCpg},
            {"deff", Word::DefaultFont}, {"uc", Word::UnicodeSkip}, {"u", Word::Unicode},
            {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable}, {"pict", Word::Picture},
            {"field", Word::Field}, {"fldinst", Word::FieldInst}, {"fldrslt", Word::FieldResult},
            {"object", Word::Object}, {"result", Word::ObjectResult},
            {"shppict", Word::ShapePicture}, {"upr", Word::UnicodePair}, {"ud", Word::UnicodeOf},
            {"objattph", Word::ObjectPlaceholder},
            {"f", Word::Font}, {"fcharset", Word::FontCharset}, {"cpg", Word::FontCodePage},
            {"froman", Word::FamilyRoman}, {"fswiss", Word::FamilySwiss},
            {"fmodern", Word::FamilyModern}, {"fscript", Word::FamilyScript},
            {"fdecor", Word::FamilyDecor}, {"ftech", Word::FamilyTech}, {"fnil", Word::FamilyNil},
            {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
            {"plain", Word::Plain}, {"b", Word::Bold}, {"i", Word::Italic},
            {"strike", Word::Strike}, {"striked", Word::StrikeDouble}, {"v", Word::Hidden},
            {"caps", Word::Caps}, {"scaps", Word::SmallCaps}, {"fs", Word::FontSize},
            {"ul", Word::Underline}, {"ulnone", Word::UnderlineNone}, {"uld", Word::UnderlineDotted},
            {"ulthd", Word::UnderlineDotted}, {"uldash", Word::UnderlineDash},
            {"ulthdash", Word::UnderlineDash}, {"ulldash", Word::UnderlineDash},
            {"ulthldash", Word::UnderlineDash}, {"uldashd", Word::UnderlineDashDot},
            {"ulthdashd", Word::UnderlineDashDot}, {"uldashdd", Word::UnderlineDashDotDot},
            {"ulthdashdd", Word::UnderlineDashDotDot}, {"ulwave", Word::UnderlineWave},
            {"ulhwave", Word::UnderlineWave}, {"ululdbwave", Word::UnderlineWave},
            {"uldb", Word::UnderlineSingleLike}, {"ulth", Word::UnderlineSingleLike},
            {"ulw", Word::UnderlineSingleLike},
            {"cf", Word::Foreground}, {"cb", Word::Background}, {"chcbpat", Word::Background},
            {"highlight", Word::Highlight}, {"super", Word::Super}, {"sub", Word::Sub},
            {"nosupersub", Word::NoSuperSub}, {"up", Word::Up}, {"dn", Word::Down},
            {"pard", Word::Pard}, {"ql", Word::AlignLeft}, {"qr", Word::AlignRight},
            {"qc", Word::AlignCenter}, {"qj", Word::AlignJustify}, {"qd", Word::AlignJustify},
            {"li", Word::LeftIndent}, {"lin", Word::LeftIndent}, {"ri", Word::RightIndent},
            {"rin", Word::RightIndent}, {"fi", Word::FirstIndent}, {"sb", Word::SpaceBefore},
            {"sa", Word::SpaceAfter}, {"sl", Word::LineSpacing}, {"slmult", Word::LineMultiple},
            {"tx", Word::TabStop}, {"tb", Word::TabBar}, {"tqr", Word::TabRight},
            {"tqc", Word::TabCenter}, {"tqdec", Word::TabDecimal}, {"intbl", Word::InTable},
            {"itap", Word::TableLevel}, {"rtlpar", Word::RtlPar}, {"pagebb", Word::PageBreakBefore}, {"ltrpar", Word::LtrPar},
            {"par", Word::Par}, {"sect", Word::Sect}, {"line", Word::Line}, {"page", Word::Page},
            {"tab", Word::Tab}, {"cell", Word::Cell}, {"nestcell", Word::NestCell},
            {"row", Word::Row}, {"nestrow", Word::NestRow}, {"trowd", Word::RowDefaults},
            {"cellx", Word::CellEdge}, {"brdrs", Word::BorderWord}, {"brdrth", Word::BorderWord},
            {"brdrdb", Word::BorderWord}, {"brdrdot", Word::BorderWord},
            {"brdrdash", Word::BorderWord},
            {"emdash", Word::EmDash}, {"endash", Word::EnDash}, {"bullet", Word::Bullet},
            {"lquote", Word::LQuote}, {"rquote", Word::RQuote}, {"ldblquote", Word::LDblQuote},
            {"rdblquote", Word::RDblQuote}, {"emspace", Word::EmSpace},
            {"enspace", Word::EnSpace}, {"qmspace", Word::QmSpace}, {"zwj", Word::Zwj},
            {"zwnj", Word::Zwnj}, {"ltrmark", Word::LtrMark}, {"rtlmark", Word::RtlMark},
            {"pngblip", Word::PngBlip}, {"jpegblip", Word::JpegBlip}, {"emfblip", Word::EmfBlip},
            {"wmetafile", Word::WindowsMetafile}, {"dibitmap", Word::DeviceIndependentBitmap},
            {"wbitmap", Word::DeviceBitmap}, {"picw", Word::PicWidth}, {"pich", Word::PicHeight},
            {"picwgoal", Word::PicGoalWidth}, {"pichgoal", Word::PicGoalHeight},
            {"picscalex", Word::PicScaleX}, {"picscaley", Word::PicScaleY},
            {"wbmbitspixel", Word::BitsPerPixel}, {"wbmwidthbytes", Word::WidthBytes},
        };
        // Destinations whose content is never shown.
        for (std::string_view d :
             {"info", "stylesheet", "header", "headerl", "headerr", "headerf", "footer",
              "footerl", "footerr", "footerf", "footnote", "ftnsep", "ftnsepc", "ftncn",
              "aftnsep", "aftnsepc", "aftncn", "annotation", "atnid", "atnauthor", "objdata",
              "objclass", "objname", "objalias", "objsect", "objtime", "nonshppict", "pn",
              "pntxta", "pntxtb", "xe", "tc", "txe", "rxe", "template", "comment", "author",
              "operator", "title", "subject", "keywords", "doccomm", "buptim", "creatim",
              "printim", "revtim", "bkmkstart", "bkmkend", "listtable", "listoverridetable",
              "revtbl", "rsidtbl", "generator", "xmlnstbl", "themedata", "colorschememapping",
              "latentstyles", "datastore", "pgdsctbl", "filetbl", "fchars", "lchars", "mmathPr",
              "userprops", "docvar", "company", "category", "manager", "hlinkbase", "private",
              "protusertbl", "shpinst", "picprop", "blipuid", "defchp", "defpap", "panose",
              "falt", "fontemb", "fontfile", "atrfstart", "atrfend", "nesttableprops",
              "listpicture", "htmltag", "mhtmltag", "expandedcolortbl", "wgrffmtfilter",
              "passwordhash", "sp", "sn", "sv", "fldtype", "datafield", "formfield"})
            t.emplace(d, Word::SkipDestination);
        return t;
    }();
    return table;
}

UINT CodePageOfCharset(int charset, UINT documentCodePage) {
    switch (charset) {
    case 0: return 1252;
    case 2: return CP_SYMBOL;
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;
    }
}

// The target of a HYPERLINK field instruction: its first argument, "#name" for \l.
QString HyperlinkTarget(const QString& instruction) {
    const QString s = instruction.trimmed();
    if (!s.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) return {};
    qsizetype i = 9;
    bool anchor = false;
    while (i < s.size()) {
        while (i < s.size() && s[i].isSpace()) ++i;
        if (i >= s.size()) break;
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar sw = s[i + 1].toLower();
            i += 2;
            if (sw == u'l') {
                anchor = true;
                continue;
            }
            // switches with an argument of their own: \o tooltip, \t target frame, \m map
            if (sw == u'o' || sw == u't' || sw == u'm') {
                while (i < s.size() && s[i].isSpace()) ++i;
                if (i < s.size() && s[i] == u'"') {
                    const qsizetype end = s.indexOf(u'"', i + 1);
                    i = end < 0 ? s.size() : end + 1;
                } else {
                    while (i < s.size() && !s[i].isSpace()) ++i;
                }
            }
            continue;
        }
        QString arg;
        if (s[i] == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            arg = s.mid(i + 1, end < 0 ? -1 : end - i - 1);
        } else {
            const qsizetype start = i;
            while (i < s.size() && !s[i].isSpace()) ++i;
            arg = s.mid(start, i - start);
        }
        arg.replace(QLatin1String("\\\\"), QLatin1String("\\"));
        if (arg.isEmpty()) return {};
        return anchor ? QLatin1Char('#') + arg : arg;
    }
    return {};
}

class Reader {
public:
    Reader(QTextCursor& cursor, const RtfReadOptions& options)
        : cursor_(cursor), options_(options), documentCodePage_(options.defaultCodePage) {}

    RtfReadResult Run(std::string_view rtf);

private:
    Group& State() { return groups_.back(); }

    void OnGroupStart();
    void OnGroupEnd();
    void OnControlWord(const RtfToken& t);
    void OnControlSymbol(char symbol);
    void OnText(std::string_view text);
    void OnByte(std::uint8_t byte);
    void OnBinary(std::string_view data);
    void OnDestinationWord(Word word, const RtfToken& t);
    void OnCharacterWord(Word word, const RtfToken& t);
    void OnParagraphWord(Word word, const RtfToken& t);

    bool ConsumeSkip();
    UINT CurrentCodePage() const;
    void AppendUnit(char16_t unit);
    void DecodePendingBytes();
    void Flush();
    QTextCharFormat CharFormat(const CharState& s) const;
    QTextBlockFormat BlockFormat(const ParaState& p) const;

    void EndParagraph();
    void ApplyBlockFormat();
    void EnterTableCell();
    void LeaveTable();
    void EndCell();
    void EndRow();
    void PlacePicture(const CharState& where);
    void AddFontName();

    QTextCursor& cursor_;
    RtfReadOptions options_;
    RtfReadResult result_;
    std::vector<Group> groups_;
    int droppedDepth_ = 0;
    bool star_ = false;
    int skipRemaining_ = 0;

    UINT documentCodePage_;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    int currentFontEntry_ = -1;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    std::vector<Field> fields_;
    std::vector<QString> links_;

    std::string pendingBytes_;
    UINT pendingCodePage_ = 0;
    QString pendingText_;
    CharState pendingFormat_;

    bool pageBreakPending_ = false;
    bool blockHasContent_ = false;

    QTextTable* table_ = nullptr;
    int row_ = 0, column_ = 0;
    bool rowPending_ = false, cellPending_ = false;
    std::vector<int> cellEdges_;
    int rowLeft_ = 0;
    bool rowBorders_ = false;

    RtfPicture picture_;
    int hexHigh_ = -1;
};

RtfReadResult Reader::Run(std::string_view rtf) {
    RtfLexer lexer(rtf);
    cursor_.beginEditBlock();
    if (cursor_.hasSelection()) cursor_.removeSelectedText();
    groups_.push_back(Group{});
    bool started = false;
    for (;;) {
        const RtfToken t = lexer.Next();
        if (t.kind == RtfTokenKind::End) break;
        if (droppedDepth_ > 0) {
            if (t.kind == RtfTokenKind::GroupStart) ++droppedDepth_;
            if (t.kind == RtfTokenKind::GroupEnd) --droppedDepth_;
            continue;
        }
        switch (t.kind) {
        case RtfTokenKind::GroupStart:
            OnGroupStart();
            started = true;
            break;
        case RtfTokenKind::GroupEnd:
            OnGroupEnd();
            break;
        case RtfTokenKind::ControlWord:
            OnControlWord(t);
            break;
        case RtfTokenKind::ControlSymbol:
            OnControlSymbol(t.symbol);
            break;
        case RtfTokenKind::HexByte:
            OnByte(t.byte);
            break;
        case RtfTokenKind::Text:
            OnText(t.text);
            break;
        case RtfTokenKind::Binary:
            OnBinary(t.text);
            break;
        case RtfTokenKind::End:
            break;
        }
        if (started && groups_.size() == 1) break;  // the document group closed
    }
    result_.unterminated = groups_.size() > 1;
    while (groups_.size() > 1) OnGroupEnd();
    Flush();
    cursor_.endEditBlock();
    result_.ok = true;
    return result_;
}

void Reader::OnGroupStart() {
    Flush();
    skipRemaining_ = 0;
    if (static_cast<int>(groups_.size()) > options_.maxGroupDepth) {
        result_.depthExceeded = true;
        droppedDepth_ = 1;
        return;
    }
    Group g = State();
    g.ownsPicture = false;
    groups_.push_back(std::move(g));
}

void Reader::OnGroupEnd() {
    Flush();
    skipRemaining_ = 0;
    star_ = false;
    if (groups_.size() <= 1) return;
    if (groups_.size() == 2) ApplyBlockFormat();  // the last paragraph ends with the document
    Group closing = std::move(groups_.back());
    groups_.pop_back();
    if (closing.dest == Dest::FontTable) AddFontName();  // a name without ';' still counts
    if (closing.ownsPicture) PlacePicture(State().chr);
}

bool Reader::ConsumeSkip() {
    if (skipRemaining_ <= 0) return false;
    --skipRemaining_;
    return true;
}

void Reader::OnControlWord(const RtfToken& t) {
    const auto& table = WordTable();
    const auto it = table.find(t.name);
    const bool starred = star_;
    star_ = false;
    if (it == table.end()) {
        if (starred) State().dest = Dest::Skip;  // an unknown optional destination
        else ConsumeSkip();
        return;
    }
    const Word word = it->second;
    if (word != Word::Unicode && ConsumeSkip()) return;

    Group& g = State();
    if (g.dest == Dest::Skip) {
        if (word == Word::UnicodeOf && g.inUnicodePair) g.dest = Dest::Text;
        return;
    }
    if (g.dest == Dest::Picture) {
        switch (word) {
        case Word::PngBlip: picture_.format = PictureFormat::Png; break;
        case Word::JpegBlip: picture_.format = PictureFormat::Jpeg; break;
        case Word::EmfBlip: picture_.format = PictureFormat::Emf; break;
        case Word::WindowsMetafile: picture_.format = PictureFormat::Wmf; break;
        case Word::DeviceIndependentBitmap: picture_.format = PictureFormat::Dib; break;
        case Word::DeviceBitmap: picture_.format = PictureFormat::DeviceBitmap; break;
        case Word::PicWidth: picture_.width = t.param; break;
        case Word::PicHeight: picture_.height = t.param; break;
        case Word::PicGoalWidth: picture_.goalWidth = t.param; break;
        case Word::PicGoalHeight: picture_.goalHeight = t.param; break;
        case Word::PicScaleX: picture_.scaleX = t.param; break;
        case Word::PicScaleY: picture_.scaleY = t.param; break;
        case Word::BitsPerPixel: picture_.bitsPerPixel = t.param; break;
        case Word::WidthBytes: picture_.widthBytes = t.param; break;
        case Word::SkipDestination: g.dest = Dest::Skip; break;
        default: break;
        }
        return;
    }
    if (g.dest == Dest::FontTable) {
        switch (word) {
        case Word::Font:
            AddFontName();
            if (static_cast<int>(fonts_.size()) < kMaxFonts || fonts_.count(t.param)) {
                currentFontEntry_ = t.param;
                fonts_[t.param] = FontEntry{};
            } else {
                currentFontEntry_ = -1;
            }
            break;
        case Word::FontCharset:
            if (fonts_.count(currentFontEntry_)) fonts_[currentFontEntry_].charset = t.param;
            break;
        case Word::FontCodePage:
            if (fonts_.count(currentFontEntry_)) fonts_[currentFontEntry_].codePage = t.param;
            break;
        case Word::FamilyRoman: case Word::FamilySwiss: case Word::FamilyModern:
        case Word::FamilyScript: case Word::FamilyDecor: case Word::FamilyTech: {
            if (!fonts_.count(currentFontEntry_)) break;
            static const std::map<Word, QFont::StyleHint> hints = {
                {Word::FamilyRoman, QFont::Serif}, {Word::FamilySwiss, QFont::SansSerif},
                {Word::FamilyModern, QFont::Monospace}, {Word::FamilyScript, QFont::Cursive},
                {Word::FamilyDecor, QFont::Decorative}, {Word::FamilyTech, QFont::AnyStyle}};
            fonts_[currentFontEntry_].hint = hints.at(word);
            break;
        }
        case Word::SkipDestination: g.dest = Dest::Skip; break;
        case Word::UnicodePair: g.dest = Dest::Skip; g.inUnicodePair = true; break;
        default: break;
        }
        return;
    }
    if (g.dest == Dest::ColorTable) {
        switch (word) {
        case Word::Red: red_ = std::clamp(t.param, 0, 255); colorSet_ = true; break;
        case Word::Green: green_ = std::clamp(t.param, 0, 255); colorSet_ = true; break;
        case Word::Blue: blue_ = std::clamp(t.param, 0, 255); colorSet_ = true; break;
        default: break;
        }
        return;
    }
    if (g.dest == Dest::FieldInstruction) {
        if (word == Word::Unicode) {
            if (g.field >= 0) fields_[g.field].instruction += "?";
            skipRemaining_ = g.unicodeSkip;
        } else if (word == Word::Field) {
            g.dest = Dest::Skip;  // a field nested in an instruction adds nothing to it
        } else if (word == Word::SkipDestination) {
            g.dest = Dest::Skip;
        }
        return;
    }

    OnDestinationWord(word, t);
}

void Reader::OnDestinationWord(Word word, const RtfToken& t) {
    Group& g = State();
    switch (word) {
    case Word::Rtf: break;
    case Word::Ansi: documentCodePage_ = 1252; break;
    case Word::Mac: documentCodePage_ = 10000; break;
    case Word::Pc: documentCodePage_ = 437; break;
    case Word::Pca: documentCodePage_ = 850; break;
    case Word::AnsiCpg:
        if (t.param > 0 && IsValidCodePage(static_cast<UINT>(t.param)))
            documentCodePage_ = static_cast<UINT>(t.param);
        break;
    case Word::DefaultFont:
        defaultFont_ = t.param;
        g.chr.font = t.param;
        break;
    case Word::UnicodeSkip: g.unicodeSkip = std::clamp(t.param, 0, 16); break;
    case Word::Unicode: {
        if (!t.hasParam) break;
        const int unit = t.param < 0 ? t.param + 65536 : t.param;
        AppendUnit(static_cast<char16_t>(unit & 0xFFFF));
        skipRemaining_ = g.unicodeSkip;
        break;
    }
    case Word::FontTable: Flush(); g.dest = Dest::FontTable; currentFontEntry_ = -1; break;
    case Word::ColorTable:
        g.dest = Dest::ColorTable;
        colors_.clear();
        colorSet_ = false;
        red_ = green_ = blue_ = 0;
        break;
    case Word::Picture:
        Flush();
        g.dest = Dest::Picture;
        g.ownsPicture = true;
        picture_ = RtfPicture{};
        hexHigh_ = -1;
        break;
    case Word::Field:
        g.field = static_cast<int>(fields_.size());
        fields_.push_back({});
        break;
    case Word::FieldInst: g.dest = Dest::FieldInstruction; break;
    case Word::FieldResult:
        if (g.field >= 0) {
            const QString target =
                HyperlinkTarget(QString::fromStdU16String(DecodeCodePage(documentCodePage_,
                                                                         fields_[g.field].instruction)));
            if (!target.isEmpty()) {
                g.chr.link = static_cast<int>(links_.size());
                links_.push_back(target);
            }
        }
        break;
    case Word::Object: case Word::ObjectResult: case Word::ShapePicture: break;
    case Word::UnicodePair: g.dest = Dest::Skip; g.inUnicodePair = true; break;
    case Word::UnicodeOf: break;
    case Word::ObjectPlaceholder:
        Flush();
        result_.objectPlaceholders.push_back(cursor_.position());
        break;
    case Word::SkipDestination: g.dest = Dest::Skip; break;
    default:
        OnCharacterWord(word, t);
        break;
    }
}

void Reader::OnCharacterWord(Word word, const RtfToken& t) {
    Flush();
    CharState& c = State().chr;
    const bool on = !t.hasParam || t.param != 0;
    switch (word) {
    case Word::Plain: {
        const int link = c.link;
        c = CharState{};
        c.font = defaultFont_;
        c.link = link;
        break;
    }
    case Word::Font: c.font = t.param; break;
    case Word::Bold: c.bold = on; break;
    case Word::Italic: c.italic = on; break;
    case Word::Strike: case Word::StrikeDouble: c.strike = on; break;
    case Word::Hidden: c.hidden = on; break;
    case Word::Caps: c.caps = on; break;
    case Word::SmallCaps: c.smallCaps = on; break;
    case Word::FontSize: c.halfPoints = t.hasParam ? std::clamp(t.param, 2, 3276) : 24; break;
    case Word::Underline: c.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline; break;
    case Word::UnderlineNone: c.underline = QTextCharFormat::NoUnderline; break;
    case Word::UnderlineDotted: c.underline = QTextCharFormat::DotLine; break;
    case Word::UnderlineDash: c.underline = QTextCharFormat::DashUnderline; break;
    case Word::UnderlineDashDot: c.underline = QTextCharFormat::DashDotLine; break;
    case Word::UnderlineDashDotDot: c.underline = QTextCharFormat::DashDotDotLine; break;
    case Word::UnderlineWave: c.underline = QTextCharFormat::WaveUnderline; break;
    case Word::UnderlineSingleLike: c.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline; break;
    case Word::Foreground: c.foreground = std::max(0, t.param); break;
    case Word::Background: c.background = std::max(0, t.param); break;
    case Word::Highlight: c.highlight = std::max(0, t.param); break;
    case Word::Super: c.vertical = 1; break;
    case Word::Sub: c.vertical = -1; break;
    case Word::NoSuperSub: c.vertical = 0; break;
    case Word::Up: c.vertical = t.param > 0 ? 1 : 0; break;
    case Word::Down: c.vertical = t.param > 0 ? -1 : 0; break;
    default:
        OnParagraphWord(word, t);
        break;
    }
}

void Reader::OnParagraphWord(Word word, const RtfToken& t) {
    ParaState& p = State().para;
    const int v = ClampTwips(t.param);
    switch (word) {
    case Word::Pard: p = ParaState{}; break;
    case Word::AlignLeft: p.align = Qt::AlignLeft; break;
    case Word::AlignRight: p.align = Qt::AlignRight; break;
    case Word::AlignCenter: p.align = Qt::AlignHCenter; break;
    case Word::AlignJustify: p.align = Qt::AlignJustify; break;
    case Word::LeftIndent: p.leftIndent = v; break;
    case Word::RightIndent: p.rightIndent = v; break;
    case Word::FirstIndent: p.firstIndent = v; break;
    case Word::SpaceBefore: p.spaceBefore = std::max(0, v); break;
    case Word::SpaceAfter: p.spaceAfter = std::max(0, v); break;
    case Word::LineSpacing: p.lineSpacing = v; break;
    case Word::LineMultiple: p.lineMultiple = t.param != 0; break;
    case Word::TabRight: p.nextTabType = QTextOption::RightTab; break;
    case Word::TabCenter: p.nextTabType = QTextOption::CenterTab; break;
    case Word::TabDecimal: p.nextTabType = QTextOption::DelimiterTab; break;
    case Word::TabStop: case Word::TabBar:
        if (static_cast<int>(p.tabs.size()) < kMaxTabs && v > 0) {
            QTextOption::Tab tab(v / kTwipsPerPixel, p.nextTabType);
            if (p.nextTabType == QTextOption::DelimiterTab) tab.delimiter = u'.';
            p.tabs.push_back(tab);
        }
        p.nextTabType = QTextOption::LeftTab;
        break;
    case Word::InTable: p.tableLevel = std::max(p.tableLevel, 1); break;
    case Word::TableLevel: p.tableLevel = std::clamp(t.param, 0, 64); break;
    case Word::RtlPar: p.rightToLeft = true; break;
    case Word::PageBreakBefore: p.pageBreakBefore = t.param != 0 || !t.hasParam; break;
    case Word::LtrPar: p.rightToLeft = false; break;
    case Word::Par: case Word::Sect: EndParagraph(); break;
    case Word::Line: AppendUnit(u'\x2028'); break;
    case Word::Tab: AppendUnit(u'\t'); break;
    case Word::Page:
        if (blockHasContent_) EndParagraph();
        pageBreakPending_ = true;
        break;
    case Word::Cell: EndCell(); break;
    case Word::NestCell: AppendUnit(u'\t'); break;
    case Word::Row: EndRow(); break;
    case Word::NestRow: EndParagraph(); break;
    case Word::RowDefaults:
        cellEdges_.clear();
        rowBorders_ = false;
        rowLeft_ = 0;
        break;
    case Word::CellEdge:
        if (static_cast<int>(cellEdges_.size()) < RtfReader::kMaxColumns) cellEdges_.push_back(v);
        break;
    case Word::BorderWord: rowBorders_ = true; break;
    case Word::EmDash: AppendUnit(u'\x2014'); break;
    case Word::EnDash: AppendUnit(u'\x2013'); break;
    case Word::Bullet: AppendUnit(u'\x2022'); break;
    case Word::LQuote: AppendUnit(u'\x2018'); break;
    case Word::RQuote: AppendUnit(u'\x2019'); break;
    case Word::LDblQuote: AppendUnit(u'\x201C'); break;
    case Word::RDblQuote: AppendUnit(u'\x201D'); break;
    case Word::EmSpace: AppendUnit(u'\x2003'); break;
    case Word::EnSpace: AppendUnit(u'\x2002'); break;
    case Word::QmSpace: AppendUnit(u'\x2005'); break;
    case Word::Zwj: AppendUnit(u'\x200D'); break;
    case Word::Zwnj: AppendUnit(u'\x200C'); break;
    case Word::LtrMark: AppendUnit(u'\x200E'); break;
    case Word::RtlMark: AppendUnit(u'\x200F'); break;
    default: break;
    }
}

void Reader::OnControlSymbol(char symbol) {
    if (symbol == '*') {
        star_ = true;
        return;
    }
    if (ConsumeSkip()) return;
    const Group& g = State();
    if (g.dest != Dest::Text) return;
    switch (symbol) {
    case '~': AppendUnit(u'\x00A0'); break;
    case '-': AppendUnit(u'\x00AD'); break;
    case '_': AppendUnit(u'\x2011'); break;
    case '\t': AppendUnit(u'\t'); break;
    default: break;
    }
}

void Reader::OnText(std::string_view text) {
    while (!text.empty() && skipRemaining_ > 0) {
        text.remove_prefix(1);
        --skipRemaining_;
    }
    if (text.empty()) return;
    Group& g = State();
    switch (g.dest) {
    case Dest::Text:
        for (char c : text) OnByte(static_cast<std::uint8_t>(c));
        break;
    case Dest::FontTable:
        for (char c : text) {
            if (c == ';') AddFontName();
            else if (fonts_.count(currentFontEntry_)) fonts_[currentFontEntry_].nameBytes.push_back(c);
        }
        break;
    case Dest::ColorTable:
        for (char c : text) {
            if (c != ';') continue;
            if (static_cast<int>(colors_.size()) < kMaxColors)
                colors_.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
            colorSet_ = false;
            red_ = green_ = blue_ = 0;
        }
        break;
    case Dest::Picture:
        for (char c : text) {
            const int v = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
            if (v < 0) continue;
            if (hexHigh_ < 0) {
                hexHigh_ = v;
            } else {
                picture_.data.push_back(static_cast<char>(hexHigh_ * 16 + v));
                hexHigh_ = -1;
            }
        }
        break;
    case Dest::FieldInstruction:
        if (g.field >= 0) fields_[g.field].instruction.append(text);
        break;
    case Dest::Skip:
        break;
    }
}

void Reader::OnByte(std::uint8_t byte) {
    Group& g = State();
    if (g.dest == Dest::FieldInstruction) {
        if (ConsumeSkip()) return;
        if (g.field >= 0) fields_[g.field].instruction.push_back(static_cast<char>(byte));
        return;
    }
    if (g.dest == Dest::FontTable) {
        if (ConsumeSkip()) return;
        if (fonts_.count(currentFontEntry_))
            fonts_[currentFontEntry_].nameBytes.push_back(static_cast<char>(byte));
        return;
    }
    if (g.dest != Dest::Text) return;
    if (ConsumeSkip()) return;
    if (g.chr.hidden) return;
    if (byte < 0x20 && byte != '\t') return;
    const UINT cp = CurrentCodePage();
    if (!pendingBytes_.empty() && cp != pendingCodePage_) DecodePendingBytes();
    if (pendingText_.isEmpty() && pendingBytes_.empty()) pendingFormat_ = g.chr;
    pendingCodePage_ = cp;
    pendingBytes_.push_back(static_cast<char>(byte));
}

void Reader::OnBinary(std::string_view data) {
    if (ConsumeSkip()) return;
    if (State().dest == Dest::Picture) picture_.data.append(data);
}

UINT Reader::CurrentCodePage() const {
    const int font = groups_.back().chr.font;
    const auto it = fonts_.find(font);
    if (it == fonts_.end()) return documentCodePage_;
    if (it->second.codePage > 0 && IsValidCodePage(static_cast<UINT>(it->second.codePage)))
        return static_cast<UINT>(it->second.codePage);
    return CodePageOfCharset(it->second.charset, documentCodePage_);
}

void Reader::AppendUnit(char16_t unit) {
    const Group& g = State();
    if (g.dest != Dest::Text || g.chr.hidden) return;
    DecodePendingBytes();
    if (pendingText_.isEmpty()) pendingFormat_ = g.chr;
    pendingText_.append(QChar(unit));
}

void Reader::DecodePendingBytes() {
    if (pendingBytes_.empty()) return;
    pendingText_.append(QString::fromStdU16String(DecodeCodePage(pendingCodePage_, pendingBytes_)));
    pendingBytes_.clear();
}

void Reader::Flush() {
    DecodePendingBytes();
    if (pendingText_.isEmpty()) return;
    EnterTableCell();
    // Line and paragraph separators inside text become what the document expects.
    for (QChar& ch : pendingText_)
        if (ch == QChar::ParagraphSeparator || (ch.unicode() < 0x20 && ch != u'\t')) ch = u' ';
    cursor_.insertText(pendingText_, CharFormat(pendingFormat_));
    pendingText_.clear();
    blockHasContent_ = true;
}

QTextCharFormat Reader::CharFormat(const CharState& s) const {
    QTextCharFormat f;
    const auto font = fonts_.find(s.font);
    if (font != fonts_.end() && !font->second.name.isEmpty()) {
        f.setFontFamilies(QStringList{font->second.name});
        if (font->second.hint != QFont::AnyStyle) f.setFontStyleHint(font->second.hint);
    }
    f.setFontPointSize(s.halfPoints / 2.0);
    if (s.bold) f.setFontWeight(QFont::Bold);
    if (s.italic) f.setFontItalic(true);
    if (s.strike) f.setFontStrikeOut(true);
    if (s.underline != QTextCharFormat::NoUnderline) f.setUnderlineStyle(s.underline);
    if (s.caps) f.setFontCapitalization(QFont::AllUppercase);
    else if (s.smallCaps) f.setFontCapitalization(QFont::SmallCaps);
    const auto color = [this](int index) -> QColor {
        return index > 0 && index < static_cast<int>(colors_.size()) ? colors_[index] : QColor();
    };
    if (const QColor fg = color(s.foreground); fg.isValid()) f.setForeground(fg);
    if (const QColor hl = color(s.highlight); hl.isValid()) f.setBackground(hl);
    else if (const QColor bg = color(s.background); bg.isValid()) f.setBackground(bg);
    if (s.vertical > 0) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.vertical < 0) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.link >= 0 && s.link < static_cast<int>(links_.size())) {
        f.setAnchor(true);
        f.setAnchorHref(links_[s.link]);
    }
    return f;
}

QTextBlockFormat Reader::BlockFormat(const ParaState& p) const {
    QTextBlockFormat b;
    b.setAlignment(p.align);
    b.setLeftMargin(p.leftIndent / kTwipsPerPixel);
    b.setRightMargin(p.rightIndent / kTwipsPerPixel);
    b.setTextIndent(p.firstIndent / kTwipsPerPixel);
    b.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    b.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0)
            b.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            b.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else
            b.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    if (!p.tabs.empty()) b.setTabPositions(QList<QTextOption::Tab>(p.tabs.begin(), p.tabs.end()));
    if (p.rightToLeft) b.setLayoutDirection(Qt::RightToLeft);
    if (pageBreakPending_ || p.pageBreakBefore) b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return b;
}

void Reader::ApplyBlockFormat() {
    cursor_.setBlockFormat(BlockFormat(State().para));
}

void Reader::EndParagraph() {
    Flush();
    if (State().dest != Dest::Text) return;
    EnterTableCell();
    ApplyBlockFormat();
    pageBreakPending_ = false;
    cursor_.insertBlock(QTextBlockFormat(), CharFormat(State().chr));
    blockHasContent_ = false;
}

// Moves the cursor to where table text goes: a new table, the next row, the next cell, or out
// of the table when the paragraph is not in one.
void Reader::EnterTableCell() {
    const bool inTable = State().para.tableLevel > 0;
    if (!inTable) {
        if (table_) LeaveTable();
        return;
    }
    if (!table_) {
        // A table follows the paragraph before it directly; the empty paragraph that the
        // last \par opened would otherwise show as a blank line.
        if (cursor_.block().length() == 1 && cursor_.block().previous().isValid() &&
            cursor_.atBlockStart() && !cursor_.currentTable())
            cursor_.deletePreviousChar();
        QTextTableFormat format;
        format.setBorder(rowBorders_ ? 1 : 0);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(0x80, 0x80, 0x80));
        format.setCellSpacing(0);
        format.setCellPadding(3);
        format.setAlignment(Qt::AlignLeft);
        table_ = cursor_.insertTable(1, 1, format);
        row_ = column_ = 0;
        rowPending_ = cellPending_ = false;
        blockHasContent_ = false;
        return;
    }
    if (rowPending_) {
        table_->appendRows(1);
        ++row_;
        column_ = 0;
        rowPending_ = cellPending_ = false;
        cursor_ = table_->cellAt(row_, 0).firstCursorPosition();
        blockHasContent_ = false;
    }
    if (cellPending_) {
        cellPending_ = false;
        if (column_ + 1 >= table_->columns()) {
            if (table_->columns() >= RtfReader::kMaxColumns) {
                cursor_.insertText(QStringLiteral("\t"));  // past the last column: run on
                return;
            }
            table_->appendColumns(1);
        }
        ++column_;
        cursor_ = table_->cellAt(row_, column_).firstCursorPosition();
        blockHasContent_ = false;
    }
}

void Reader::LeaveTable() {
    const int after = table_->lastPosition() + 1;
    table_ = nullptr;
    rowPending_ = cellPending_ = false;
    cursor_.setPosition(std::min(after, cursor_.document()->characterCount() - 1));
    blockHasContent_ = !cursor_.block().text().isEmpty();
}

void Reader::EndCell() {
    Flush();
    if (State().dest != Dest::Text) return;
    if (State().para.tableLevel == 0) {  // a cell mark outside a table paragraph separates text
        AppendUnit(u'\t');
        return;
    }
    EnterTableCell();
    ApplyBlockFormat();
    cellPending_ = true;
}

void Reader::EndRow() {
    Flush();
    if (!table_ || State().dest != Dest::Text) return;
    // Column widths from the row's cell edges, when they describe every column.
    if (!cellEdges_.empty() && static_cast<int>(cellEdges_.size()) == table_->columns()) {
        QList<QTextLength> widths;
        int left = rowLeft_;
        for (int edge : cellEdges_) {
            widths.push_back(QTextLength(QTextLength::FixedLength, std::max(edge - left, 15) / kTwipsPerPixel));
            left = edge;
        }
        QTextTableFormat format = table_->format();
        format.setColumnWidthConstraints(widths);
        if (rowBorders_) format.setBorder(1);
        table_->setFormat(format);
    }
    rowPending_ = true;
    cellPending_ = false;
}

void Reader::AddFontName() {
    const auto it = fonts_.find(currentFontEntry_);
    if (it == fonts_.end() || it->second.nameBytes.empty()) return;
    FontEntry& f = it->second;
    const UINT cp = f.codePage > 0 && IsValidCodePage(static_cast<UINT>(f.codePage))
                        ? static_cast<UINT>(f.codePage)
                        : CodePageOfCharset(f.charset, documentCodePage_);
    f.name = QString::fromStdU16String(DecodeCodePage(cp == CP_SYMBOL ? 1252 : cp, f.nameBytes)).trimmed();
    f.nameBytes.clear();
}

void Reader::PlacePicture(const CharState& where) {
    if (State().dest != Dest::Text || where.hidden) {
        picture_ = RtfPicture{};
        return;
    }
    const bool metafile =
        picture_.format == PictureFormat::Emf || picture_.format == PictureFormat::Wmf;
    QImage image = metafile && !options_.decodeMetafiles ? QImage() : RtfPictureDecoder::Decode(picture_);
    const QSize size = RtfPictureDecoder::DisplaySize(picture_, image.size());
    ++result_.pictures;
    if (image.isNull()) {
        ++result_.unreadablePictures;
        image = RtfPictureDecoder::PlaceholderBox(size);
    }
    EnterTableCell();
    QTextDocument* doc = cursor_.document();
    static unsigned pictureSerial = 0;  // resource names stay unique across reads into one document
    const QString name = QStringLiteral("rtfpict:%1").arg(++pictureSerial);
    doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(CharFormat(where));
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    cursor_.insertImage(format);
    blockHasContent_ = true;
    picture_ = RtfPicture{};
}

}  // namespace

bool RtfReader::LooksLikeRtf(std::string_view text, bool allowLeadingBlanks) {
    if (allowLeadingBlanks)
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    const auto startsWith = [&](std::string_view sig) {
        if (text.size() < sig.size()) return false;
        for (std::size_t i = 0; i < sig.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text[i])) != sig[i]) return false;
        return true;
    };
    return startsWith("{\\rtf") || startsWith("{\\urtf");
}

RtfReadResult RtfReader::Read(std::string_view rtf, QTextCursor& cursor, const RtfReadOptions& options) {
    if (!LooksLikeRtf(rtf) || cursor.isNull()) return {};
    Reader reader(cursor, options);
    return reader.Run(rtf);
}

}  // namespace richtext
