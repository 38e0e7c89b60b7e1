// Run-time type information of the class library: class descriptors (TMetaClass) with the
// parent class, a virtual constructor for components, the table of published properties
// (name, type, default, stored predicate, getter and setter) and published methods that events
// are bound to by name; the class registry by name; reading and writing a property by name.
#pragma once

#include <any>
#include <deque>
#include <optional>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <variant>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

class TComponent;
class TMetaClass;

QUILLORA_EXCEPTION_CLASS(EPropertyError, Exception);
QUILLORA_EXCEPTION_CLASS(EPropertyConvertError, Exception);
QUILLORA_EXCEPTION_CLASS(EClassNotFound, Exception);
QUILLORA_EXCEPTION_CLASS(EInvalidCast, Exception);

enum class TTypeKind { tkInteger, tkChar, tkWChar, tkEnumeration, tkSet, tkFloat, tkString, tkWString, tkClass, tkMethod };

// A set of enumeration values, kept as bits (an element's ordinal is its bit).
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) bits_ |= Bit(e);
    }
    static constexpr TSet FromBits(std::uint64_t bits) { TSet s; s.bits_ = bits; return s; }
    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& operator<<(E e) { bits_ |= Bit(e); return *this; }
    constexpr TSet& operator>>(E e) { bits_ &= ~Bit(e); return *this; }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t bits_ = 0;
};

// The description of a value type: the identifiers of an enumeration, the element type of a set,
// or the named constants of an integer type (colours, cursors).
struct TTypeInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    std::vector<std::string> EnumNames;               // tkEnumeration: names by ordinal
    const TTypeInfo* ElementType = nullptr;           // tkSet
    std::vector<std::pair<std::string, std::int64_t>> IntegerIdents;  // tkInteger constants

    // The ordinal of an enumeration identifier (case-insensitive), -1 when unknown.
    int EnumValue(std::string_view ident) const;
    // Integer constants: identifier to value and back.
    bool IdentToInt(std::string_view ident, std::int64_t& value) const;
    bool IntToIdent(std::int64_t value, std::string& ident) const;
};

// Named integer constants that every integer property accepts when read by name, after its
// own type's (the colour names for a colour property described without its type).
void RegisterIntegerIdents(const TTypeInfo* type);
bool FindIntegerIdent(std::string_view ident, std::int64_t& value);

// Declares TypeInfoOf<E>() for an enumeration with its identifiers in ordinal order.
template <class T>
const TTypeInfo* TypeInfoOf();
#define QUILLORA_ENUM_TYPEINFO(Enum, ...)                                                    \
    template <>                                                                              \
    inline const TTypeInfo* TypeInfoOf<Enum>() {                                             \
        static const TTypeInfo info{#Enum, TTypeKind::tkEnumeration, {__VA_ARGS__}, nullptr, {}}; \
        return &info;                                                                        \
    }

// The identifiers False and True.
template <>
const TTypeInfo* TypeInfoOf<bool>();

// A bound event handler: the object and the name of its published method, and the handler
// itself as the event's function type (std::function<...>) inside an std::any.
struct TMethod {
    TObject* Data = nullptr;
    std::string Name;
    std::any Code;
    bool Assigned() const { return Code.has_value(); }
    friend bool operator==(const TMethod& a, const TMethod& b) {
        return a.Data == b.Data && a.Name == b.Name && a.Code.has_value() == b.Code.has_value();
    }
};

// A property value: an ordinal (integer, character, enumeration, set bits), a float, text,
// an object, or a method.
using TPropValue = std::variant<std::monostate, std::int64_t, double, WideString, TObject*, TMethod>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    const TTypeInfo* Type = nullptr;        // enumerations, sets, integer constants
    // tkClass: the property's class when it is described (asked late: a class may have a
    // property of its own type).
    const TMetaClass* (*ClassType)() = nullptr;
    std::function<TPropValue(const TObject&)> Get;
    std::function<void(TObject&, const TPropValue&)> Set;  // empty for read-only properties
    std::optional<TPropValue> Default;                     // empty: no default, always stored
    std::function<bool(const TObject&)> Stored;            // empty: stored
    bool IsStored(const TObject& instance) const { return !Stored || Stored(instance); }
    // Makes sure the class of an object-valued property is described (descriptors are made on
    // first use), so that ClassOf finds the object's properties.
    void DescribeClassType() const {
        if (ClassType) ClassType();
    }
};

