// Root classes of the class library: TObject with its class name, TPersistent with Assign,
// and the notification event type.
#pragma once

#include <functional>
#include <string_view>

class TFiler;

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;

    // The name the class is known by in form files and messages ("TStringList").
    virtual std::string_view ClassName() const { return "TObject"; }
    // Case-insensitive test of the class name, as the class library compares them.
    bool ClassNameIs(std::string_view name) const;
};

// A method pointer to "procedure (Sender)": the sender is the object that changed.
using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
    std::string_view ClassName() const override { return "TPersistent"; }

    // Copies the source's content into this object. The base asks the source to assign
    // itself (AssignTo); when neither side knows the other, EConvertError is raised.
    virtual void Assign(const TPersistent* source);

    // Declares the object's own stored values to a form-file reader or writer (see Filer.h):
    // values that are no published property, or older names read and dropped.
    virtual void DefineProperties(TFiler*) {}

protected:
    virtual void AssignTo(TPersistent* dest) const;
    // Raises EConvertError "Cannot assign a <source> to a <this>".
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
