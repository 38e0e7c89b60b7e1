#include "platform/vcl/FormFiles.h"

#include <cmath>
#include <map>
#include <mutex>

#include "platform/win/WinString.h"

TFormValue TFormValue::OfBoolean(bool v) {
    TFormValue r;
    r.Type = v ? vaTrue : vaFalse;
    return r;
}

TFormValue TFormValue::OfBinary(std::string bytes) {
    TFormValue r;
    r.Type = vaBinary;
    r.Binary = std::move(bytes);
    return r;
}

TFormValue TFormValue::OfInteger(std::int64_t v) {
    TFormValue r;
    r.Integer = v;
    if (v >= -128 && v <= 127) r.Type = vaInt8;
    else if (v >= -32768 && v <= 32767) r.Type = vaInt16;
    else if (v >= INT32_MIN && v <= INT32_MAX) r.Type = vaInt32;
    else r.Type = vaInt64;
    return r;
}

TFormValue TFormValue::OfFloat(double v) {
    TFormValue r;
    r.Type = vaExtended;
    r.Float = v;
    return r;
}

TFormValue TFormValue::OfText(WideString text) {
    TFormValue r;
    bool wide = false;
    for (char16_t c : text)
        if (c > 0xFF) wide = true;
    r.Type = wide ? vaWString : text.size() > 255 ? vaLString : vaString;
    r.Text = std::move(text);
    return r;
}

