#include "platform/vcl/TypInfo.h"

#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/vcl/Components.h"

namespace {

bool SameIdent(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

struct CaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
            if (lower(a[i]) != lower(b[i])) return lower(a[i]) < lower(b[i]);
        }
        return a.size() < b.size();
    }
};

// Every descriptor made, by the C++ type it describes; and the registry by name.
struct Registry {
    std::mutex lock;
    std::vector<std::unique_ptr<TMetaClass>> all;
    std::unordered_map<std::type_index, const TMetaClass*> byType;
    std::map<std::string, const TMetaClass*, CaseLess> byName;
};

// Lives for the whole process: components ask for their classes while statics go at exit.
Registry& TheRegistry() {
    static Registry* r = new Registry;
    return *r;
}

}  // namespace

int TTypeInfo::EnumValue(std::string_view ident) const {
    for (std::size_t i = 0; i < EnumNames.size(); ++i)
        if (SameIdent(EnumNames[i], ident)) return static_cast<int>(i);
    return -1;
}

bool TTypeInfo::IdentToInt(std::string_view ident, std::int64_t& value) const {
    for (const auto& [name, v] : IntegerIdents)
        if (SameIdent(name, ident)) {
            value = v;
            return true;
        }
    return false;
}

namespace {
std::vector<const TTypeInfo*>& IdentTables() {
    static auto* tables = new std::vector<const TTypeInfo*>;
    return *tables;
}
}  // namespace

void RegisterIntegerIdents(const TTypeInfo* type) {
    std::lock_guard guard(TheRegistry().lock);
    IdentTables().push_back(type);
}

bool FindIntegerIdent(std::string_view ident, std::int64_t& value) {
    std::lock_guard guard(TheRegistry().lock);
    for (const TTypeInfo* t : IdentTables())
        if (t->IdentToInt(ident, value)) return true;
    return false;
}

bool TTypeInfo::IntToIdent(std::int64_t value, std::string& ident) const {
    for (const auto& [name, v] : IntegerIdents)
        if (v == value) {
            ident = name;
            return true;
        }
    return false;
}

template <>
const TTypeInfo* TypeInfoOf<bool>() {
    static const TTypeInfo info{"Boolean", TTypeKind::tkEnumeration, {"False", "True"}, nullptr, {}};
    return &info;
}

TMetaClass::TMetaClass(std::string name, const TMetaClass* parent, std::type_index type,
                       std::function<bool(const TObject*)> isInstance)
    : name_(std::move(name)), parent_(parent), type_(type), isInstance_(std::move(isInstance)) {}

bool TMetaClass::InheritsFrom(const TMetaClass* other) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

TComponent* TMetaClass::Create(TComponent* owner) const {
    if (!constructor_) throw EInvalidCast("Cannot create an instance of the abstract class " + name_);
    return constructor_(owner);
}

std::vector<const TPropInfo*> TMetaClass::Properties() const {
    std::vector<const TPropInfo*> out = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : properties_) {
        // A class that publishes a parent's property again replaces it in place.
        bool replaced = false;
        for (auto& q : out)
            if (SameIdent(q->Name, p.Name)) {
                q = &p;
                replaced = true;
            }
        if (!replaced) out.push_back(&p);
    }
    return out;
}

const TPropInfo* TMetaClass::FindProperty(std::string_view name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->properties_)
            if (SameIdent(p.Name, name)) return &p;
    return nullptr;
}

const TMethodInfo* TMetaClass::FindMethod(std::string_view name) const {
    for (const TMetaClass* c = this; c; c = c->parent_)
        for (const TMethodInfo& m : c->methods_)
            if (SameIdent(m.Name, name)) return &m;
    return nullptr;
}

TPropInfo& TMetaClass::AddProperty(TPropInfo info) {
    properties_.push_back(std::move(info));
    return properties_.back();
}

const TMetaClass& AdoptMetaClass(std::unique_ptr<TMetaClass> meta) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const TMetaClass* m = meta.get();
    r.byType[m->Type()] = m;
    r.all.push_back(std::move(meta));
    return *m;
}

const TMetaClass* ClassOf(const TObject* object) {
    if (!object) return nullptr;
    if (const auto* c = dynamic_cast<const TComponent*>(object)) return &c->ClassType();
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const std::type_index type(typeid(*object));
    if (auto it = r.byType.find(type); it != r.byType.end()) return it->second;
    // An undescribed subclass: the most derived described class it belongs to.
    const TMetaClass* best = nullptr;
    for (const auto& m : r.all)
        if (m->IsInstance(object) && (!best || m->InheritsFrom(best))) best = m.get();
    return best;
}

void RegisterClass(const TMetaClass& meta) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.byName[std::string(meta.ClassName())] = &meta;
}

void RegisterClasses(std::initializer_list<const TMetaClass*> metas) {
    for (const TMetaClass* m : metas) RegisterClass(*m);
}

void UnRegisterClass(const TMetaClass& meta) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    auto it = r.byName.find(meta.ClassName());
    if (it != r.byName.end() && it->second == &meta) r.byName.erase(it);
}

const TMetaClass* GetClass(std::string_view name) {
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    auto it = r.byName.find(name);
    return it == r.byName.end() ? nullptr : it->second;
}

const TMetaClass& FindClass(std::string_view name) {
    if (const TMetaClass* m = GetClass(name)) return *m;
    throw EClassNotFound("Class " + AnsiString(name) + " not found");
}

