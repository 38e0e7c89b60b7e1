#include "platform/outside/HtmlSource.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/mime/IdMessage.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The charset a page names for itself in its first bytes (<meta charset=...> or the
// http-equiv form), or empty.
std::string MetaCharset(const std::string& bytes) {
    const std::string head = Lower(bytes.substr(0, 4096));
    std::size_t at = 0;
    while ((at = head.find("charset", at)) != std::string::npos) {
        std::size_t p = at + 7;
        while (p < head.size() && (head[p] == ' ' || head[p] == '\t')) ++p;
        if (p < head.size() && head[p] == '=') {
            ++p;
            while (p < head.size() && (head[p] == ' ' || head[p] == '"' || head[p] == '\'')) ++p;
            std::size_t end = p;
            while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' || head[end] == '_' || head[end] == ':' || head[end] == '.'))
                ++end;
            if (end > p) return head.substr(p, end - p);
        }
        at += 7;
    }
    return {};
}

std::string DecodeText(const std::string& bytes, const std::string& charset) {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    if (bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
        const bool little = bytes[0] == '\xFF';
        std::u16string wide;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
            wide.push_back(static_cast<char16_t>(little ? (a | b << 8) : (a << 8 | b)));
        }
        return Utf16ToUtf8(wide);
    }
    std::string name = charset.empty() ? MetaCharset(bytes) : charset;
    if (!name.empty()) {
        const UINT cp = CodePageFromCharsetName(name);
        if (cp == 65001) return bytes;
        if (cp != 0) return Utf16ToUtf8(DecodeCodePage(cp, bytes));
    }
    if (IsValidUtf8(bytes)) return bytes;
    return Utf16ToUtf8(DecodeCodePage(1252, bytes));
}

// A MIME message starts with header fields; an HTML page with markup or text.
bool LooksLikeMessage(const std::string& bytes) {
    const std::size_t lineEnd = bytes.find('\n');
    const std::string first = bytes.substr(0, std::min<std::size_t>(lineEnd, 200));
    const std::size_t colon = first.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(first[i]);
        if (!(std::isalnum(c) || c == '-' || c == '_')) return false;
    }
    const std::string head = Lower(bytes.substr(0, std::min<std::size_t>(bytes.size(), 65536)));
    return head.find("content-type:") != std::string::npos || head.find("mime-version:") != std::string::npos ||
           head.find("\nfrom:") != std::string::npos || head.rfind("from:", 0) == 0;
}

std::string Unbracket(std::string id) {
    if (id.size() >= 2 && id.front() == '<' && id.back() == '>') id = id.substr(1, id.size() - 2);
    return Lower(id);
}

bool FromMessage(const std::string& bytes, const std::string& charset, THtmlSource& out, std::string& error) {
    TIdMessage message;
    try {
        message.LoadFromBytes(bytes, false);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    const TIdText* html = nullptr;
    const TIdText* plain = nullptr;
    const TIdMessageParts& parts = message.MessageParts();
    for (int i = 0; i < parts.Count(); ++i) {
        const TIdMessagePart& part = parts.Items(i);
        if (part.Kind() == TIdMessagePartKind::Text) {
            const auto& text = static_cast<const TIdText&>(part);
            if (!html && part.ContentType() == "text/html") html = &text;
            if (!plain && part.ContentType() == "text/plain") plain = &text;
            continue;
        }
        const auto& attachment = static_cast<const TIdAttachment&>(part);
        const std::string content = attachment.Content();
        const std::string id = Unbracket(part.ContentID());
        if (!id.empty()) out.parts[id] = content;
        const std::string location = part.Headers().Values("Content-Location");
        if (!location.empty()) out.parts[Lower(location)] = content;
    }
    if (html) {
        out.html = DecodeText(html->Body(), html->CharSet().empty() ? charset : html->CharSet());
    } else if (plain) {
        out.html = "<pre>" + EscapeHtml(DecodeText(plain->Body(), plain->CharSet().empty() ? charset : plain->CharSet())) + "</pre>";
    } else if (message.ContentType() == "text/html") {
        out.html = DecodeText(message.Body(), message.CharSet().empty() ? charset : message.CharSet());
    } else {
        out.html = "<pre>" + EscapeHtml(DecodeText(message.Body(), message.CharSet().empty() ? charset : message.CharSet())) + "</pre>";
    }
    return true;
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

bool HtmlSourceFromBytes(const std::string& bytes, const std::string& charset, THtmlSource& out, std::string& error) {
    out = THtmlSource();
    if (LooksLikeMessage(bytes)) return FromMessage(bytes, charset, out, error);
    out.html = DecodeText(bytes, charset);
    return true;
}

bool LoadHtmlSource(const std::string& path, const std::string& charset, THtmlSource& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!HtmlSourceFromBytes(bytes.str(), charset, out, error)) return false;
    const std::size_t slash = path.rfind('/');
    out.baseFolder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    return true;
}