// A published method: makes the handler for an instance of the class that declares it.
struct TMethodInfo {
    std::string Name;
    std::function<std::any(TObject& instance)> Bind;
};

// The class reference of a described class.
class TMetaClass {
public:
    using Constructor = std::function<TComponent*(TComponent* owner)>;

    TMetaClass(std::string name, const TMetaClass* parent, std::type_index type,
               std::function<bool(const TObject*)> isInstance);
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    std::string_view ClassName() const { return name_; }
    const TMetaClass* ClassParent() const { return parent_; }
    bool InheritsFrom(const TMetaClass* other) const;
    bool IsInstance(const TObject* object) const { return object && isInstance_(object); }
    std::type_index Type() const { return type_; }

    // The virtual constructor of a component class; null for abstract classes and classes that
    // are no component. The new component belongs to its owner; without one, to the caller.
    bool CanCreate() const { return static_cast<bool>(constructor_); }
    TComponent* Create(TComponent* owner) const;

    // The published properties, the parent's first, in declaration order.
    std::vector<const TPropInfo*> Properties() const;
    const TPropInfo* FindProperty(std::string_view name) const;  // case-insensitive
    const TMethodInfo* FindMethod(std::string_view name) const;  // case-insensitive

    // Filled once by the class's describing function (see TClassBuilder).
    void SetConstructor(Constructor c) { constructor_ = std::move(c); }
    TPropInfo& AddProperty(TPropInfo info);
    void AddMethod(TMethodInfo info) { methods_.push_back(std::move(info)); }

private:
    std::string name_;
    const TMetaClass* parent_;
    std::type_index type_;
    std::function<bool(const TObject*)> isInstance_;
    Constructor constructor_;
    std::deque<TPropInfo> properties_;  // stable addresses while the class is described
    std::vector<TMethodInfo> methods_;
};

// The descriptor of an object's class: a component's ClassType, else the descriptor of its
// C++ type, else the most derived described class it belongs to; null for undescribed objects.
const TMetaClass* ClassOf(const TObject* object);
// Keeps a descriptor for the life of the process, findable by the C++ type it describes.
const TMetaClass& AdoptMetaClass(std::unique_ptr<TMetaClass> meta);

// The class registry that form files find classes in by name.
void RegisterClass(const TMetaClass& meta);
void RegisterClasses(std::initializer_list<const TMetaClass*> metas);
void UnRegisterClass(const TMetaClass& meta);
const TMetaClass* GetClass(std::string_view name);  // null when not registered
// As GetClass, but raises EClassNotFound "Class <name> not found".
const TMetaClass& FindClass(std::string_view name);

// Reading and writing published properties by name; an unknown name raises EPropertyError
// "Unknown property: <name>", a read-only one "Property <name> is read-only".
const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name);
bool IsPublishedProp(const TObject& instance, std::string_view name);
TPropValue GetPropValue(const TObject& instance, std::string_view name);
void SetPropValue(TObject& instance, std::string_view name, const TPropValue& value);
// Enumeration, set and integer-constant values as their identifiers ("alClient",
// "[akLeft,akTop]", "clBtnFace"); the rest as text.
AnsiString GetPropText(const TObject& instance, std::string_view name);
void SetPropText(TObject& instance, std::string_view name, std::string_view text);

