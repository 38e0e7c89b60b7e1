#include "platform/mapi/MailHandoff.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>

#include "platform/mime/MimeDraft.h"
#include "platform/win/PlatformTrace.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/ShellFolders.h"
#include "platform/win/WinString.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(" \t\r\n") - b + 1);
}

// The Exec line of an installed desktop entry; empty when it is not found.
std::string DesktopEntryExec(const std::string& desktopId) {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos) return {};
    for (const std::string& folder : XdgDataFolders()) {
        std::ifstream in(fs::path(folder) / "applications" / desktopId);
        if (!in) continue;
        std::string line;
        bool inEntry = false;
        while (std::getline(in, line)) {
            line = Trimmed(line);
            if (!line.empty() && line[0] == '[') inEntry = line == "[Desktop Entry]";
            else if (inEntry && line.rfind("Exec", 0) == 0) {
                const size_t eq = line.find('=');
                if (eq != std::string::npos && Trimmed(line.substr(4, eq - 4)).empty()) return Trimmed(line.substr(eq + 1));
            }
        }
    }
    return {};
}

std::string DefaultDesktopId(const std::string& mediaType) {
    std::string out;
    if (!RunForOutput({"xdg-mime", "query", "default", mediaType}, out)) return {};
    return Trimmed(out);
}

// Percent-encoding for URLs: everything but the unreserved characters (and "/" in paths).
std::string PercentEncoded(const std::string& text, bool keepSlash) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || (keepSlash && c == '/')) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string FileUrl(const std::string& path) { return "file://" + PercentEncoded(path, true); }

bool WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// A display name made a single file name.
std::string SafeFileName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name == "." || name == "..") name = "_" + name;
    return name;
}

// The message in UTF-8, with the attachment files it names under their display names when a
// command line is used (a command line passes paths only).
struct Prepared {
    std::string subject, plain, html;
    std::vector<TIdEmailAddressItem> to, cc, bcc;
    std::vector<MimeDraftAttachment> files;
    fs::path work;

    explicit Prepared(const MailHandoffMessage& m)
        : subject(Utf16ToUtf8(m.subject)), plain(Utf16ToUtf8(m.noteText)), html(Utf16ToUtf8(m.htmlText)),
          work(Utf16ToUtf8(m.workFolder)) {
        for (const MailHandoffRecip& r : m.recips) {
            if (r.address.empty()) continue;
            const TIdEmailAddressItem item{r.name == r.address ? std::string() : Utf16ToUtf8(r.name),
                                           Utf16ToUtf8(r.address)};
            if (r.recipClass == MAPI_TO) to.push_back(item);
            else if (r.recipClass == MAPI_CC) cc.push_back(item);
            else if (r.recipClass == MAPI_BCC) bcc.push_back(item);
        }
        for (const MailHandoffFile& f : m.files) files.push_back({Utf16ToUtf8(f.path), Utf16ToUtf8(f.displayName)});
    }

    // Each attachment's path where its file name is its display name: the file itself, or a
    // link (else a copy) in a numbered folder of the work folder. False when one cannot be made.
    bool StagedPaths(std::vector<std::string>& paths) const {
        paths.clear();
        for (size_t i = 0; i < files.size(); ++i) {
            const MimeDraftAttachment& f = files[i];
            const std::string name = SafeFileName(f.displayName);
            if (f.displayName.empty() || fs::path(f.path).filename() == name) {
                paths.push_back(f.path);
                continue;
            }
            if (work.empty()) return false;
            std::error_code ec;
            const fs::path folder = work / ("attach" + std::to_string(i + 1));
            fs::create_directories(folder, ec);
            const fs::path target = folder / name;
            fs::remove(target, ec);
            fs::create_hard_link(f.path, target, ec);
            if (ec) fs::copy_file(f.path, target, fs::copy_options::overwrite_existing, ec);
            if (ec) return false;
            paths.push_back(target.string());
        }
        return true;
    }

