// The expected-value files of the corpus (".json" beside a message): just enough JSON.
#pragma once

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace corpusjson {

// Just enough JSON for the expected-value files.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool b = false;
    double n = 0;
    std::string s;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json* Get(const std::string& key) const {
        auto it = fields.find(key);
        return it == fields.end() ? nullptr : &it->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : t_(text) {}
    bool Parse(Json& out) {
        if (!Value(out)) return false;
        Space();
        return i_ == t_.size();
    }

private:
    void Space() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t')) ++i_;
    }
    bool Literal(const char* word) {
        std::size_t n = std::strlen(word);
        if (t_.compare(i_, n, word) != 0) return false;
        i_ += n;
        return true;
    }
    bool Hex4(unsigned& v) {
        if (i_ + 4 > t_.size()) return false;
        v = static_cast<unsigned>(std::stoul(t_.substr(i_, 4), nullptr, 16));
        i_ += 4;
        return true;
    }
    bool Str(std::string& out) {
        if (t_[i_] != '"') return false;
        ++i_;
        std::u16string wide;
        auto flush = [&] {
            out += Utf16ToUtf8(wide);
            wide.clear();
        };
        while (i_ < t_.size() && t_[i_] != '"') {
            char c = t_[i_++];
            if (c != '\\') {
                flush();
                out.push_back(c);
                continue;
            }
            char e = t_[i_++];
            unsigned u = 0;
            switch (e) {
                case 'n': flush(); out += '\n'; break;
                case 'r': flush(); out += '\r'; break;
                case 't': flush(); out += '\t'; break;
                case 'b': flush(); out += '\b'; break;
                case 'f': flush(); out += '\f'; break;
                case 'u':
                    if (!Hex4(u)) return false;
                    wide.push_back(static_cast<char16_t>(u));
                    break;
                default: flush(); out.push_back(e); break;
            }
        }
        flush();
        ++i_;
        return true;
    }
    bool Value(Json& v) {
        Space();
        if (i_ >= t_.size()) return false;
        char c = t_[i_];
        if (c == '"') {
            v.kind = Json::String;
            return Str(v.s);
        }
        if (c == '{') {
            v.kind = Json::Object;
            ++i_;
            Space();
            if (t_[i_] == '}') return ++i_, true;
            for (;;) {
                Space();
                std::string key;
                if (!Str(key)) return false;
                Space();
                if (t_[i_++] != ':') return false;
                if (!Value(v.fields[key])) return false;
                Space();
                if (t_[i_] == ',') {
                    ++i_;
                    continue;
                }
                return t_[i_++] == '}';
            }
        }
        if (c == '[') {
            v.kind = Json::Array;
            ++i_;
            Space();
            if (t_[i_] == ']') return ++i_, true;
            for (;;) {
                v.items.emplace_back();
                if (!Value(v.items.back())) return false;
                Space();
                if (t_[i_] == ',') {
                    ++i_;
                    continue;
                }
                return t_[i_++] == ']';
            }
        }
        if (Literal("true")) return v.kind = Json::Bool, v.b = true, true;
        if (Literal("false")) return v.kind = Json::Bool, true;
        if (Literal("null")) return true;
        std::size_t used = 0;
        v.kind = Json::Number;
        v.n = std::stod(t_.substr(i_), &used);
        i_ += used;
        return used > 0;
    }

    const std::string& t_;
    std::size_t i_ = 0;
};

inline bool ReadJson(const std::filesystem::path& p, Json& out) {
    out = Json{};
    std::string text = testsupport::ReadFileBytes(p);
    return JsonReader(text).Parse(out);
}

// The text of a string field; empty when absent or not a string.
inline std::string Text(const Json& object, const std::string& key)
{
    const Json* v = object.Get(key);
    return v && v->kind == Json::String ? v->s : std::string();
}

}  // namespace corpusjson
