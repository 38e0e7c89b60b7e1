// Reads arbitrary bytes as RTF into a document, writes it back and reads that again, and lays
// the first page out: none of it may crash, leak or hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <QGuiApplication>

#include "platform/vcl/richtext/RichTextDocument.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    return 0;
}

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    richtext::RichTextDocument doc;
    if (!doc.LoadRtf(rtf)) return 0;
    (void)doc.PlainText();
    richtext::RichTextDocument again;
    again.LoadRtf(doc.SaveRtf());
    if (size < 16384) {
        richtext::RichTextFormatRange range;
        range.rc = {0, 0, 12240, 15840};
        range.chrg = {0, -1};
        (void)doc.FormatRange(&range, false);
    }
    return 0;
}