TFormValue TFormValue::OfIdent(std::string ident) {
    TFormValue r;
    r.Type = vaIdent;
    r.Ident = std::move(ident);
    return r;
}

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool SameWord(std::string_view a, std::string_view b) { return AnsiSameText(a, b); }

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    TFormObject ParseRoot() {
        SkipBlanks();
        TFormObject root = ParseObject();
        SkipBlanks();
        if (pos_ < text_.size()) Fail("text after the last end");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw EParserError("Line " + std::to_string(line_) + ": " + reason);
    }

    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f') {
                ++pos_;
            } else {
                break;
            }
        }
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    void Expect(char c) {
        SkipBlanks();
        if (Peek() != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    std::string Ident() {
        SkipBlanks();
        if (!IsIdentStart(Peek())) Fail("identifier expected");
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    // An identifier with dotted parts: "Font.Name", "Form2.Edit1".
    std::string DottedIdent() {
        std::string out = Ident();
        while (Peek() == '.' && pos_ + 1 < text_.size() && IsIdentStart(text_[pos_ + 1])) {
            ++pos_;
            out += '.';
            out += Ident();
        }
        return out;
    }

    bool PeekWord(std::string_view word) {
        SkipBlanks();
        if (text_.size() - pos_ < word.size()) return false;
        if (!SameWord(text_.substr(pos_, word.size()), word)) return false;
        return pos_ + word.size() == text_.size() || !IsIdentChar(text_[pos_ + word.size()]);
    }

    TFormObject ParseObject() {
        TFormObject obj;
        if (PeekWord("object")) obj.Kind = TFormObjectKind::Object;
        else if (PeekWord("inherited")) obj.Kind = TFormObjectKind::Inherited;
        else if (PeekWord("inline")) obj.Kind = TFormObjectKind::Inline;
        else Fail("'object' expected");
        Ident();
        std::string first = Ident();
        SkipBlanks();
        if (Peek() == ':') {
            ++pos_;
            obj.Name = std::move(first);
            obj.ClassName = Ident();
        } else {
            obj.ClassName = std::move(first);  // an unnamed object
        }
        SkipBlanks();
        if (Peek() == '[') {
            ++pos_;
            SkipBlanks();
            obj.Position = static_cast<int>(Number().Integer);
            Expect(']');
        }
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail("'end' expected");
            if (PeekWord("end")) {
                pos_ += 3;
                return obj;
            }
            if (PeekWord("object") || PeekWord("inherited") || PeekWord("inline")) {
                obj.Children.push_back(ParseObject());
                continue;
            }
            obj.Properties.push_back(ParseProperty());
        }
    }

    TFormProperty ParseProperty() {
        TFormProperty p;
        p.Name = DottedIdent();
        Expect('=');
        p.Value = ParseValue();
        return p;
    }

    TFormValue ParseValue() {
        SkipBlanks();
        const char c = Peek();
        if (c == '\'' || c == '#') return Text();
        if (c == '-' || c == '+' || c == '$' || IsDigit(c)) return Number();
        if (c == '[') return SetValue();
        if (c == '(') return ListValue();
        if (c == '<') return Collection();
        if (c == '{') return BinaryValue();
        if (IsIdentStart(c)) {
            std::string id = DottedIdent();
            if (SameWord(id, "True")) return TFormValue::OfBoolean(true);
            if (SameWord(id, "False")) return TFormValue::OfBoolean(false);
            if (SameWord(id, "nil")) {
                TFormValue v;
                v.Type = vaNil;
                return v;
            }
            return TFormValue::OfIdent(std::move(id));
        }
        Fail("value expected");
    }

    TFormValue Number() {
        SkipBlanks();
        const std::size_t start = pos_;
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            ++pos_;
        }
        if (Peek() == '$') {
            ++pos_;
            std::uint64_t v = 0;
            int digits = 0;
            while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
                if (++digits > 16) Fail("number too large");
                v = v * 16 + static_cast<std::uint64_t>(HexDigit(text_[pos_++]));
            }
            if (digits == 0) Fail("hexadecimal digit expected");
            const auto s = static_cast<std::int64_t>(v);
            return TFormValue::OfInteger(negative ? -s : s);
        }
        if (!IsDigit(Peek())) Fail("number expected");
        while (IsDigit(Peek())) ++pos_;
        bool isFloat = false;
        if (Peek() == '.' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1])) {
            isFloat = true;
            ++pos_;
            while (IsDigit(Peek())) ++pos_;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            isFloat = true;
            ++pos_;
            if (Peek() == '-' || Peek() == '+') ++pos_;
            if (!IsDigit(Peek())) Fail("exponent expected");
            while (IsDigit(Peek())) ++pos_;
        }
        const std::string number(text_.substr(start, pos_ - start));
        TValueType floatType = vaExtended;
        if (Peek() == 's' || Peek() == 'S') floatType = vaSingle;
        else if (Peek() == 'c' || Peek() == 'C') floatType = vaCurrency;
        else if (Peek() == 'd' || Peek() == 'D') floatType = vaDate;
        if (floatType != vaExtended) {
            isFloat = true;
            ++pos_;
        }
        if (isFloat) {
            TFormValue v = TFormValue::OfFloat(std::strtod(number.c_str(), nullptr));
            v.Type = floatType;
            return v;
        }
        errno = 0;
        const long long v = std::strtoll(number.c_str(), nullptr, 10);
        if (errno == ERANGE) Fail("number too large");
        return TFormValue::OfInteger(v);
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return c - 'A' + 10;
    }

    // Quoted pieces and #codes, joined directly or by '+' across lines.
    TFormValue Text() {
        WideString out;
        bool utf8 = false;
        for (;;) {
            SkipBlanks();
            if (Peek() == '\'') {
                ++pos_;
                std::string piece;
                for (;;) {
                    if (AtEnd() || Peek() == '\n') Fail("unterminated string");
                    const char c = text_[pos_++];
                    if (c == '\'') {
                        if (Peek() == '\'') {
                            piece += '\'';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    if (static_cast<unsigned char>(c) >= 0x80) utf8 = true;
                    piece += c;
                }
                out += Utf8ToUtf16(piece);
            } else if (Peek() == '#') {
                ++pos_;
                const TFormValue code = Number();
                if (!code.IsInteger() || code.Integer < 0 || code.Integer > 0xFFFF) Fail("character code out of range");
                out += static_cast<char16_t>(code.Integer);
            } else {
                break;
            }
            // A '+' joins the next piece, which may start on the next line.
            const std::size_t save = pos_;
            const int saveLine = line_;
            SkipBlanks();
            if (Peek() == '+') {
                ++pos_;
                SkipBlanks();
                if (Peek() != '\'' && Peek() != '#') Fail("string expected after '+'");
                continue;
            }
            pos_ = save;
            line_ = saveLine;
            if (Peek() != '\'' && Peek() != '#') break;
        }
        TFormValue v = TFormValue::OfText(std::move(out));
        if (utf8 && v.Type != vaWString) v.Type = vaUTF8String;
        return v;
    }

    TFormValue SetValue() {
        Expect('[');
        TFormValue v;
        v.Type = vaSet;
        SkipBlanks();
        if (Peek() == ']') {
            ++pos_;
            return v;
        }
        for (;;) {
            v.Set.push_back(Ident());
            SkipBlanks();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            Expect(']');
            return v;
        }
    }

    TFormValue ListValue() {
        Expect('(');
        TFormValue v;
        v.Type = vaList;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail("')' expected");
            if (Peek() == ')') {
                ++pos_;
                return v;
            }
            v.List.push_back(ParseValue());
        }
    }

    TFormValue Collection() {
        Expect('<');
        TFormValue v;
        v.Type = vaCollection;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail("'>' expected");
            if (Peek() == '>') {
                ++pos_;
                return v;
            }
            if (!PeekWord("item")) Fail("'item' expected");
            pos_ += 4;
            SkipBlanks();
            if (Peek() == '[') {  // an item index is accepted and ignored
                ++pos_;
                Number();
                Expect(']');
            }
            std::vector<TFormProperty> item;
            for (;;) {
                SkipBlanks();
                if (AtEnd()) Fail("'end' expected");
                if (PeekWord("end")) {
                    pos_ += 3;
                    break;
                }
                item.push_back(ParseProperty());
            }
            v.Items.push_back(std::move(item));
        }
    }

    TFormValue BinaryValue() {
        Expect('{');
        std::string bytes;
        int high = -1;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail("'}' expected");
            const char c = text_[pos_++];
            if (c == '}') break;
            if (!std::isxdigit(static_cast<unsigned char>(c))) Fail("hexadecimal digit expected");
            if (high < 0) {
                high = HexDigit(c);
            } else {
                bytes += static_cast<char>((high << 4) | HexDigit(c));
                high = -1;
            }
        }
        if (high >= 0) Fail("odd number of hexadecimal digits");
        return TFormValue::OfBinary(std::move(bytes));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