namespace typinfo_detail {
void InvalidValue(std::string_view property) {
    throw EPropertyConvertError("Invalid property value for " + AnsiString(property));
}
}  // namespace typinfo_detail

void RememberMethodName(TObject& instance, std::string_view property, const std::string& name) {
    if (auto* c = dynamic_cast<TComponent*>(&instance)) c->SetMethodName(property, name);
}

std::string RememberedMethodName(const TObject& instance, std::string_view property) {
    if (const auto* c = dynamic_cast<const TComponent*>(&instance)) return c->MethodName(property);
    return {};
}

const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name) {
    const TMetaClass* meta = ClassOf(&instance);
    return meta ? meta->FindProperty(name) : nullptr;
}

bool IsPublishedProp(const TObject& instance, std::string_view name) {
    return GetPropInfo(instance, name) != nullptr;
}

namespace {
const TPropInfo& NeedProp(const TObject& instance, std::string_view name) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p) throw EPropertyError("Unknown property: " + AnsiString(name));
    return *p;
}
}  // namespace

TPropValue GetPropValue(const TObject& instance, std::string_view name) {
    return NeedProp(instance, name).Get(instance);
}

void SetPropValue(TObject& instance, std::string_view name, const TPropValue& value) {
    const TPropInfo& p = NeedProp(instance, name);
    if (!p.Set) throw EPropertyError("Property " + AnsiString(name) + " is read-only");
    p.Set(instance, value);
}

AnsiString GetPropText(const TObject& instance, std::string_view name) {
    const TPropInfo& p = NeedProp(instance, name);
    const TPropValue v = p.Get(instance);
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
        if (p.Kind == TTypeKind::tkEnumeration && p.Type && *i >= 0 &&
            *i < static_cast<std::int64_t>(p.Type->EnumNames.size()))
            return p.Type->EnumNames[static_cast<std::size_t>(*i)];
        if (p.Kind == TTypeKind::tkSet && p.Type && p.Type->ElementType) {
            AnsiString out = "[";
            const auto& names = p.Type->ElementType->EnumNames;
            for (std::size_t b = 0; b < names.size() && b < 64; ++b)
                if (static_cast<std::uint64_t>(*i) & (std::uint64_t{1} << b)) {
                    if (out.size() > 1) out += ',';
                    out += names[b];
                }
            return out + "]";
        }
        std::string ident;
        if (p.Type && p.Type->IntToIdent(*i, ident)) return ident;
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&v)) return std::to_string(*d);
    if (const auto* w = std::get_if<WideString>(&v)) return Utf16ToUtf8(*w);
    if (const auto* o = std::get_if<TObject*>(&v)) {
        if (const auto* c = dynamic_cast<const TComponent*>(*o)) return c->Name();
        return {};
    }
    if (const auto* m = std::get_if<TMethod>(&v)) return m->Name;
    return {};
}

void SetPropText(TObject& instance, std::string_view name, std::string_view text) {
    const TPropInfo& p = NeedProp(instance, name);
    if (!p.Set) throw EPropertyError("Property " + AnsiString(name) + " is read-only");
    const auto parseInt = [&](std::string_view t) {
        std::int64_t v = 0;
        if (p.Type && p.Type->IdentToInt(t, v)) return v;
        try {
            std::size_t used = 0;
            std::string s(t);
            int base = 10;
            if (!s.empty() && s[0] == '$') {  // the class library's hexadecimal
                s.erase(0, 1);
                base = 16;
            }
            if (s.empty() || std::isspace(static_cast<unsigned char>(s[0]))) typinfo_detail::InvalidValue(name);
            v = std::stoll(s, &used, base);
            if (used != s.size()) typinfo_detail::InvalidValue(name);
        } catch (const std::logic_error&) {
            typinfo_detail::InvalidValue(name);
        }
        return v;
    };
    switch (p.Kind) {
    case TTypeKind::tkEnumeration: {
        const int v = p.Type ? p.Type->EnumValue(text) : -1;
        if (v < 0) typinfo_detail::InvalidValue(name);
        p.Set(instance, std::int64_t{v});
        return;
    }
    case TTypeKind::tkSet: {
        std::string_view t = text;
        if (t.size() < 2 || t.front() != '[' || t.back() != ']') typinfo_detail::InvalidValue(name);
        t = t.substr(1, t.size() - 2);
        std::uint64_t bits = 0;
        while (!t.empty()) {
            const std::size_t comma = t.find(',');
            std::string_view item = t.substr(0, comma);
            while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
            while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
            const int v = p.Type && p.Type->ElementType ? p.Type->ElementType->EnumValue(item) : -1;
            if (v < 0 || v >= 64) typinfo_detail::InvalidValue(name);
            bits |= std::uint64_t{1} << v;
            t = comma == std::string_view::npos ? std::string_view() : t.substr(comma + 1);
        }
        p.Set(instance, static_cast<std::int64_t>(bits));
        return;
    }
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
        p.Set(instance, parseInt(text));
        return;
    case TTypeKind::tkFloat:
        try {
            p.Set(instance, std::stod(std::string(text)));
        } catch (const std::logic_error&) {
            typinfo_detail::InvalidValue(name);
        }
        return;
    case TTypeKind::tkString:
    case TTypeKind::tkWString:
        p.Set(instance, Utf8ToUtf16(text));
        return;
    case TTypeKind::tkClass:
    case TTypeKind::tkMethod:
        break;
    }
    throw EPropertyError("Property " + AnsiString(name) + " cannot be set from text");
}
