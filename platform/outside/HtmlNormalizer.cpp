#include "platform/outside/HtmlNormalizer.h"

#include <algorithm>
#include <cctype>

#include "platform/outside/HtmlSource.h"

namespace {

bool StartsWithNoCase(const std::string& s, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i]; ++i) {
        if (at + i >= s.size()) return false;
        if (std::tolower(static_cast<unsigned char>(s[at + i])) != word[i]) return false;
    }
    return true;
}

std::size_t FindNoCase(const std::string& s, const char* word, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i)
        if (StartsWithNoCase(s, i, word)) return i;
    return std::string::npos;
}

// Removes "@page ... { ... }" rules, braces balanced.
std::string DropPageRules(std::string css) {
    std::size_t at;
    while ((at = FindNoCase(css, "@page", 0)) != std::string::npos) {
        std::size_t open = css.find('{', at);
        if (open == std::string::npos) {
            css.erase(at);
            break;
        }
        int depth = 0;
        std::size_t end = open;
        for (; end < css.size(); ++end) {
            if (css[end] == '{') ++depth;
            else if (css[end] == '}' && --depth == 0) break;
        }
        css.erase(at, std::min(end + 1, css.size()) - at);
    }
    return css;
}

std::string FixStyleSheet(std::string css) {
    // Comment markers around a style sheet are a relic of old browsers; CSS ignores them.
    for (const char* marker : {"<!--", "-->"}) {
        std::size_t at;
        while ((at = css.find(marker)) != std::string::npos) css.erase(at, std::string(marker).size());
    }
    return DropPageRules(std::move(css));
}

// The value of attribute name in a tag's text, or empty.
std::string Attribute(const std::string& tag, const char* name) {
    std::size_t at = 0;
    while ((at = FindNoCase(tag, name, at)) != std::string::npos) {
        const bool boundary = at > 0 && std::isspace(static_cast<unsigned char>(tag[at - 1]));
        std::size_t p = at + std::string(name).size();
        while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
        if (!boundary || p >= tag.size() || tag[p] != '=') {
            ++at;
            continue;
        }
        ++p;
        while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
        if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
            const char quote = tag[p];
            const std::size_t end = tag.find(quote, p + 1);
            return tag.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1);
        }
        std::size_t end = p;
        while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
        return tag.substr(p, end - p);
    }
    return {};
}

// <font face size color> as the span a style sheet understands.
std::string FontAsSpan(const std::string& tag) {
    static const char* const sizes[] = {"x-small", "small", "medium", "large", "x-large", "xx-large", "xx-large"};
    std::string style;
    const std::string face = Attribute(tag, "face");
    if (!face.empty()) style += "font-family:" + face + ";";
    const std::string color = Attribute(tag, "color");
    if (!color.empty()) style += "color:" + color + ";";
    const std::string size = Attribute(tag, "size");
    if (!size.empty()) {
        int n = std::atoi(size.c_str());
        if (size[0] == '+' || size[0] == '-') n = 3 + n;
        n = std::clamp(n, 1, 7);
        style += std::string("font-size:") + sizes[n - 1] + ";";
    }
    return "<span style=\"" + EscapeHtml(style) + "\">";
}

}  // namespace

bool NormalizeMailHtml(std::string& html, std::string& error) {
    std::string out;
    out.reserve(html.size());
    int tableDepth = 0;
    std::size_t afterBreak = std::string::npos;  // where the output stood after the last <br>
    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t lt = html.find('<', i);
        if (lt == std::string::npos) {
            out.append(html, i, std::string::npos);
            break;
        }
        out.append(html, i, lt - i);
        if (StartsWithNoCase(html, lt, "<!--")) {
            const std::size_t end = html.find("-->", lt + 4);
            const std::size_t stop = end == std::string::npos ? html.size() : end + 3;
            out.append(html, lt, stop - lt);
            i = stop;
            continue;
        }
        const std::size_t gt = html.find('>', lt);
        if (gt == std::string::npos) {
            out.append(html, lt, std::string::npos);
            break;
        }
        const std::string tag = html.substr(lt, gt - lt + 1);
        i = gt + 1;
        if (StartsWithNoCase(tag, 0, "<style")) {
            const std::size_t close = FindNoCase(html, "</style", i);
            const std::size_t cssEnd = close == std::string::npos ? html.size() : close;
            out += tag;
            out += FixStyleSheet(html.substr(i, cssEnd - i));
            i = cssEnd;
            continue;
        }
        if (StartsWithNoCase(tag, 0, "<table") && (tag.size() == 6 || !std::isalnum(static_cast<unsigned char>(tag[6])))) {
            if (++tableDepth > kMaxTableNesting) {
                error = "tables nested more than " + std::to_string(kMaxTableNesting) + " deep";
                return false;
            }
        } else if (StartsWithNoCase(tag, 0, "</table") && !std::isalnum(static_cast<unsigned char>(tag[7]))) {
            tableDepth = std::max(0, tableDepth - 1);
        } else if (StartsWithNoCase(tag, 0, "<font") && (tag.size() > 5 && !std::isalnum(static_cast<unsigned char>(tag[5])))) {
            out += FontAsSpan(tag);
            continue;
        } else if (StartsWithNoCase(tag, 0, "</font") && !std::isalnum(static_cast<unsigned char>(tag[6]))) {
            out += "</span>";
            continue;
        } else if (StartsWithNoCase(tag, 0, "<br") && !std::isalnum(static_cast<unsigned char>(tag[3]))) {
            // A break right after a break is an empty line, which the layout engine would
            // collapse: the line gets a blank to hold it open.
            if (afterBreak != std::string::npos &&
                std::all_of(out.begin() + static_cast<std::ptrdiff_t>(afterBreak), out.end(),
                            [](unsigned char c) { return std::isspace(c) != 0; }))
                out += "&nbsp;";
            out += tag;
            afterBreak = out.size();
            continue;
        }
        out += tag;
    }
    html = std::move(out);
    return true;
}