class Printer {
public:
    std::string Print(const TFormObject& obj) {
        Object(obj, 0);
        return std::move(out_);
    }

private:
    void Indent(int level) { out_.append(static_cast<std::size_t>(level) * 2, ' '); }

    void Object(const TFormObject& obj, int level) {
        Indent(level);
        out_ += obj.Kind == TFormObjectKind::Inherited ? "inherited " : obj.Kind == TFormObjectKind::Inline ? "inline " : "object ";
        if (!obj.Name.empty()) out_ += obj.Name + ": ";
        out_ += obj.ClassName;
        if (obj.Position >= 0) out_ += " [" + std::to_string(obj.Position) + "]";
        out_ += '\n';
        for (const TFormProperty& p : obj.Properties) Property(p, level + 1);
        for (const TFormObject& c : obj.Children) Object(c, level + 1);
        Indent(level);
        out_ += "end\n";
    }

    void Property(const TFormProperty& p, int level) {
        Indent(level);
        out_ += p.Name + " = ";
        Value(p.Value, level + 1);
        out_ += '\n';
    }

    void Value(const TFormValue& v, int level) {
        switch (v.Type) {
        case vaNull:
        case vaNil: out_ += "nil"; return;
        case vaFalse: out_ += "False"; return;
        case vaTrue: out_ += "True"; return;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64: out_ += std::to_string(v.Integer); return;
        case vaExtended:
        case vaSingle:
        case vaCurrency:
        case vaDate: Float(v); return;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String: Text(v.Text, level); return;
        case vaIdent: out_ += v.Ident; return;
        case vaSet:
            out_ += '[';
            for (std::size_t i = 0; i < v.Set.size(); ++i) out_ += (i ? ", " : "") + v.Set[i];
            out_ += ']';
            return;
        case vaList:
            out_ += '(';
            for (const TFormValue& item : v.List) {
                out_ += '\n';
                Indent(level);
                Value(item, level + 1);
            }
            out_ += ')';
            return;
        case vaCollection:
            out_ += '<';
            for (const auto& item : v.Items) {
                out_ += '\n';
                Indent(level);
                out_ += "item\n";
                for (const TFormProperty& p : item) Property(p, level + 1);
                Indent(level);
                out_ += "end";
            }
            out_ += '>';
            return;
        case vaBinary: Binary(v.Binary, level); return;
        }
    }

