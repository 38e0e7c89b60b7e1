// The rich edit over the engine in a Qt text view, offscreen: RTF detection, the selection and
// line messages on a known document (through the view), find, the event mask, text set the
// program's way, the clipboard, the OLE interface, and EM_FORMATRANGE drawing pages into a PDF.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <QBuffer>
#include <QImage>
#include <QTextBrowser>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/vcl/richedit/RichEdit.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

// Three lines: "Hello bold world", "Second line", "Third".
const char16_t* const kRtf =
    u"{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
    u"\\f0\\fs24 Hello {\\b bold} world\\par {\\cf1\\i Second} line\\par Third}";

class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form = new TForm(Application);
        form->SetBounds(20, 20, 420, 260);
        edit = new TRichEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 380, 200);
        form->Show();
    }
    void TearDown() override { delete form; }
    LRESULT Send(UINT msg, WPARAM w, LPARAM l) { return SendMessageW(edit->Handle(), msg, w, l); }
    QTextBrowser* View() const {
        return dynamic_cast<QWidget*>(edit->Peer())->findChild<QTextBrowser*>();
    }

    TForm* form = nullptr;
    TRichEdit* edit = nullptr;
};

TEST_F(RichEditTest, RtfIsDetectedAndShownInTheView) {
    edit->SetTextAuto(kRtf);
    EXPECT_EQ(edit->Document().Text(), u"Hello bold world\rSecond line\rThird");
    EXPECT_EQ(edit->Text(), u"Hello bold world\r\nSecond line\r\nThird");
    EXPECT_EQ(Send(WM_GETTEXTLENGTH, 0, 0), 36);  // CR LF line ends, as WM_GETTEXT gives them
    ASSERT_EQ(edit->Lines()->Count(), 3);
    EXPECT_EQ(edit->Lines()->Get(1), "Second line");
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(View()->toPlainText(), QStringLiteral("Hello bold world\nSecond line\nThird"));
    // Text without the signature stays text.
    edit->SetTextAuto(u"{not rtf}\r\nnext");
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->Lines()->Get(0), "{not rtf}");
}

TEST_F(RichEditTest, SelectionAndLineMessagesOnAKnownDocument) {
    edit->SetTextAuto(kRtf);
    CHARRANGE set{17, 23};  // "Second"
    EXPECT_EQ(Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&set)), 23);
    EXPECT_EQ(View()->textCursor().selectedText(), QStringLiteral("Second"));
    CHARRANGE got;
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.cpMin, 17);
    EXPECT_EQ(got.cpMax, 23);
    WideChar buffer[64];
    EXPECT_EQ(Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 6);
    EXPECT_EQ(WideString(buffer), u"Second");

    struct Case {
        LONG pos;
        LRESULT line;
    };
    for (const Case c : {Case{0, 0}, Case{16, 0}, Case{17, 1}, Case{28, 1}, Case{29, 2}, Case{34, 2}})
        EXPECT_EQ(Send(EM_EXLINEFROMCHAR, 0, c.pos), c.line) << c.pos;
    EXPECT_EQ(Send(EM_LINEINDEX, 1, 0), 17);
    EXPECT_EQ(Send(EM_LINEINDEX, 2, 0), 29);
    EXPECT_EQ(Send(EM_LINEINDEX, 3, 0), -1);
    EXPECT_EQ(Send(EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 17);  // the selection's line
    EXPECT_EQ(Send(EM_LINELENGTH, 17, 0), 11);
    EXPECT_EQ(Send(EM_LINELENGTH, 30, 0), 5);

    // The user selecting in the view: the control reads it back and says so.
    int selChanges = 0;
    edit->OnSelectionChange = [&](TObject*) { ++selChanges; };
    QTextCursor c = View()->textCursor();
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    View()->setTextCursor(c);
    Application->ProcessMessages();
    EXPECT_EQ(selChanges, 1);
    EXPECT_EQ(edit->SelText(), u"bold");
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 35);
}

TEST_F(RichEditTest, FindTextEx) {
    edit->SetTextAuto(kRtf);
    FINDTEXTEXW ft;
    ft.chrg = {0, -1};
    ft.lpstrText = u"line";
    EXPECT_EQ(Send(EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&ft)), 24);
    EXPECT_EQ(ft.chrgText.cpMin, 24);
    EXPECT_EQ(ft.chrgText.cpMax, 28);
    ft.lpstrText = u"BOLD";
    EXPECT_EQ(Send(EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&ft)), -1);
    EXPECT_EQ(Send(EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&ft)), 6);
    EXPECT_EQ(edit->FindText(u"Third", 0, 35, true, true), 29);
}

TEST_F(RichEditTest, SetTextExEventMaskAndEditStyle) {
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    const LRESULT mask = Send(EM_GETEVENTMASK, 0, 0);
    EXPECT_TRUE(mask & ENM_CHANGE);
    EXPECT_EQ(Send(EM_SETEVENTMASK, 0, 0), mask);
    SETTEXTEX st{ST_DEFAULT, 0};
    const std::string rtf = "{\\rtf1\\ansi Gr\\'fc\\'dfe \xC3\xA4\\par x}";
    EXPECT_EQ(Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(rtf.c_str())), 1);
    EXPECT_EQ(changes, 0);  // masked
    EXPECT_EQ(edit->Document().Text(), u"Grüße ä\rx");
    Send(EM_SETEVENTMASK, 0, mask);
    const std::string plain = "plain \xE2\x82\xAC";
    Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(plain.c_str()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->Text(), u"plain €");
    EXPECT_EQ(Send(EM_SETEDITSTYLE, SES_USEAIMM, SES_USEAIMM), static_cast<LRESULT>(SES_USEAIMM));
}