    // The body written into the work folder ("Text.html", else "Text.txt", UTF-8 with a BOM);
    // empty when there is none or it cannot be written.
    std::string BodyFile(bool& isHtml) const {
        isHtml = !html.empty();
        const std::string& text = isHtml ? html : plain;
        if (text.empty() || work.empty()) return {};
        std::error_code ec;
        fs::create_directories(work, ec);
        const fs::path path = work / (isHtml ? "Text.html" : "Text.txt");
        return WriteFile(path, "\xEF\xBB\xBF" + text) ? path.string() : std::string();
    }
};

std::string Mailbox(const TIdEmailAddressItem& a) {
    return a.Name.empty() || a.Name.find_first_of("'\",<>") != std::string::npos ? a.Address
                                                                                   : a.Name + " <" + a.Address + ">";
}

std::string Joined(const std::vector<TIdEmailAddressItem>& list) {
    std::string out;
    for (const TIdEmailAddressItem& a : list) out += (out.empty() ? "" : ",") + Mailbox(a);
    return out;
}

// Thunderbird's "-compose" list: values in single quotes, which cannot hold a quote themselves.
bool ComposeSwitchRoad(const Prepared& p, const MailtoHandler& handler, MailDesktop& desktop) {
    std::vector<std::string> paths;
    if (!p.StagedPaths(paths)) return false;
    std::string fields;
    const auto put = [&](const std::string& key, const std::string& value) {
        if (value.empty()) return true;
        if (value.find('\'') != std::string::npos) return false;
        fields += (fields.empty() ? "" : ",") + key + "='" + value + "'";
        return true;
    };
    std::string attachments;
    for (const std::string& path : paths) attachments += (attachments.empty() ? "" : ",") + FileUrl(path);
    bool isHtml = false;
    const std::string body = p.BodyFile(isHtml);
    if (body.empty() && !(p.plain.empty() && p.html.empty())) return false;
    if (!put("to", Joined(p.to)) || !put("cc", Joined(p.cc)) || !put("bcc", Joined(p.bcc)) ||
        !put("subject", p.subject) || !put("message", body) || !put("attachment", attachments))
        return false;
    if (!body.empty()) fields += std::string(",format=") + (isHtml ? "html" : "text");
    std::vector<std::string> argv = ExecArguments(handler.exec, "");
    if (argv.empty()) return false;
    argv.push_back("-compose");
    argv.push_back(fields);
    return desktop.Launch(argv);
}

// A mailto URL with attachments (Evolution): plain body; an HTML-only body goes as "Text.html".
bool MailtoUrlRoad(const Prepared& p, const MailtoHandler& handler, MailDesktop& desktop) {
    std::vector<std::string> paths;
    if (!p.StagedPaths(paths)) return false;
    if (p.plain.empty() && !p.html.empty()) {
        bool isHtml = false;
        const std::string file = p.BodyFile(isHtml);
        if (file.empty()) return false;
        paths.insert(paths.begin(), file);
    }
    std::string to;
    for (const TIdEmailAddressItem& a : p.to) to += (to.empty() ? "" : ",") + PercentEncoded(a.Address, false);
    std::string query;
    const auto put = [&](const char* key, const std::string& value) {
        if (!value.empty()) query += (query.empty() ? "?" : "&") + std::string(key) + "=" + PercentEncoded(value, false);
    };
    for (const TIdEmailAddressItem& a : p.cc) put("cc", a.Address);
    for (const TIdEmailAddressItem& a : p.bcc) put("bcc", a.Address);
    put("subject", p.subject);
    put("body", p.plain);
    for (const std::string& path : paths) put("attach", FileUrl(path));
    const std::vector<std::string> argv = ExecArguments(handler.exec, "mailto:" + to + query);
    return !argv.empty() && desktop.Launch(argv);
}

