#include "app/AppLocDB.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/CAppUtils.h"
#include "app/RegExpUtils.h"
#include "app/UiStrings.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/StringResources.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"

AppVclLocDB appLocDB;

namespace {

constexpr int kLoadBufferUnits = 8192;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Bytes as UTF-16: a leading FF FE is dropped; a leading FE FF means big-endian text, whose
// units are swapped. CR and NUL units are dropped (NUL would cut the text short elsewhere).
WideString DecodeFileBytes(const std::string& bytes) {
    const size_t units = bytes.size() / 2;
    const auto unit = [&](size_t i, bool bigEndian) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        return static_cast<char16_t>(lo | (hi << 8));
    };
    bool bigEndian = false;
    size_t first = 0;
    if (units > 0) {
        const char16_t mark = unit(0, false);
        if (mark == 0xFEFF) {
            first = 1;
        } else if (mark == 0xFFFE) {
            bigEndian = true;
            first = 1;
        }
    }
    WideString text;
    text.reserve(units);
    for (size_t i = first; i < units; ++i) {
        const char16_t c = unit(i, bigEndian);
        if (c != u'\r' && c != 0) text.push_back(c);
    }
    return text;
}

std::filesystem::path FsPath(const WideString& path) {
    return std::filesystem::path(Utf16ToUtf8(path));
}

// A conversion's signature: its '*' arguments, size prefix and conversion letter.
std::vector<WideString> Conversions(const WideString& format) {
    std::vector<WideString> out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') continue;
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            ++i;
            continue;
        }
        WideString signature;
        size_t j = i + 1;
        while (j < format.size() && WideString(u"-+0 #").find(format[j]) != WideString::npos) ++j;
        while (j < format.size() && ((format[j] >= u'0' && format[j] <= u'9') || format[j] == u'*' || format[j] == u'.')) {
            if (format[j] == u'*') signature.push_back(u'*');
            ++j;
        }
        while (j < format.size() && WideString(u"hlIz0123456789").find(format[j]) != WideString::npos)
            signature.push_back(format[j++]);
        if (j < format.size()) signature.push_back(format[j]);
        out.push_back(signature);
        i = j;
    }
    return out;
}

}  // namespace

WideString AppLocDB::GetString(const WideString& key) const {
    const auto it = db_.find(key);
    return it == db_.end() ? WideString() : it->second;
}

void AppLocDB::SetString(const WideString& key, const WideString& text) {
    db_[key] = text;
}

int AppLocDB::LoadDB(const WideString& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(FsPath(path), ec)) return -1;
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in) return -1;
    std::string bytes;
    char chunk[16384];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
        if (!in) break;
    }
    LoadBytes(bytes);
    return 0;
}

void AppLocDB::LoadBytes(const std::string& bytes) {
    // The whole file is decoded at once: the byte-order mark is looked for at its start only,
    // and nothing after a NUL is lost.
    LoadText(DecodeFileBytes(bytes));
}

void AppLocDB::LoadText(const WideString& text) {
    std::vector<WideString> lines;
    size_t begin = 0;
    for (;;) {
        const size_t lf = text.find(u'\n', begin);
        lines.push_back(text.substr(begin, lf == WideString::npos ? WideString::npos : lf - begin));
        if (lf == WideString::npos) break;
        begin = lf + 1;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        WideString line = std::move(lines[i]);
        line.erase(std::remove(line.begin(), line.end(), u'\r'), line.end());
        while (!line.empty() && line.back() == u'\\') {
            line.pop_back();
            line += u"\\n";
            if (i + 1 >= lines.size()) break;
            line += lines[++i];
        }
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size()) continue;
        if (line.compare(first, 2, u"//") == 0) continue;
        auto [key, value] = ParseLine(line);
        if (!key.empty() && !value.empty()) SetString(key, value);
    }
}

int AppLocDB::SaveDB(const WideString& path) const {
    WideString text;
    for (const auto& [key, value] : db_) {
        text += key;
        text += u", \"";
        text += EncodeText(value);
        text += u"\"\n";
    }
    std::string bytes;
    bytes.reserve(text.size() * 2 + db_.size() * 2);
    const auto put = [&](char16_t c) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    };
    for (char16_t c : text) {
        if (c == u'\n') put(u'\r');
        put(c);
    }

    return ReplaceFileAtomically(FsPath(path), bytes) == 0 ? 0 : -1;
}

std::pair<WideString, WideString> AppLocDB::ParseLine(const WideString& line) {
    WideString key = RegExpFirstGroup(line, u"([^,\\s])*");
    WideString text = DecodeText(RegExpFirstGroup(line, u"(?<=\").*(?=\")"));
    return {std::move(key), std::move(text)};
}

WideString AppLocDB::EncodeText(const WideString& text) {
    WideString out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u'\r') continue;
        if (c == u'\n') out.push_back(u'\\');
        out.push_back(c);
    }
    return out;
}

WideString AppLocDB::DecodeText(const WideString& text) {
    return RegExpReplace(text, u"\\\\n", u"\n");
}

WideString GetUiString(int id) {
    WideString text = appLocDB.GetString(Utf8ToUtf16(std::to_string(id)));
    if (!text.empty()) return text;
    RegisterUiStrings();
    char16_t buffer[kLoadBufferUnits];  // on the stack: every record made asks for its caption
    const int n = LoadStringW(nullptr, static_cast<UINT>(id), buffer, kLoadBufferUnits);
    return n > 0 ? WideString(buffer, static_cast<size_t>(n)) : WideString();
}

WideString GetUiFormat(int id) {
    WideString text = GetUiString(id);
    RegisterUiStrings();
    const WideString builtIn = LoadResString(static_cast<UINT>(id));
    if (builtIn.empty() || Conversions(text) == Conversions(builtIn)) return text;
    return builtIn;
}

void StoreResourceStrings(AppLocDB& db) {
    RegisterUiStrings();
    for (int id = static_cast<int>(kFirstUiTextId); id <= static_cast<int>(kLastUiTextId); ++id) {
        const WideString text = GetUiString(id);
        if (!text.empty()) db.SetString(Utf8ToUtf16(std::to_string(id)), text);
    }
}

WideString LanguageFileName(int language) {
    static const char16_t* const kSuffix[] = {u"EN", u"FR", u"DE", u"ES", u"RU", u"IT"};
    if (language < LanguageEnglish || language > LanguageItalian) return {};
    return WideString(u"Localization/LocalizationDB_") + kSuffix[language - 1] + u".txt";
}

WideString LanguageFilePath(int language) {
    const WideString name = LanguageFileName(language);
    return name.empty() ? WideString() : CAppUtils::getAppFolder() + name;
}