TEST_F(RichEditTest, CopyToClipboardAndOleInterface) {
    edit->SetTextAuto(kRtf);
    edit->SetSelStart(6);
    edit->SetSelLength(4);
    edit->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), u"bold");
    const auto rtf = Clipboard()->Buffer(CF_RTF());
    ASSERT_TRUE(rtf);
    EXPECT_EQ(rtf->rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf->find("\\b"), std::string::npos);

    IRichEditOle* ole = nullptr;
    ASSERT_TRUE(Send(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole)));
    ComPtr<IRichEditOle> held = ComPtr<IRichEditOle>::Adopt(ole);
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    CHARRANGE at{0, 0};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
    EXPECT_EQ(held->InsertPicture(png.constData(), static_cast<std::size_t>(png.size()), 0, 0), S_OK);
    EXPECT_EQ(held->GetObjectCount(), 1);
    EXPECT_EQ(held->InsertPicture("no picture", 10, 0, 0), E_INVALIDARG);
}

TEST_F(RichEditTest, FormatRangeDrawsPagesIntoAPdfDevice) {
    std::u16string rtf = u"{\\rtf1\\ansi\\fs24 ";
    for (int i = 0; i < 90; ++i) rtf += u"Paragraph " + Utf8ToUtf16(std::to_string(i)) + u" of the long document.\\par ";
    rtf += u"}";
    edit->SetTextAuto(rtf);
    TempDir dir;
    const auto pdf = dir / "pages.pdf";
    const WideString name = Utf8ToUtf16(pdf.string());
    HDC dc = CreatePdfDCW(name.c_str(), 210, 297, 150);
    ASSERT_NE(dc, nullptr);
    DOCINFOW info;
    info.lpszDocName = u"pages";
    ASSERT_GT(StartDocW(dc, &info), 0);
    const LONG length = edit->Document().TextLength();
    FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = dc;
    fr.rcPage = {0, 0, 11906, 16838};   // A4 in twips
    fr.rc = {1440, 1440, 10466, 15398};  // one-inch margins
    fr.chrg = {0, -1};
    int pages = 0;
    while (fr.chrg.cpMin < length && pages < 10) {
        StartPage(dc);
        const LONG next = static_cast<LONG>(Send(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
        EndPage(dc);
        ASSERT_GT(next, fr.chrg.cpMin);
        fr.chrg.cpMin = next;
        ++pages;
    }
    Send(EM_FORMATRANGE, FALSE, 0);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    EXPECT_EQ(pages, 2);
    std::ifstream in(pdf, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string s = bytes.str();
    EXPECT_EQ(s.rfind("%PDF-", 0), 0u);
    std::size_t pageObjects = 0;
    for (std::size_t at = s.find("/Type /Page"); at != std::string::npos; at = s.find("/Type /Page", at + 1))
        if (s.compare(at, 12, "/Type /Pages") != 0) ++pageObjects;
    EXPECT_EQ(pageObjects, 2u);
}

TEST_F(RichEditTest, ScreenshotOfFormattedRtf) {
    edit->SetScrollBars(ssVertical);
    edit->SetReadOnly(true);
    edit->SetTextAuto(
        u"{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
        u"{\\colortbl;\\red200\\green0\\blue0;\\red0\\green100\\blue0;}"
        u"\\f0\\fs32\\b Heading\\b0\\par\\fs22 Plain, {\\b bold}, {\\i italic}, {\\ul underlined}, "
        u"{\\cf1 red} and {\\cf2 green} text.\\par {\\f1 Monospaced line}\\par "
        u"{\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}{\\fldrslt example.org}}\\par}");
    const QImage shot = dynamic_cast<QWidget*>(edit->Peer())->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    shot.save(QStringLiteral("/tmp/h17dialogs_richedit.png"));
    // Some red pixels: the coloured run is drawn.
    bool red = false;
    for (int y = 0; y < shot.height() && !red; ++y)
        for (int x = 0; x < shot.width() && !red; ++x) {
            const QColor c = shot.pixelColor(x, y);
            red = c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(red);
    // The link is an anchor of the view (a click opens it in the desktop's browser).
    const QTextCursor link = View()->document()->find(QStringLiteral("example.org"));
    EXPECT_EQ(link.charFormat().anchorHref(), QStringLiteral("https://example.org"));
}

TEST_F(RichEditTest, ReadAndWrittenByFormFiles) {
    RegisterClass(TRichEdit::StaticClass());
    auto* read = new TRichEdit(form);
    read->SetParent(form);
    ReadComponentText("object Body: TRichEdit\n"
                      "  Left = 4\n  Top = 4\n  Width = 200\n  Height = 100\n"
                      "  Lines.Strings = (\n    'First line'\n    'Second line')\n"
                      "  ReadOnly = True\n  ScrollBars = ssVertical\n  WordWrap = False\n"
                      "end\n",
                      read);
    EXPECT_EQ(read->Document().Text(), u"First line\rSecond line");
    EXPECT_TRUE(read->ReadOnly());
    EXPECT_EQ(read->ScrollBars(), ssVertical);
    EXPECT_FALSE(read->WordWrap());
    auto* view = dynamic_cast<QWidget*>(read->Peer())->findChild<QTextBrowser*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(view->lineWrapMode(), QTextEdit::NoWrap);
    const std::string text = ComponentToText(read, nullptr);
    EXPECT_NE(text.find("Lines.Strings = (\n    'First line'\n    'Second line')"), std::string::npos) << text;
    EXPECT_NE(text.find("ScrollBars = ssVertical"), std::string::npos) << text;

    read->Lines()->Add("Third");
    read->Lines()->Delete(0);
    read->Lines()->Insert(0, "New first");
    EXPECT_EQ(read->Document().Text(), u"New first\rSecond line\rThird");
}

}  // namespace