bool DraftRoad(const Prepared& p, MailDesktop& desktop) {
    const std::string exec = desktop.DefaultExecFor("message/rfc822");
    if (exec.empty() || p.work.empty()) return false;
    MimeDraft draft{p.subject, p.plain, p.html, p.to, p.cc, p.bcc, p.files};
    std::string bytes;
    try {
        bytes = BuildDraftMessage(draft);
    } catch (const Exception& e) {
        PlatformTrace(u"mail hand-off: draft not built: " + e.Message());
        return false;
    }
    std::error_code ec;
    fs::create_directories(p.work, ec);
    const fs::path path = p.work / "Draft.eml";
    if (!WriteFile(path, bytes)) return false;
    const std::vector<std::string> argv = ExecArguments(exec, path.string());
    return !argv.empty() && desktop.Launch(argv);
}

// The words of an HTML body for a road that takes plain text only: tags dropped (with the
// contents of style and script), line breaks at breaks, paragraphs, rows and list items, the
// common entities decoded.
std::string PlainTextOfHtml(const std::string& html) {
    std::string out;
    size_t i = 0;
    const auto lowerAt = [&](size_t at, size_t n) { return Lower(html.substr(at, n)); };
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            const std::string tag = Lower(html.substr(i + 1, end - i - 1));
            i = end + 1;
            if (tag.empty()) continue;
            const size_t nameEnd = tag.find_first_of(" \t\r\n/>", tag[0] == '/' ? 1 : 0);
            const std::string name = tag.substr(0, nameEnd);
            if (name == "style" || name == "script") {
                const size_t close = Lower(html).find("</" + name, i);
                const size_t closeEnd = close == std::string::npos ? close : html.find('>', close);
                i = closeEnd == std::string::npos ? html.size() : closeEnd + 1;
            } else if (name == "br" || name == "p" || name == "/p" || name == "div" || name == "/div" || name == "tr" ||
                       name == "li" || name == "/h1" || name == "/h2" || name == "/h3" || name == "hr") {
                if (!out.empty() && out.back() != '\n') out += '\n';
                if (name == "/p" || name == "p") out += '\n';
            } else if (name == "td" || name == "th") {
                out += '\t';
            }
            continue;
        }
        if (c == '&') {
            static const std::pair<const char*, const char*> entities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}, {"&nbsp;", " "}};
            bool done = false;
            for (const auto& [from, to] : entities) {
                const size_t n = std::string_view(from).size();
                if (lowerAt(i, n) == from) {
                    out += to;
                    i += n;
                    done = true;
                    break;
                }
            }
            if (done) continue;
        }
        if (c == '\r' || c == '\n' || c == '\t') {
            if (!out.empty() && out.back() != ' ' && out.back() != '\n') out += ' ';
        } else {
            out += c;
        }
        ++i;
    }
    return Trimmed(out);
}

bool XdgEmailRoad(const Prepared& p, MailDesktop& desktop) {
    const std::string program = desktop.FindProgram("xdg-email");
    if (program.empty()) return false;
    std::vector<std::string> paths;
    if (!p.StagedPaths(paths)) return false;
    // xdg-email takes a plain body only: an HTML-only quote goes as its words and as the page.
    std::string body = p.plain;
    if (body.empty() && !p.html.empty()) {
        bool isHtml = false;
        const std::string file = p.BodyFile(isHtml);
        if (!file.empty()) paths.insert(paths.begin(), file);
        body = PlainTextOfHtml(p.html);
    }
    std::vector<std::string> argv{program, "--utf8"};
    for (const TIdEmailAddressItem& a : p.cc) argv.insert(argv.end(), {"--cc", a.Address});
    for (const TIdEmailAddressItem& a : p.bcc) argv.insert(argv.end(), {"--bcc", a.Address});
    argv.insert(argv.end(), {"--subject", p.subject, "--body", body});
    for (const std::string& path : paths) argv.insert(argv.end(), {"--attach", path});
    // Addresses stand last, on their own: one that starts like an option is left out.
    for (const TIdEmailAddressItem& a : p.to)
        if (a.Address.rfind('-', 0) != 0) argv.push_back(a.Address);
    return desktop.Launch(argv);
}

}  // namespace

