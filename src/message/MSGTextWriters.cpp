#include "message/MSGTextWriters.h"

#include <cstdio>
#include <functional>
#include <string>

#include "message/MSGHtmlBody.h"
#include "output/IRenderer.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/WinString.h"

namespace {

// Lines joined with CR LF, written aside and renamed into place.
bool WriteTextFile(const WideString& path, const std::string& text)
{
    return WriteFileAtomically(path, text);
}

class Lines {
public:
    void Add(const std::string& line) { text_ += line + "\r\n"; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

std::string Hex8(std::uint32_t tag)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", tag);
    return buf;
}

std::string U8(const WideString& text) { return Utf16ToUtf8(text); }

std::string HtmlEscape(const WideString& text) { return U8(EscapeHtmlText(text)); }

void HtmlRows(Lines& lines, const TMSGProperties& items, int depth)
{
    const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    for (const auto& item : items) {
        lines.Add(indent + "<tr>");
        lines.Add(indent + "  <td>" + CategoryName(item->GetCategory()) + "</td>");
        lines.Add(indent + "  <td>0x" + Hex8(item->TagID) + "</td>");
        lines.Add(indent + "  <td>" + HtmlEscape(item->GetAsString()) + "</td>");
        lines.Add(indent + "</tr>");
        if (item->SubProperties().Empty()) continue;
        lines.Add(indent + "<tr>");
        lines.Add(indent + "  <td>");
        lines.Add(indent + "    <table border=\"1\">");
        HtmlRows(lines, item->SubProperties(), depth + 1);
        lines.Add(indent + "    </table>");
        lines.Add(indent + "  </td>");
        lines.Add(indent + "</tr>");
    }
}

// A CDATA section that survives a "]]>" inside the text.
std::string CData(const std::string& text)
{
    std::string out = "<![CDATA[";
    std::size_t from = 0;
    for (std::size_t at = text.find("]]>"); at != std::string::npos; at = text.find("]]>", from)) {
        out += text.substr(from, at - from) + "]]]]><![CDATA[>";
        from = at + 3;
    }
    return out + text.substr(from) + "]]>";
}

void XmlProperties(Lines& lines, const TMSGProperties& items, int depth)
{
    const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    for (const auto& item : items) {
        lines.Add(indent + "<PROPERTY TAGID=\"0x" + Hex8(item->TagID) + "\">");
        lines.Add(indent + "<CATEGORY>" + CategoryName(item->GetCategory()) + "</CATEGORY>");
        lines.Add(indent + "<VALUE>" + CData(U8(item->GetAsString())) + "</VALUE>");
        lines.Add(indent + "</PROPERTY>");
        if (item->SubProperties().Empty()) continue;
        lines.Add(indent + "<SUBPROPERTIES>");
        XmlProperties(lines, item->SubProperties(), depth + 1);
        lines.Add(indent + "</SUBPROPERTIES>");
    }
}

}  // namespace

AnsiString EMailFormatDate(TDateTime date)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // To the millisecond, the resolution of a date-time.
    const std::uint64_t ticks = FileTimeOfDays(date);
    const FILETIME local = TicksToFileTime((ticks + 5000) / 10000 * 10000);
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&local, &st)) return {};
    // The offset of the zone at that local time: UTC = local + bias.
    FILETIME utc{};
    std::string zone = "GMT";
    if (LocalFileTimeToFileTime(&local, &utc)) {
        const long long bias = (static_cast<long long>(FileTimeToTicks(utc)) - static_cast<long long>(FileTimeToTicks(local))) /
                               600000000LL;
        if (bias != 0) {
            const long long a = bias < 0 ? -bias : bias;
            char buf[16];
            std::snprintf(buf, sizeof buf, "%c%02lld%02lld", bias < 0 ? '+' : '-', a / 60, a % 60);
            zone = buf;
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %u %s %u %02u:%02u:%02u %s", kDays[st.wDayOfWeek % 7], st.wDay,
                  kMonths[(st.wMonth + 11) % 12], st.wYear, st.wHour, st.wMinute, st.wSecond, zone.c_str());
    return buf;
}

