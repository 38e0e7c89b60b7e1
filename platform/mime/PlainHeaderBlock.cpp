#include "platform/mime/PlainHeaderBlock.h"

#include "platform/mime/IdHeaderList.h"
#include "platform/mime/IdMessage.h"

namespace mime_detail {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsFoldingSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A character of a MIME token: printable ASCII but for the special characters.
bool IsTokenChar(char c)
{
    if (c <= ' ' || c >= 0x7F) return false;
    return std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ == text_.size(); }
    char Peek() const { return text_[at_]; }
    void SkipSpace()
    {
        while (!AtEnd() && IsFoldingSpace(Peek())) ++at_;
    }
    std::string_view Token()
    {
        const size_t from = at_;
        while (!AtEnd() && IsTokenChar(Peek())) ++at_;
        return text_.substr(from, at_ - from);
    }
    bool Take(char c)
    {
        if (AtEnd() || Peek() != c) return false;
        ++at_;
        return true;
    }
    // A quoted string without escapes or line breaks, quotes removed.
    bool Quoted(std::string_view& value)
    {
        const size_t close = text_.find('"', at_);
        if (close == std::string_view::npos) return false;
        value = text_.substr(at_, close - at_);
        if (value.find_first_of("\\\r\n") != std::string_view::npos) return false;
        at_ = close + 1;
        return true;
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

// "type/subtype" and plain parameters; false for anything the MIME reader should judge.
bool ParseContentType(std::string_view raw, PlainHeaderBlock& out)
{
    for (const char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '(' || c == '\\') return false;
    if (raw.find("=?") != std::string_view::npos) return false;
    Cursor in(raw);
    in.SkipSpace();
    const std::string_view type = in.Token();
    if (type.empty() || !in.Take('/')) return false;
    const std::string_view subtype = in.Token();
    if (subtype.empty()) return false;
    out.contentType.assign(type);
    out.contentType += '/';
    out.contentType += subtype;
    for (char& c : out.contentType) c = LowerAscii(c);
    bool charsetSeen = false;
    for (;;) {
        in.SkipSpace();
        if (in.AtEnd()) return true;
        if (!in.Take(';')) return false;
        in.SkipSpace();
        if (in.AtEnd()) return true;
        const std::string_view name = in.Token();
        if (name.empty() || name.find('*') != std::string_view::npos) return false;
        in.SkipSpace();
        if (!in.Take('=')) return false;
        in.SkipSpace();
        std::string_view value;
        if (in.Take('"')) {
            if (!in.Quoted(value)) return false;
        } else {
            value = in.Token();
            if (value.empty()) return false;
        }
        if (!charsetSeen && TIdHeaderList::SameName(name, "charset")) {
            out.charset.assign(value);
            charsetSeen = true;
        }
    }
}

bool IsAtomChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("!#$%&'*+-/=?^_`{|}~.").find(c) != std::string_view::npos;
}

std::string_view TrimFolding(std::string_view s)
{
    while (!s.empty() && IsFoldingSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsFoldingSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Runs of the allowed characters joined by single dots.
bool IsDotted(std::string_view s, bool (*allowed)(char))
{
    if (s.empty() || s.front() == '.' || s.back() == '.' || s.find("..") != std::string_view::npos) return false;
    for (const char c : s)
        if (c != '.' && !allowed(c)) return false;
    return true;
}

bool IsDomainChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'; }
bool IsLocalChar(char c) { return c != '.' && IsAtomChar(c); }

// local@domain: dotted atoms, then dotted labels of letters, digits and hyphens.
bool IsPlainAddress(std::string_view s)
{
    const size_t at = s.find('@');
    if (at == std::string_view::npos) return false;
    return IsDotted(s.substr(0, at), IsLocalChar) && IsDotted(s.substr(at + 1), IsDomainChar);
}

// One entry, trimmed: an address, or a name of atoms and blanks (or one quoted string) and an
// address in angle brackets; a line break only between the name and the bracket.
bool PlainMailbox(std::string_view entry, TIdEmailAddressItem& item)
{
    if (entry.back() != '>') {
        if (!IsPlainAddress(entry)) return false;
        item.Address.assign(entry);
        return true;
    }
    const size_t open = entry.find('<');
    if (open == std::string_view::npos) return false;
    const std::string_view address = entry.substr(open + 1, entry.size() - open - 2);
    if (!IsPlainAddress(address)) return false;
    std::string_view name = TrimFolding(entry.substr(0, open));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
        if (name.find_first_of("\"\r\n") != std::string_view::npos) return false;
    } else {
        for (const char c : name)
            if (!IsAtomChar(c) && c != ' ') return false;
    }
    item.Name.assign(name);
    item.Address.assign(address);
    return true;
}

}  // namespace

bool SplitPlainAddressList(std::string_view raw, std::vector<TIdEmailAddressItem>& out)
{
    for (const char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0' || std::string_view("():;\\[]").find(c) != std::string_view::npos)
            return false;
    if (raw.find("=?") != std::string_view::npos) return false;
    std::vector<TIdEmailAddressItem> items;
    size_t from = 0;
    bool quoted = false;
    for (size_t i = 0; i <= raw.size(); ++i) {
        if (i < raw.size() && raw[i] == '"') quoted = !quoted;
        if (i < raw.size() && (quoted || raw[i] != ',')) continue;
        const std::string_view entry = TrimFolding(raw.substr(from, i - from));
        from = i + 1;
        if (entry.empty()) continue;
        TIdEmailAddressItem item;
        if (!PlainMailbox(entry, item)) return false;
        items.push_back(std::move(item));
    }
    if (quoted) return false;
    for (TIdEmailAddressItem& item : items) out.push_back(std::move(item));
    return true;
}

bool SplitPlainHeaderBlock(std::string_view block, PlainHeaderBlock& out)
{
    out.headers.clear();
    out.contentType = "text/plain";
    out.charset.clear();
    if (block.starts_with("From ")) return false;
    const AnsiString* contentType = nullptr;
    size_t at = 0;
    while (at < block.size()) {
        size_t end = block.find('\n', at);
        end = end == std::string_view::npos ? block.size() : end + 1;
        const std::string_view line = block.substr(at, end - at);
        at = end;
        std::string_view text = line;
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        for (const char c : text)
            if (c == '\r' || c == '\0') return false;
        if (text.empty()) break;  // the empty line ends the block
        if (IsBlank(text.front())) {
            if (out.headers.empty()) return false;
            out.headers.back().second.append(line);
            continue;
        }
        const size_t colon = text.find(':');
        if (colon == 0 || colon == std::string_view::npos) return false;
        for (size_t i = 0; i < colon; ++i)
            if (text[i] <= ' ' || text[i] >= 0x7F) return false;
        out.headers.emplace_back(AnsiString(line.substr(0, colon)), AnsiString(line.substr(colon + 1)));
    }
    for (const auto& [name, raw] : out.headers)
        if (TIdHeaderList::SameName(name, "Content-Type")) contentType = &raw;
    return !contentType || ParseContentType(*contentType, out);
}

}  // namespace mime_detail