    void Float(const TFormValue& v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v.Float);
        std::string s = buf;
        if (s.find_first_of(".eEn") == std::string::npos) s += ".0";  // keep it a float
        out_ += s;
        if (v.Type == vaSingle) out_ += 's';
        if (v.Type == vaCurrency) out_ += 'c';
        if (v.Type == vaDate) out_ += 'd';
    }

    // Printable ASCII in quotes, every other code unit as #n; long text split over lines.
    void Text(const WideString& text, int level) {
        if (text.empty()) {
            out_ += "''";
            return;
        }
        bool quoted = false;
        std::size_t lineStart = out_.size();
        for (char16_t c : text) {
            if (out_.size() - lineStart > 64) {
                if (quoted) out_ += '\'';
                quoted = false;
                out_ += " +\n";
                Indent(level);
                lineStart = out_.size();
            }
            if (c >= 0x20 && c < 0x7F) {
                if (!quoted) out_ += '\'';
                quoted = true;
                if (c == '\'') out_ += '\'';
                out_ += static_cast<char>(c);
            } else {
                if (quoted) out_ += '\'';
                quoted = false;
                out_ += '#' + std::to_string(static_cast<unsigned>(c));
            }
        }
        if (quoted) out_ += '\'';
    }

    void Binary(const std::string& bytes, int level) {
        static const char digits[] = "0123456789ABCDEF";
        out_ += '{';
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % 32 == 0) {
                out_ += '\n';
                Indent(level);
            }
            const auto b = static_cast<unsigned char>(bytes[i]);
            out_ += digits[b >> 4];
            out_ += digits[b & 15];
        }
        out_ += '}';
    }

    std::string out_;
};

struct Resources {
    std::mutex lock;
    std::map<std::string, std::string> byName;  // names in capitals
};

Resources& TheResources() {
    static Resources r;
    return r;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

}  // namespace

TFormObject ParseFormText(std::string_view text) {
    // A UTF-8 mark at the start is skipped.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return Parser(text).ParseRoot();
}

std::string FormTextOf(const TFormObject& object) { return Printer().Print(object); }

void RegisterFormResource(std::string_view name, std::string_view text) {
    Resources& r = TheResources();
    std::lock_guard guard(r.lock);
    r.byName[Upper(name)] = std::string(text);
}

const std::string* FindFormResource(std::string_view name) {
    Resources& r = TheResources();
    std::lock_guard guard(r.lock);
    const auto it = r.byName.find(Upper(name));
    return it == r.byName.end() ? nullptr : &it->second;  // entries are never removed
}

const std::string& FormResource(std::string_view name) {
    if (const std::string* text = FindFormResource(name)) return *text;
    throw EResNotFound("Resource " + AnsiString(name) + " not found");
}