ComposeCommand ComposeCommandOf(const MailtoHandler& handler) {
    const std::string text = Lower(handler.desktopId + " " + handler.exec);
    for (const char* name : {"thunderbird", "icedove", "betterbird"})
        if (text.find(name) != std::string::npos) return ComposeCommand::ComposeSwitch;
    if (text.find("evolution") != std::string::npos) return ComposeCommand::MailtoUrl;
    return ComposeCommand::None;
}

std::vector<std::string> ExecArguments(const std::string& exec, const std::string& target) {
    std::vector<std::string> args;
    std::string current;
    bool inToken = false, quoted = false, targetUsed = false;
    const auto flush = [&] {
        if (inToken && current != "@@" && current != "@@u" && current != "@@f") args.push_back(current);
        current.clear();
        inToken = false;
    };
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) current += exec[++i];
            else if (c == '"') quoted = false;
            else current += c;
        } else if (c == '"') {
            quoted = inToken = true;
        } else if (c == ' ' || c == '\t') {
            flush();
        } else if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            if (code == '%') {
                current += '%';
                inToken = true;
            } else if (std::string_view("fFuU").find(code) != std::string_view::npos && !target.empty()) {
                current += target;
                inToken = targetUsed = true;
            }
        } else {
            current += c;
            inToken = true;
        }
    }
    flush();
    if (!targetUsed && !target.empty() && !args.empty()) args.push_back(target);
    return args;
}

MailtoHandler MailDesktop::MailtoHandlerEntry() {
    MailtoHandler handler;
    handler.desktopId = DefaultDesktopId("x-scheme-handler/mailto");
    handler.exec = DesktopEntryExec(handler.desktopId);
    return handler;
}

std::string MailDesktop::DefaultExecFor(const std::string& mediaType) {
    return DesktopEntryExec(DefaultDesktopId(mediaType));
}

std::string MailDesktop::FindProgram(const std::string& name) { return FindOnPath(name); }

bool MailDesktop::Launch(const std::vector<std::string>& argv) {
    // A mail program that refuses what it is given ends at once with an error; one that
    // takes it keeps running (its compose window) or hands it on and ends with 0.
    constexpr int kGraceMs = 1500;
    int error = 0;
    if (SpawnAndWatch(argv, kGraceMs, &error)) return true;
    PlatformTrace(u"mail hand-off: " + Utf8ToUtf16(argv.empty() ? std::string() : argv[0]) +
                  (error ? u" cannot be started" : u" failed"));
    return false;
}

MailDesktop& SessionMailDesktop() {
    static MailDesktop desktop;
    return desktop;
}

bool MailHandoffAvailable(MailDesktop& desktop) {
    // xdg-email alone reaches nothing: it hands the mail to the mailto handler itself.
    return !desktop.MailtoHandlerEntry().exec.empty() || !desktop.DefaultExecFor("message/rfc822").empty();
}

ULONG MailHandoff(const MailHandoffMessage& message, MailDesktop& desktop) {
    const Prepared p(message);
    const MailtoHandler handler = desktop.MailtoHandlerEntry();
    switch (ComposeCommandOf(handler)) {
    case ComposeCommand::ComposeSwitch:
        if (ComposeSwitchRoad(p, handler, desktop)) return SUCCESS_SUCCESS;
        break;
    case ComposeCommand::MailtoUrl:
        if (MailtoUrlRoad(p, handler, desktop)) return SUCCESS_SUCCESS;
        break;
    case ComposeCommand::None:
        break;
    }
    if (DraftRoad(p, desktop) || XdgEmailRoad(p, desktop)) return SUCCESS_SUCCESS;
    return MAPI_E_FAILURE;
}
