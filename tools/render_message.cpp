// render_message FILE out.pdf: renders a message file (.msg or .eml, a message saved from a
// store included) to a PDF the way printing and export do: header block, then the body, paged.
// Exit status 0 when the PDF was written, 1 when the message could not be rendered, 2 on usage.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "output/HDCAdapter.h"
#include "output/MessageRender.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

// Font configuration keeps its caches until the process ends; in a sanitizer build the leak
// checker is told so.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_message FILE out.pdf\n");
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR));

    const WideString path = Utf8ToUtf16(argv[1]);
    std::unique_ptr<TMessageAttr> message;
    if (GetMessageFileType(path, true) == mftMSG) message = std::make_unique<MessageMSG>();
    else message = std::make_unique<MessageEML>();
    if (!message->LoadFromFile(path, false)) {
        std::fprintf(stderr, "%s: not a readable message\n", argv[1]);
        return 1;
    }

    std::shared_ptr<IPDFDocument4> pdf = CreatePdfDocument();
    pdf->put_Title(message->subject);
    pdf->put_Author(message->from);
    pdf->put_Subject(message->subject);
    pdf->put_Creator(u"Quillora");
    pdf->put_Producer(u"Quillora");
    pdf->Clear();
    const std::unique_ptr<IHTMLConverter> converter = CreateHtmlConverter();
    PDF_HDCAdapter device(pdf);
    MessageRender render;
    int status = 0;
    if (!render.RenderToDC(*message, device, *converter, 1)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], render.LastError().c_str());
        status = 1;
    } else if (FAILED(pdf->SaveToFile(Utf8ToUtf16(argv[2])))) {
        std::fprintf(stderr, "%s: %s\n", argv[2], pdf->LastError().c_str());
        status = 1;
    }
    // The pages the renderer wrote for the converter.
    std::error_code error;
    std::filesystem::remove_all(Utf16ToUtf8(CAppUtils::getAppTempFolder()), error);
    return status;
}
