// Reading and writing components as form files: TFiler with DefineProperty and
// DefineBinaryProperty, TReader that creates components, sets their published properties,
// resolves component references and event handlers by name and calls Loaded, and TWriter that
// stores only the values that differ from their defaults (or from an ancestor's).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/vcl/Components.h"
#include "platform/vcl/FormFiles.h"
#include "platform/vcl/Streams.h"

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

class TFiler : public TObject {
public:
    std::string_view ClassName() const override { return "TFiler"; }

    // A value the object stores itself under a property name. The reader calls readData when
    // the file holds that name; the writer calls writeData when hasData is true.
    virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                                const TWriterProc& writeData, bool hasData) = 0;
    // The same for bytes, read from and written to a stream.
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

    TComponent* Root() const { return root_; }
    TComponent* LookupRoot() const { return root_; }
    // The writer's ancestor object of the one being written (null when none); a class's
    // DefineProperties compares with it to decide hasData.
    TPersistent* Ancestor() const { return ancestor_; }

protected:
    TComponent* root_ = nullptr;
    TPersistent* ancestor_ = nullptr;
};

class TReader : public TFiler {
public:
    // Reads the text of a form file (EParserError for malformed text).
    explicit TReader(std::string_view formText);
    std::string_view ClassName() const override { return "TReader"; }

    // Reads the file's root object into root, or into a new component of the file's class
    // when root is null. The root's name and properties are set from the file.
    TComponent* ReadRootComponent(TComponent* root);
    // The owner of the components created (the root unless set).
    TComponent* Owner() const { return owner_ ? owner_ : root_; }
    void SetOwner(TComponent* owner) { owner_ = owner; }

    // Called by TComponent::ReadState: the properties and children of the object being read.
    void ReadData(TComponent* instance);

    // An unknown property, class or value: message is the reason; setting handled skips it.
    std::function<void(TReader& reader, const AnsiString& message, bool& handled)> OnError;
    // A component reference that names no component of the root; returns the component or null.
    std::function<TComponent*(const AnsiString& name)> OnFindComponent;

    // The value API for DefineProperty's readData.
    TValueType NextValue() const;
    bool EndOfList() const;
    void ReadListBegin();
    void ReadListEnd();
    std::int64_t ReadInteger();
    std::int64_t ReadInt64() { return ReadInteger(); }
    double ReadFloat();
    bool ReadBoolean();
    AnsiString ReadString();  // any text value, as UTF-8
    WideString ReadWideString();
    AnsiString ReadIdent();   // identifiers, True, False and nil
    std::vector<std::string> ReadSet();
    WideChar ReadWideChar();
    void SkipValue();

    void DefineProperty(const std::string& name, const TReaderProc& readData,
                        const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

private:
    struct Fixup {
        TComponent* instance;
        TObject* target;
        const TPropInfo* prop;
        std::string name;
        std::string path;
    };
    struct Cursor {
        const std::vector<TFormValue>* values;
        std::size_t index;
    };

    TComponent* ReadObject(const TFormObject& node, TComponent* parent, TComponent* existing);
    void ReadProperty(TComponent* instance, const TFormProperty& property);
    void SetValue(TComponent* instance, TObject& target, const TPropInfo& prop, const TFormValue& value,
                  const std::string& path);
    bool ReadDefined(TPersistent& target, const std::string& name, const TFormValue& value);
    bool ReadStringsValue(TObject& target, const std::string& name, const TFormValue& value);
    void ReadCollection(TObject& target, const TFormValue& value, TComponent* instance, const std::string& path);
    void ResolveFixups();
    [[noreturn]] void Error(const std::string& path, const std::string& reason) const;
    bool Ignored(const std::string& message);
    const TFormValue& Current() const;
    const TFormValue& Take();

    TFormObject tree_;
    TComponent* owner_ = nullptr;
    TComponent* instance_ = nullptr;
    const TFormObject* node_ = nullptr;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
    std::vector<Cursor> cursors_;
    // DefineProperty lookup: the name asked for and whether a definition took it.
    const std::string* wanted_ = nullptr;
    const TFormValue* wantedValue_ = nullptr;
    bool found_ = false;
};

class TWriter : public TFiler {
public:
    TWriter() = default;
    std::string_view ClassName() const override { return "TWriter"; }

    // The root as a form-file tree. With an ancestor (an instance of the root's parent form
    // class), components it also has are written as "inherited" with the values that differ.
    TFormObject WriteRootComponent(TComponent* root, TComponent* ancestor = nullptr);

    // The value API for DefineProperty's writeData.
    void WriteListBegin();
    void WriteListEnd();
    void WriteInteger(std::int64_t value);
    void WriteFloat(double value);
    void WriteBoolean(bool value);
    void WriteString(std::string_view value);  // UTF-8
    void WriteWideString(const WideString& value);
    void WriteIdent(std::string_view ident);
    void WriteSet(const std::vector<std::string>& idents);

    void DefineProperty(const std::string& name, const TReaderProc& readData,
                        const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

private:
    TFormObject WriteObject(TComponent* instance, TComponent* ancestor);
    void WriteProperties(TObject& instance, const TObject* ancestor, const std::string& prefix,
                         std::vector<TFormProperty>& out);
    void WriteDefined(TPersistent& instance, TPersistent* ancestor, const std::string& prefix,
                      std::vector<TFormProperty>& out);
    bool ToFormValue(const TPropInfo& prop, const TPropValue& value, TFormValue& out) const;
    std::string ReferenceName(const TComponent* component) const;
    void Append(TFormValue value);

    TComponent* ancestorRoot_ = nullptr;
    std::vector<TFormProperty>* target_ = nullptr;
    std::string prefix_;
    std::vector<TFormValue*> open_;  // the value being written, and open lists inside it
    TFormValue single_;
    bool wrote_ = false;
};

// Reads a form file's text into instance (or a new component of its class when null).
TComponent* ReadComponentText(std::string_view text, TComponent* instance);
// Reads the compiled-in form resource of that name into instance.
TComponent* ReadComponentRes(std::string_view resourceName, TComponent* instance);
// The text form file of a component and everything it holds.
std::string ComponentToText(TComponent* root, TComponent* ancestor = nullptr);

// Reads the form resources of instance's classes, from the class just below rootAncestor down
// to instance's own class, so that a derived form adds to its parent's file. False when none
// of those classes has a resource.
bool InitInheritedComponent(TComponent* instance, const TMetaClass& rootAncestor);

// Finders of components by a global name ("Form2" in "Form2.Edit1"); forms register one.
void RegisterFindGlobalComponent(std::function<TComponent*(std::string_view name)> finder);
TComponent* FindGlobalComponent(std::string_view name);
