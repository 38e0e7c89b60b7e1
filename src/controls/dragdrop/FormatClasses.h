// Class references of the format classes: the conversion map and the registry hold classes, not
// objects, and make instances from them. Each class names its parent for "derives from", its
// parameterless constructor (none for abstract classes), the directions its data travel, and
// the registration that adds its conversions.
#pragma once

#include <memory>
#include <string_view>

#include "platform/vcl/TypInfo.h"

enum TConversionCapability { ccWriteToDataFormat, ccReadFromDataFormat };
using TConversionCapabilities = TSet<TConversionCapability>;
// ddRead: from source to target; ddWrite: the target writes it back into the source.
enum TDataDirection { ddRead, ddWrite };
using TDataDirections = TSet<TDataDirection>;
enum TDragDropTier { ddtSource, ddtTarget };
enum TDataFormatDirection { dfdConsumer, dfdProvider };

class TClipboardFormat;
class TCustomDataFormat;
class TDragDropComponent;

template <class Object, class... Args>
struct TFormatClass {
    using ObjectType = Object;
    std::string_view Name;
    const TFormatClass* Parent = nullptr;
    std::unique_ptr<Object> (*Create)(Args...) = nullptr;
    TDataDirections Direction = {ddRead};
    void (*RegisterCompatibleFormats)() = nullptr;

    bool InheritsFrom(const TFormatClass& other) const {
        for (const TFormatClass* c = this; c; c = c->Parent)
            if (c == &other) return true;
        return false;
    }
};

using TClipboardFormatClass = TFormatClass<TClipboardFormat>;
// Data formats are made for the component they belong to.
using TDataFormatClass = TFormatClass<TCustomDataFormat, TDragDropComponent*>;

// The class reference of a format class, with the accessors every format class has.
#define DRAGDROP_FORMAT_CLASS(Kind)                                       \
public:                                                                   \
    static const Kind& StaticClass();                                     \
    const Kind& ClassType() const override { return StaticClass(); }

// Defines StaticClass of a concrete clipboard format class (made with its parameterless
// constructor) or data format class (made with its owner).
#define DRAGDROP_DEFINE_CLASS(Kind, Class, ParentClass, ...)                                        \
    const Kind& Class::StaticClass() {                                                              \
        static const Kind c{#Class, &ParentClass::StaticClass(),                                    \
                            [](auto... args) -> std::unique_ptr<Kind::ObjectType> {                 \
                                return std::make_unique<Class>(args...);                            \
                            },                                                                      \
                            __VA_ARGS__};                                                           \
        return c;                                                                                   \
    }
// The same for an abstract class.
#define DRAGDROP_DEFINE_ABSTRACT_CLASS(Kind, Class, ParentClass, ...)           \
    const Kind& Class::StaticClass() {                                           \
        static const Kind c{#Class, &ParentClass::StaticClass(), nullptr, __VA_ARGS__}; \
        return c;                                                                \
    }