AnsiString XmlEscape(const AnsiString& text)
{
    AnsiString out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '"': out += "&quot;"; break;
            case '&': out += "&amp;"; break;
            case '\'': out += "&apos;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

bool SaveToEMLFile(const TMessage& message, const WideString& path)
{
    Lines lines;
    const WideString header = message.GetTransportHeader();
    if (!header.empty()) {
        lines.Add(U8(header));
    } else {
        const TMSGProperties& root = message.GetProperties();
        lines.Add("From: " + U8(message.GetSenderName()));
        lines.Add("To: " + U8(message.GetRecipientName()));
        lines.Add("Subject: " + U8(message.GetSubject()));
        // The model's date is UTC; the line shows it in local time with the local offset.
        const DateTime utc = message.GetMessageDate();
        const FILETIME utcTime = TicksToFileTime(FileTimeOfDays(utc.days));
        FILETIME localTime{};
        AnsiString dateText;
        if (utc.days != 0 && FileTimeToLocalFileTime(&utcTime, &localTime))
            dateText = EMailFormatDate(DateTimeFromFileTime(FileTimeToTicks(localTime)).days);
        lines.Add("Date: " + dateText);
        lines.Add("Message-ID: " + U8(message.GetMessageID()));
        lines.Add("MIME-Version: 1.0");
        lines.Add("Content-Type: text/plain;\r\n              charset=\"UTF-8\"");
        lines.Add("Content-Transfer-Encoding: 8bit");
        lines.Add("X-Mailer: Tarnwick");
        lines.Add("X-Authentication-Warning: " + U8(root.GetPropertyAsString(0x8003001F, false, false)));
        lines.Add("");
    }
    const WideString body = message.GetBody();
    if (!body.empty()) lines.Add(U8(body));
    return WriteTextFile(path, lines.Text());
}

bool SaveToTextFile(const TMessage& message, const WideString& path, bool withProperties)
{
    Lines lines;
    lines.Add("Tarnwick");
    lines.Add("");
    lines.Add("From: " + U8(message.GetSenderName()));
    lines.Add("To: " + U8(message.GetRecipientName()));
    lines.Add("Subject: " + U8(message.GetSubject()));
    lines.Add("Body: " + U8(message.GetBody()));
    lines.Add("Properties:");
    lines.Add("");
    if (withProperties) {
        lines.Add("Category\tTagID\tValue");
        std::function<void(const TMSGProperties&, int)> walk = [&](const TMSGProperties& items, int depth) {
            for (const auto& item : items) {
                lines.Add(std::string(static_cast<std::size_t>(2 * depth), ' ') + CategoryName(item->GetCategory()) +
                          "\t0x" + Hex8(item->TagID) + "\t\"" + U8(item->GetAsString()) + "\"");
                walk(item->SubProperties(), depth + 1);
            }
        };
        walk(message.GetProperties(), 0);
    }
    return WriteTextFile(path, lines.Text());
}

bool SaveToHTMLFile(const TMessage& message, const WideString& path, bool withProperties)
{
    const std::string block = "<p><b>From:</b> " + HtmlEscape(message.GetSenderName()) + "</p>\r\n" +
                              "<p><b>To:</b> " + HtmlEscape(message.GetRecipientName()) + "</p>\r\n" +
                              "<p><b>Subject:</b> " + HtmlEscape(message.GetSubject()) + "</p>\r\n" +
                              "<p><b>Body:</b><br> ";
    const WideString html = MSGHtmlBodyText(message.GetProperties());
    Lines lines;
    if (!withProperties && !html.empty()) {
        std::string body = U8(html);
        std::string lower = body;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find("charset=") == std::string::npos) {
            lines.Add("<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><body>" + block +
                      body + "</body></html>");
        } else {
            // The body is written as UTF-8, so its own declaration has to say so.
            const AnsiString declared = HtmlDeclaredCharset(body);
            if (!declared.empty()) {
                const std::size_t at = body.find(declared, lower.find("charset="));
                if (at != std::string::npos) body.replace(at, declared.size(), "utf-8");
                lower = body;
                for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            const std::size_t tag = lower.find("<body");
            const std::size_t close = tag == std::string::npos ? std::string::npos : lower.find('>', tag + 1);
            if (close != std::string::npos && close + 1 < lower.size()) body.insert(close + 1, block);
            lines.Add(body);
        }
        return WriteTextFile(path, lines.Text());
    }
    lines.Add("<html>");
    lines.Add("<head>");
    lines.Add("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    lines.Add("<meta name=\"GENERATOR\" content=\"Tarnwick\">");
    lines.Add("<title>Tarnwick</title>");
    lines.Add("</head>");
    lines.Add("");
    lines.Add("<body>");
    lines.Add("");
    lines.Add(block + HtmlEscape(message.GetBody()) + "</p>");
    if (withProperties) {
        lines.Add("<p><b>Properties:</b></p>");
        lines.Add("<table border=\"1\">");
        lines.Add("  <tr>");
        lines.Add("    <td>Category</td><td>TagID</td><td>Value</td>");
        lines.Add("  </tr>");
        HtmlRows(lines, message.GetProperties(), 1);
        lines.Add("</table>");
    }
    lines.Add("");
    lines.Add("<p>Tarnwick</p>");
    lines.Add("</body>");
    lines.Add("</html>");
    return WriteTextFile(path, lines.Text());
}

bool SaveToXMLFile(const TMessage& message, const WideString& path, bool withProperties)
{
    Lines lines;
    lines.Add("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>");
    lines.Add("<!-- Tarnwick -->");
    lines.Add("<DATAPACKET Version=\"2.0\">");
    lines.Add("<MESSAGE>");
    lines.Add("<GENERAL>");
    lines.Add("  <FROM>" + XmlEscape(U8(message.GetSenderName())) + "</FROM>");
    lines.Add("  <TO>" + XmlEscape(U8(message.GetRecipientName())) + "</TO>");
    lines.Add("  <SUBJECT>" + XmlEscape(U8(message.GetSubject())) + "</SUBJECT>");
    lines.Add("  <BODY>" + XmlEscape(U8(message.GetBody())) + "</BODY>");
    lines.Add("</GENERAL>");
    if (withProperties) {
        lines.Add("<PROPERTIES>");
        XmlProperties(lines, message.GetProperties(), 1);
        lines.Add("</PROPERTIES>");
    }
    lines.Add("</MESSAGE></DATAPACKET>");
    return WriteTextFile(path, lines.Text());
}
