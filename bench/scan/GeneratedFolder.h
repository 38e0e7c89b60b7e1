// A generated folder of n messages for the benchmarks: half .eml, half .msg written by our
// compound-file writer, a tenth of them in a subfolder, plain-text bodies of 2-5 KB.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "message/MSGFile.h"
#include "message/MSGWriter.h"
#include "platform/win/WinString.h"

namespace benchfolder {

namespace fs = std::filesystem;

inline void Wide(TMSGProperties& c, std::uint32_t tag, const std::u16string& text)
{
    TMSGProperty& p = c.Add();
    p.TagID = tag;
    p.Value = text;
    p.DataSize = static_cast<std::int32_t>(text.size() * 2);
}

inline std::string Body(int i)
{
    std::string out;
    while (out.size() < 2000 + static_cast<size_t>(i % 7) * 500) out += "quarterly status review of the project ";
    return out;
}

inline void GenerateMessageFolder(const fs::path& folder, int n)
{
    fs::create_directories(folder / "sub");
    for (int i = 0; i < n; ++i) {
        const fs::path dir = i % 10 == 0 ? folder / "sub" : folder;
        char name[32];
        if (i % 2 == 0) {
            std::snprintf(name, sizeof name, "m%05d.eml", i);
            std::ofstream(dir / name, std::ios::binary)
                << "From: Sender " << i << " <s" << i << "@example.com>\r\nTo: Bob <bob@example.com>\r\n"
                << "Subject: Message " << i << "\r\nDate: Tue, 15 Nov 2022 08:12:31 +0000\r\nMIME-Version: 1.0\r\n"
                << "Content-Type: text/plain; charset=utf-8\r\n\r\n" << Body(i) << "\r\n";
        } else {
            std::snprintf(name, sizeof name, "m%05d.msg", i);
            TMSGFile m;
            TMSGProperties& root = m.GetProperties();
            Wide(root, 0x0037001F, u"Message " + Utf8ToUtf16(std::to_string(i)));
            Wide(root, 0x0042001F, u"Sender");
            Wide(root, 0x0E04001F, u"Bob");
            Wide(root, 0x1000001F, Utf8ToUtf16(Body(i)));
            SaveToMsgFile(m, Utf8ToUtf16((dir / name).string()), true);
        }
    }
}

}  // namespace benchfolder

using benchfolder::GenerateMessageFolder;