// Conversions between C++ property types and TPropValue, used by TClassBuilder.
namespace typinfo_detail {

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type { using Element = E; };

template <class T>
struct IsFunction : std::false_type {};
template <class Sig>
struct IsFunction<std::function<Sig>> : std::true_type {};

template <class T, class = void>
struct HasStaticClass : std::false_type {};
template <class T>
struct HasStaticClass<T, std::void_t<decltype(T::StaticClass())>> : std::true_type {};

template <class T>
constexpr TTypeKind KindOf() {
    if constexpr (std::is_same_v<T, bool>) return TTypeKind::tkEnumeration;
    else if constexpr (std::is_same_v<T, char16_t>) return TTypeKind::tkWChar;
    else if constexpr (std::is_same_v<T, char>) return TTypeKind::tkChar;
    else if constexpr (std::is_enum_v<T>) return TTypeKind::tkEnumeration;
    else if constexpr (std::is_integral_v<T>) return TTypeKind::tkInteger;
    else if constexpr (std::is_floating_point_v<T>) return TTypeKind::tkFloat;
    else if constexpr (std::is_same_v<T, WideString>) return TTypeKind::tkWString;
    else if constexpr (std::is_same_v<T, AnsiString>) return TTypeKind::tkString;
    else if constexpr (IsSet<T>::value) return TTypeKind::tkSet;
    else if constexpr (IsFunction<T>::value) return TTypeKind::tkMethod;
    else if constexpr (std::is_pointer_v<T>) return TTypeKind::tkClass;
    else static_assert(sizeof(T) == 0, "no published property type");
}

template <class T>
const TTypeInfo* TypeOf() {
    if constexpr (std::is_same_v<T, bool> || std::is_enum_v<T>) return TypeInfoOf<T>();
    else if constexpr (IsSet<T>::value) {
        static const TTypeInfo info{"set", TTypeKind::tkSet, {}, TypeInfoOf<typename IsSet<T>::Element>(), {}};
        return &info;
    } else return nullptr;
}

template <class T>
TPropValue ToValue(const T& v) {
    if constexpr (std::is_enum_v<T>) return static_cast<std::int64_t>(v);
    else if constexpr (std::is_integral_v<T>) return static_cast<std::int64_t>(v);
    else if constexpr (std::is_floating_point_v<T>) return static_cast<double>(v);
    else if constexpr (std::is_same_v<T, WideString>) return v;
    else if constexpr (std::is_same_v<T, AnsiString>) return Utf8ToUtf16(v);
    else if constexpr (IsSet<T>::value) return static_cast<std::int64_t>(v.Bits());
    else if constexpr (std::is_pointer_v<T>) return static_cast<TObject*>(const_cast<std::remove_const_t<std::remove_pointer_t<T>>*>(v));
    else static_assert(sizeof(T) == 0, "no published property type");
}

[[noreturn]] void InvalidValue(std::string_view property);

template <class T>
T FromValue(const TPropValue& value, std::string_view property) {
    if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
        if (const auto* i = std::get_if<std::int64_t>(&value)) {
            if constexpr (std::is_floating_point_v<T>) return static_cast<T>(*i);
            else return static_cast<T>(*i);
        }
        if constexpr (std::is_floating_point_v<T>) {
            if (const auto* d = std::get_if<double>(&value)) return static_cast<T>(*d);
        }
        InvalidValue(property);
    } else if constexpr (std::is_same_v<T, WideString> || std::is_same_v<T, AnsiString>) {
        const auto* w = std::get_if<WideString>(&value);
        if (!w) InvalidValue(property);
        if constexpr (std::is_same_v<T, WideString>) return *w;
        else return Utf16ToUtf8(*w);
    } else if constexpr (IsSet<T>::value) {
        const auto* i = std::get_if<std::int64_t>(&value);
        if (!i) InvalidValue(property);
        return T::FromBits(static_cast<std::uint64_t>(*i));
    } else if constexpr (std::is_pointer_v<T>) {
        if (std::holds_alternative<std::monostate>(value)) return nullptr;
        const auto* o = std::get_if<TObject*>(&value);
        if (!o) InvalidValue(property);
        if (!*o) return nullptr;
        auto* typed = dynamic_cast<T>(*o);
        if (!typed) InvalidValue(property);
        return typed;
    } else {
        static_assert(sizeof(T) == 0, "no published property type");
    }
}

template <class T>
auto ClassTypeOf() -> const TMetaClass* (*)() {
    if constexpr (std::is_pointer_v<T>) {
        using C = std::remove_const_t<std::remove_pointer_t<T>>;
        if constexpr (HasStaticClass<C>::value) return [] { return &C::StaticClass(); };
    }
    return nullptr;
}

template <class Sig>
struct MethodMaker;
template <class R, class... A>
struct MethodMaker<R(A...)> {
    template <class C, class M>
    static std::any Make(C* object, M method) {
        return std::any(std::function<R(A...)>([object, method](A... args) -> R {
            return (object->*method)(std::forward<A>(args)...);
        }));
    }
};

}  // namespace typinfo_detail

// Bound-method names of events are kept by the component that owns the event; these reach them.
void RememberMethodName(TObject& instance, std::string_view property, const std::string& name);
std::string RememberedMethodName(const TObject& instance, std::string_view property);

// The property being described, for chaining .Default(), .Stored(), .Type().
class TPropBuilder {
public:
    explicit TPropBuilder(TPropInfo& info) : info_(info) {}
    template <class T>
    TPropBuilder& Default(const T& value) {
        info_.Default = typinfo_detail::ToValue(value);
        return *this;
    }
    TPropBuilder& Default(const char16_t* value) { info_.Default = WideString(value); return *this; }
    // The property is written even when it equals its default (or has none): "nodefault".
    TPropBuilder& NoDefault() { info_.Default.reset(); return *this; }
    TPropBuilder& Stored(std::function<bool(const TObject&)> stored) { info_.Stored = std::move(stored); return *this; }
    // Named integer constants (colours, cursors) for an integer property.
    TPropBuilder& Type(const TTypeInfo* type) { info_.Type = type; return *this; }

private:
    TPropInfo& info_;
};

// Fills a class descriptor: properties through getters and setters (member functions, data
// members or lambdas), events through std::function data members, and published methods.
template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(TMetaClass& meta) : meta_(meta) {}

    template <class G, class S>
    TPropBuilder Property(std::string name, G getter, S setter) {
        using T = std::decay_t<std::invoke_result_t<G, const C&>>;
        TPropInfo info = Describe<T>(name);
        info.Get = [getter](const TObject& o) {
            return typinfo_detail::ToValue<T>(std::invoke(getter, static_cast<const C&>(o)));
        };
        info.Set = [setter, name](TObject& o, const TPropValue& v) {
            std::invoke(setter, static_cast<C&>(o), typinfo_detail::FromValue<T>(v, name));
        };
        return Add(std::move(info));
    }

    template <class G>
    TPropBuilder ReadOnly(std::string name, G getter) {
        using T = std::decay_t<std::invoke_result_t<G, const C&>>;
        TPropInfo info = Describe<T>(name);
        info.Get = [getter](const TObject& o) {
            return typinfo_detail::ToValue<T>(std::invoke(getter, static_cast<const C&>(o)));
        };
        return Add(std::move(info));
    }

    // A property stored in a data member.
    template <class T>
    TPropBuilder Field(std::string name, T C::*member) {
        return Property(name, [member](const C& c) -> const T& { return c.*member; },
                        [member](C& c, const T& v) { c.*member = v; });
    }

    // An event: a std::function data member bound by a published method's name.
    template <class Sig>
    TPropBuilder Event(std::string name, std::function<Sig> C::*member) {
        TPropInfo info;
        info.Name = name;
        info.Kind = TTypeKind::tkMethod;
        info.Get = [member, name](const TObject& o) -> TPropValue {
            const auto& fn = static_cast<const C&>(o).*member;
            if (!fn) return TMethod{};
            return TMethod{nullptr, RememberedMethodName(o, name), std::any(fn)};
        };
        info.Set = [member, name](TObject& o, const TPropValue& v) {
            auto& fn = static_cast<C&>(o).*member;
            if (std::holds_alternative<std::monostate>(v)) {
                fn = nullptr;
                RememberMethodName(o, name, {});
                return;
            }
            const auto* m = std::get_if<TMethod>(&v);
            if (!m) typinfo_detail::InvalidValue(name);
            if (!m->Code.has_value()) {
                fn = nullptr;
            } else {
                const auto* f = std::any_cast<std::function<Sig>>(&m->Code);
                if (!f) typinfo_detail::InvalidValue(name);
                fn = *f;
            }
            RememberMethodName(o, name, m->Name);
        };
        info.Default = TMethod{};
        return Add(std::move(info));
    }

    // A published method that events of the form's components can be bound to by name.
    template <class M>
    void Method(std::string name, M method) {
        meta_.AddMethod(TMethodInfo{std::move(name), [method](TObject& o) {
            return BindMethod(static_cast<C*>(&o), method);
        }});
    }

private:
    template <class R, class... A>
    static std::any BindMethod(C* object, R (C::*method)(A...)) {
        return typinfo_detail::MethodMaker<R(A...)>::Make(object, method);
    }
    template <class B, class R, class... A>
    static std::any BindMethod(C* object, R (B::*method)(A...)) {
        return typinfo_detail::MethodMaker<R(A...)>::Make(static_cast<B*>(object), method);
    }

    template <class T>
    static TPropInfo Describe(const std::string& name) {
        TPropInfo info;
        info.Name = name;
        info.Kind = typinfo_detail::KindOf<T>();
        info.Type = typinfo_detail::TypeOf<T>();
        info.ClassType = typinfo_detail::ClassTypeOf<T>();
        // The usual defaults: zero, empty text, nil; ordinals are written unless told.
        if constexpr (std::is_same_v<T, WideString> || std::is_same_v<T, AnsiString>) info.Default = WideString();
        else if constexpr (std::is_floating_point_v<T>) info.Default = 0.0;
        else if constexpr (std::is_pointer_v<T>) info.Default = static_cast<TObject*>(nullptr);
        return info;
    }

    TPropBuilder Add(TPropInfo info) { return TPropBuilder(meta_.AddProperty(std::move(info))); }

    TMetaClass& meta_;
};

// Makes the descriptor of class C with its parent's descriptor; describe fills the tables.
template <class C>
const TMetaClass& DescribeClass(const char* name, const TMetaClass* parent,
                                const std::function<void(TClassBuilder<C>&)>& describe = {}) {
    auto meta = std::make_unique<TMetaClass>(
        name, parent, std::type_index(typeid(C)),
        [](const TObject* o) { return dynamic_cast<const C*>(o) != nullptr; });
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>) {
        // A component with an owner belongs to it; without one the caller takes it.
        meta->SetConstructor([](TComponent* owner) -> TComponent* { return new C(owner); });
    }
    TClassBuilder<C> builder(*meta);
    if (describe) describe(builder);
    return AdoptMetaClass(std::move(meta));
}

// In the body of a described component class: its name, its descriptor (defined in its .cpp
// with DescribeClass) and the virtual class reference.
#define QUILLORA_COMPONENT(Class)                                                     \
public:                                                                               \
    std::string_view ClassName() const override { return #Class; }                    \
    static const TMetaClass& StaticClass();                                           \
    const TMetaClass& ClassType() const override { return StaticClass(); }            \
                                                                                      \
private:

// The same for a described class that is no component (fonts, collections, ...).
#define QUILLORA_PERSISTENT(Class)                                                    \
public:                                                                               \
    std::string_view ClassName() const override { return #Class; }                    \
    static const TMetaClass& StaticClass();                                           \
                                                                                      \
private:
