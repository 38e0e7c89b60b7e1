#include "platform/vcl/Filer.h"

#include <mutex>

#include "platform/vcl/Collections.h"
#include "platform/vcl/Strings.h"
#include "platform/win/WinString.h"

namespace {

std::vector<std::string> SplitDots(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = name.find('.', start);
        parts.push_back(name.substr(start, dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

std::string ComponentPath(const TComponent* c) {
    if (!c) return {};
    return c->Name().empty() ? std::string(c->ClassName()) : c->Name();
}

struct GlobalFinders {
    std::mutex lock;
    std::vector<std::function<TComponent*(std::string_view)>> finders;
};

GlobalFinders& TheFinders() {
    static GlobalFinders f;
    return f;
}

// The string lists of either width, read and written as "Strings = ('a' 'b')".
template <class F>
bool WithStrings(TObject& target, F&& f) {
    if (auto* a = dynamic_cast<TStringsOf<AnsiString>*>(&target)) {
        f(*a);
        return true;
    }
    if (auto* w = dynamic_cast<TStringsOf<WideString>*>(&target)) {
        f(*w);
        return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TReader

TReader::TReader(std::string_view formText) : tree_(ParseFormText(formText)) {}

void TReader::Error(const std::string& path, const std::string& reason) const {
    throw EReadError("Error reading " + path + ": " + reason);
}

bool TReader::Ignored(const std::string& message) {
    bool handled = false;
    if (OnError) OnError(*this, message, handled);
    return handled;
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    if (!root) {
        const TMetaClass& meta = FindClass(tree_.ClassName);
        root = meta.Create(nullptr);
    } else if (!AnsiSameText(root->ClassName(), tree_.ClassName) &&
               !(GetClass(tree_.ClassName) && root->InheritsFrom(*GetClass(tree_.ClassName)))) {
        Error(tree_.Name, "the file holds a " + tree_.ClassName + ", not a " + AnsiString(root->ClassName()));
    }
    root_ = root;
    loaded_.clear();
    fixups_.clear();
    try {
        ReadObject(tree_, nullptr, root);
        ResolveFixups();
    } catch (...) {
        for (TComponent* c : loaded_) c->SetLoadingState({}, {csLoading, csReading});
        throw;
    }
    for (TComponent* c : loaded_) c->SetLoadingState({}, {csReading});
    const std::vector<TComponent*> loaded = std::move(loaded_);
    loaded_.clear();
    for (TComponent* c : loaded) c->Loaded();
    return root;
}

TComponent* TReader::ReadObject(const TFormObject& node, TComponent* parent, TComponent* existing) {
    TComponent* instance = existing;
    if (!instance && node.Kind != TFormObjectKind::Object) {
        // "inherited" and "inline" name a component the ancestor's file already made.
        instance = root_->FindComponent(node.Name);
        if (!instance) Error(ComponentPath(root_) + "." + node.Name, "ancestor for '" + node.Name + "' not found");
    }
    if (!instance) {
        const TMetaClass* meta = GetClass(node.ClassName);
        if (!meta) {
            if (Ignored("Class " + node.ClassName + " not found")) return nullptr;
            throw EClassNotFound("Class " + node.ClassName + " not found");
        }
        instance = meta->Create(Owner());
        instance->SetLoadingState({csLoading, csReading}, {});
        try {
            instance->SetName(node.Name);
        } catch (const EComponentError& e) {
            delete instance;
            throw EReadError("Error reading " + ComponentPath(root_) + ": " + e.AnsiMessage());
        }
        if (parent) instance->SetParentComponent(parent);
    } else {
        instance->SetLoadingState({csLoading, csReading}, {});
        if (instance == root_ && !node.Name.empty()) instance->SetName(node.Name);
    }
    loaded_.push_back(instance);
    const TFormObject* savedNode = node_;
    TComponent* savedInstance = instance_;
    node_ = &node;
    instance_ = instance;
    instance->ReadState(*this);
    node_ = savedNode;
    instance_ = savedInstance;
    return instance;
}

void TReader::ReadData(TComponent* instance) {
    const TFormObject& node = *node_;
    for (const TFormProperty& p : node.Properties) ReadProperty(instance, p);
    // Non-visual components of a form sit at its top level; controls go into their parent.
    for (const TFormObject& child : node.Children) ReadObject(child, instance, nullptr);
}

void TReader::ReadProperty(TComponent* instance, const TFormProperty& property) {
    const std::string path = ComponentPath(instance) + "." + property.Name;
    const std::vector<std::string> parts = SplitDots(property.Name);
    TObject* target = instance;
    // "Font.Name": walk the object-valued properties to the last part.
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo* prop = GetPropInfo(*target, parts[i]);
        TObject* next = nullptr;
        if (prop && prop->Kind == TTypeKind::tkClass) {
            prop->DescribeClassType();
            const TPropValue v = prop->Get(*target);
            if (const auto* o = std::get_if<TObject*>(&v)) next = *o;
        }
        if (!next) {
            if (Ignored("Property " + parts[i] + " does not exist")) return;
            Error(path, "Property " + parts[i] + " does not exist");
        }
        target = next;
    }
    const std::string& last = parts.back();
    if (const TPropInfo* prop = GetPropInfo(*target, last)) {
        SetValue(instance, *target, *prop, property.Value, path);
        return;
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
        if (ReadDefined(*persistent, last, property.Value)) return;
    }
    if (AnsiSameText(last, "Strings") && ReadStringsValue(*target, path, property.Value)) return;
    if (Ignored("Property " + last + " does not exist")) return;
    Error(path, "Property " + last + " does not exist");
}

bool TReader::ReadStringsValue(TObject& target, const std::string& path, const TFormValue& value) {
    return WithStrings(target, [&](auto& list) {
        using S = typename std::decay_t<decltype(list)>::String;
        if (value.Type != vaList) Error(path, "Invalid property value");
        list.BeginUpdate();
        list.Clear();
        for (const TFormValue& item : value.List) {
            if (!item.IsText()) {
                list.EndUpdate();
                Error(path, "Invalid property value");
            }
            if constexpr (std::is_same_v<S, WideString>) list.Add(item.Text);
            else list.Add(Utf16ToUtf8(item.Text));
        }
        list.EndUpdate();
    });
}

bool TReader::ReadDefined(TPersistent& target, const std::string& name, const TFormValue& value) {
    const std::string* savedWanted = wanted_;
    const TFormValue* savedValue = wantedValue_;
    const bool savedFound = found_;
    wanted_ = &name;
    wantedValue_ = &value;
    found_ = false;
    try {
        target.DefineProperties(this);
    } catch (...) {
        wanted_ = savedWanted;
        wantedValue_ = savedValue;
        found_ = savedFound;
        throw;
    }
    const bool found = found_;
    wanted_ = savedWanted;
    wantedValue_ = savedValue;
    found_ = savedFound;
    return found;
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool) {
    if (!wanted_ || found_ || !AnsiSameText(name, *wanted_) || !readData) return;
    found_ = true;
    const std::vector<TFormValue> one{*wantedValue_};
    const std::vector<Cursor> saved = std::move(cursors_);
    cursors_ = {Cursor{&one, 0}};
    const std::string path = ComponentPath(instance_) + "." + name;
    try {
        readData(*this);
    } catch (const Exception& e) {
        cursors_ = saved;
        if (e.AnsiMessage().rfind("Error reading ", 0) == 0) throw;
        Error(path, e.AnsiMessage());
    }
    const bool complete = cursors_.size() == 1 && cursors_[0].index == 1;
    cursors_ = saved;
    if (!complete) Error(path, "Invalid property value");
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool) {
    if (!wanted_ || found_ || !AnsiSameText(name, *wanted_) || !readData) return;
    found_ = true;
    if (wantedValue_->Type != vaBinary) Error(ComponentPath(instance_) + "." + name, "Invalid property value");
    TMemoryStream stream;
    const std::string& bytes = wantedValue_->Binary;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    readData(stream);
}

void TReader::SetValue(TComponent* instance, TObject& target, const TPropInfo& prop, const TFormValue& value,
                       const std::string& path) {
    const auto invalid = [&]() {
        if (Ignored("Invalid property value")) return;
        Error(path, "Invalid property value");
    };
    if (!prop.Set && prop.Kind != TTypeKind::tkClass) {
        if (!Ignored("Property " + prop.Name + " is read-only")) Error(path, "Property " + prop.Name + " is read-only");
        return;
    }
    TPropValue v;
    switch (prop.Kind) {
    case TTypeKind::tkInteger: {
        std::int64_t n = 0;
        if (value.IsInteger()) n = value.Integer;
        else if (value.Type != vaIdent ||
                 !((prop.Type && prop.Type->IdentToInt(value.Ident, n)) || FindIntegerIdent(value.Ident, n)))
            return invalid();
        v = n;
        break;
    }
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
        if (value.IsInteger()) v = value.Integer;
        else if (value.IsText() && value.Text.size() == 1) v = std::int64_t{value.Text[0]};
        else return invalid();
        break;
    case TTypeKind::tkEnumeration: {
        int ordinal = -1;
        if (value.Type == vaTrue || value.Type == vaFalse) ordinal = value.Type == vaTrue ? 1 : 0;
        else if (value.Type == vaIdent && prop.Type) ordinal = prop.Type->EnumValue(value.Ident);
        else if (value.IsInteger() && prop.Type && value.Integer >= 0 &&
                 value.Integer < static_cast<std::int64_t>(prop.Type->EnumNames.size()))
            ordinal = static_cast<int>(value.Integer);
        if (ordinal < 0) return invalid();
        v = std::int64_t{ordinal};
        break;
    }
    case TTypeKind::tkSet: {
        if (value.Type != vaSet || !prop.Type || !prop.Type->ElementType) return invalid();
        std::uint64_t bits = 0;
        for (const std::string& item : value.Set) {
            const int e = prop.Type->ElementType->EnumValue(item);
            if (e < 0 || e >= 64) return invalid();
            bits |= std::uint64_t{1} << e;
        }
        v = static_cast<std::int64_t>(bits);
        break;
    }
    case TTypeKind::tkFloat:
        if (value.IsFloat()) v = value.Float;
        else if (value.IsInteger()) v = static_cast<double>(value.Integer);
        else return invalid();
        break;
    case TTypeKind::tkString:
    case TTypeKind::tkWString:
        if (!value.IsText()) return invalid();
        v = value.Text;
        break;
    case TTypeKind::tkMethod: {
        if (value.Type == vaNil) {
            v = std::monostate{};
            break;
        }
        if (value.Type != vaIdent) return invalid();
        const TMetaClass* rootClass = ClassOf(root_);
        const TMethodInfo* method = rootClass ? rootClass->FindMethod(value.Ident) : nullptr;
        if (!method) {
            if (Ignored("Method " + value.Ident + " not found")) return;
            Error(path, "Method " + value.Ident + " not found in " + AnsiString(root_->ClassName()));
        }
        v = TMethod{root_, value.Ident, method->Bind(*root_)};
        break;
    }
    case TTypeKind::tkClass: {
        if (value.Type == vaNil) {
            if (prop.Set) prop.Set(target, static_cast<TObject*>(nullptr));
            return;
        }
        if (value.Type == vaIdent) {
            if (!prop.Set) return invalid();
            fixups_.push_back(Fixup{instance, &target, &prop, value.Ident, path});
            return;
        }
        const TPropValue current = prop.Get(target);
        TObject* object = std::holds_alternative<TObject*>(current) ? std::get<TObject*>(current) : nullptr;
        if (object && value.Type == vaCollection) {
            ReadCollection(*object, value, instance, path);
            return;
        }
        if (object && value.Type == vaList && ReadStringsValue(*object, path, value)) return;
        return invalid();
    }
    }
    try {
        prop.Set(target, v);
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& e) {
        if (Ignored(e.AnsiMessage())) return;
        Error(path, e.AnsiMessage());
    }
}

void TReader::ReadCollection(TObject& target, const TFormValue& value, TComponent* instance, const std::string& path) {
    auto* collection = dynamic_cast<TCollection*>(&target);
    if (!collection) Error(path, "Invalid property value");
    collection->BeginUpdate();
    try {
        collection->Clear();
        for (const auto& item : value.Items) {
            TCollectionItem* made = collection->Add();
            for (const TFormProperty& p : item) {
                const TPropInfo* prop = GetPropInfo(*made, p.Name);
                if (prop) {
                    SetValue(instance, *made, *prop, p.Value, path + "." + p.Name);
                } else if (!ReadDefined(*made, p.Name, p.Value) &&
                           !Ignored("Property " + p.Name + " does not exist")) {
                    Error(path, "Property " + p.Name + " does not exist");
                }
            }
        }
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

void TReader::ResolveFixups() {
    for (const Fixup& f : fixups_) {
        TComponent* found = nullptr;
        const std::vector<std::string> parts = SplitDots(f.name);
        if (parts.size() == 1) {
            if (AnsiSameText(root_->Name(), f.name)) found = root_;
            else found = root_->FindComponent(f.name);
        } else if (TComponent* top = AnsiSameText(parts[0], root_->Name()) ? root_ : FindGlobalComponent(parts[0])) {
            found = top;
            for (std::size_t i = 1; found && i < parts.size(); ++i) found = found->FindComponent(parts[i]);
        }
        if (!found && OnFindComponent) found = OnFindComponent(f.name);
        if (!found) {
            if (Ignored("Component " + f.name + " not found")) continue;
            Error(f.path, "Component " + f.name + " not found");
        }
        try {
            f.prop->Set(*f.target, static_cast<TObject*>(found));
        } catch (const Exception& e) {
            if (Ignored(e.AnsiMessage())) continue;
            Error(f.path, e.AnsiMessage());
        }
    }
    fixups_.clear();
}

const TFormValue& TReader::Current() const {
    if (cursors_.empty() || cursors_.back().index >= cursors_.back().values->size())
        throw EReadError("Invalid property value");
    return (*cursors_.back().values)[cursors_.back().index];
}

const TFormValue& TReader::Take() {
    const TFormValue& v = Current();
    ++cursors_.back().index;
    return v;
}

TValueType TReader::NextValue() const {
    if (cursors_.empty() || cursors_.back().index >= cursors_.back().values->size()) return vaNull;
    return Current().Type;
}

bool TReader::EndOfList() const { return NextValue() == vaNull; }

void TReader::ReadListBegin() {
    const TFormValue& v = Current();
    if (v.Type != vaList) throw EReadError("Invalid property value");
    cursors_.push_back(Cursor{&v.List, 0});
}

void TReader::ReadListEnd() {
    if (cursors_.size() < 2 || !EndOfList()) throw EReadError("Invalid property value");
    cursors_.pop_back();
    ++cursors_.back().index;
}

std::int64_t TReader::ReadInteger() {
    const TFormValue& v = Current();
    if (!v.IsInteger()) throw EReadError("Invalid property value");
    Take();
    return v.Integer;
}

double TReader::ReadFloat() {
    const TFormValue& v = Current();
    if (v.IsFloat()) return Take().Float;
    if (v.IsInteger()) return static_cast<double>(Take().Integer);
    throw EReadError("Invalid property value");
}

bool TReader::ReadBoolean() {
    const TFormValue& v = Current();
    if (v.Type != vaTrue && v.Type != vaFalse) throw EReadError("Invalid property value");
    return Take().Type == vaTrue;
}

WideString TReader::ReadWideString() {
    const TFormValue& v = Current();
    if (!v.IsText()) throw EReadError("Invalid property value");
    return Take().Text;
}

AnsiString TReader::ReadString() { return Utf16ToUtf8(ReadWideString()); }

WideChar TReader::ReadWideChar() {
    const TFormValue& v = Current();
    if (v.IsText() && v.Text.size() == 1) return Take().Text[0];
    if (v.IsInteger() && v.Integer >= 0 && v.Integer <= 0xFFFF) return static_cast<WideChar>(Take().Integer);
    throw EReadError("Invalid property value");
}

AnsiString TReader::ReadIdent() {
    const TFormValue& v = Current();
    switch (v.Type) {
    case vaIdent: return Take().Ident;
    case vaTrue: Take(); return "True";
    case vaFalse: Take(); return "False";
    case vaNil: Take(); return "nil";
    default: throw EReadError("Invalid property value");
    }
}

std::vector<std::string> TReader::ReadSet() {
    const TFormValue& v = Current();
    if (v.Type != vaSet) throw EReadError("Invalid property value");
    return Take().Set;
}

void TReader::SkipValue() { Take(); }

// ---------------------------------------------------------------------------------------------
// TWriter

TFormObject TWriter::WriteRootComponent(TComponent* root, TComponent* ancestor) {
    root_ = root;
    ancestorRoot_ = ancestor;
    root->SetLoadingState({csWriting}, {});
    try {
        TFormObject out = WriteObject(root, ancestor);
        root->SetLoadingState({}, {csWriting});
        return out;
    } catch (...) {
        root->SetLoadingState({}, {csWriting});
        throw;
    }
}

TFormObject TWriter::WriteObject(TComponent* instance, TComponent* ancestor) {
    TFormObject obj;
    obj.Kind = ancestor ? TFormObjectKind::Inherited : TFormObjectKind::Object;
    obj.Name = instance->Name();
    obj.ClassName = std::string(instance->ClassName());
    WriteProperties(*instance, ancestor, "", obj.Properties);
    instance->GetChildren(
        [&](TComponent* child) {
            TComponent* childAncestor = ancestorRoot_ && !child->Name().empty() ? ancestorRoot_->FindComponent(child->Name()) : nullptr;
            obj.Children.push_back(WriteObject(child, childAncestor));
        },
        root_);
    return obj;
}

bool TWriter::ToFormValue(const TPropInfo& prop, const TPropValue& value, TFormValue& out) const {
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        switch (prop.Kind) {
        case TTypeKind::tkEnumeration:
            if (prop.Type && *i >= 0 && *i < static_cast<std::int64_t>(prop.Type->EnumNames.size())) {
                const std::string& name = prop.Type->EnumNames[static_cast<std::size_t>(*i)];
                out = prop.Type == TypeInfoOf<bool>() ? TFormValue::OfBoolean(*i != 0) : TFormValue::OfIdent(name);
                return true;
            }
            out = TFormValue::OfInteger(*i);
            return true;
        case TTypeKind::tkSet:
            out = TFormValue();
            out.Type = vaSet;
            if (prop.Type && prop.Type->ElementType) {
                const auto& names = prop.Type->ElementType->EnumNames;
                for (std::size_t b = 0; b < names.size() && b < 64; ++b)
                    if (static_cast<std::uint64_t>(*i) & (std::uint64_t{1} << b)) out.Set.push_back(names[b]);
            }
            return true;
        case TTypeKind::tkChar:
        case TTypeKind::tkWChar:
            out = TFormValue::OfText(WideString(1, static_cast<char16_t>(*i)));
            return true;
        default: {
            std::string ident;
            if (prop.Type && prop.Type->IntToIdent(*i, ident)) out = TFormValue::OfIdent(ident);
            else out = TFormValue::OfInteger(*i);
            return true;
        }
        }
    }
    if (const auto* d = std::get_if<double>(&value)) {
        out = TFormValue::OfFloat(*d);
        return true;
    }
    if (const auto* w = std::get_if<WideString>(&value)) {
        out = TFormValue::OfText(*w);
        return true;
    }
    if (const auto* m = std::get_if<TMethod>(&value)) {
        if (!m->Assigned() || m->Name.empty()) return false;  // a handler set in code has no name
        out = TFormValue::OfIdent(m->Name);
        return true;
    }
    return false;
}

std::string TWriter::ReferenceName(const TComponent* component) const {
    if (component == root_) return root_->Name();
    if (component->Owner() == root_ || !component->Owner()) return component->Name();
    return component->Owner()->Name() + "." + component->Name();
}

void TWriter::WriteProperties(TObject& instance, const TObject* ancestor, const std::string& prefix,
                              std::vector<TFormProperty>& out) {
    const TMetaClass* meta = ClassOf(&instance);
    if (meta) {
        for (const TPropInfo* prop : meta->Properties()) {
            if (!prop->IsStored(instance)) continue;
            const TPropValue value = prop->Get(instance);
            const std::string name = prefix + prop->Name;
            if (prop->Kind == TTypeKind::tkClass) {
                prop->DescribeClassType();
                TObject* object = std::holds_alternative<TObject*>(value) ? std::get<TObject*>(value) : nullptr;
                TObject* ancestorObject = nullptr;
                if (ancestor) {
                    const TPropValue a = prop->Get(*ancestor);
                    if (std::holds_alternative<TObject*>(a)) ancestorObject = std::get<TObject*>(a);
                }
                if (!object) continue;
                auto* component = dynamic_cast<TComponent*>(object);
                if (component && !component->ComponentStyle().Contains(csSubComponent)) {
                    const std::string ref = ReferenceName(component);
                    auto* ancestorComponent = dynamic_cast<TComponent*>(ancestorObject);
                    if (ancestorComponent && ancestorComponent->Name() == component->Name()) continue;
                    out.push_back({name, TFormValue::OfIdent(ref)});
                    continue;
                }
                if (auto* collection = dynamic_cast<TCollection*>(object)) {
                    if (collection->Count() == 0) continue;
                    TFormValue items;
                    items.Type = vaCollection;
                    for (int i = 0; i < collection->Count(); ++i) {
                        std::vector<TFormProperty> item;
                        WriteProperties(*collection->Items(i), nullptr, "", item);
                        items.Items.push_back(std::move(item));
                    }
                    out.push_back({name, std::move(items)});
                    continue;
                }
                const bool isStrings = WithStrings(*object, [&](auto& list) {
                    using S = typename std::decay_t<decltype(list)>::String;
                    if (list.Count() == 0) return;
                    if (ancestorObject) {
                        bool same = false;
                        WithStrings(*ancestorObject, [&](auto& other) {
                            if constexpr (std::is_same_v<typename std::decay_t<decltype(other)>::String, S>)
                                same = list.Equals(other);
                        });
                        if (same) return;
                    }
                    TFormValue lines;
                    lines.Type = vaList;
                    for (int i = 0; i < list.Count(); ++i) {
                        if constexpr (std::is_same_v<S, WideString>) lines.List.push_back(TFormValue::OfText(list.Get(i)));
                        else lines.List.push_back(TFormValue::OfText(Utf8ToUtf16(list.Get(i))));
                    }
                    out.push_back({name + ".Strings", std::move(lines)});
                });
                if (isStrings) continue;
                // A persistent sub-object: its own values under "Name.".
                WriteProperties(*object, ancestorObject, name + ".", out);
                continue;
            }
            if (ancestor) {
                if (prop->Get(*ancestor) == value) continue;
            } else if (prop->Default && *prop->Default == value) {
                continue;
            }
            TFormValue fv;
            if (ToFormValue(*prop, value, fv)) out.push_back({name, std::move(fv)});
        }
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(&instance)) {
        auto* ancestorPersistent = dynamic_cast<TPersistent*>(const_cast<TObject*>(ancestor));
        WriteDefined(*persistent, ancestorPersistent, prefix, out);
    }
}

void TWriter::WriteDefined(TPersistent& instance, TPersistent* ancestor, const std::string& prefix,
                           std::vector<TFormProperty>& out) {
    std::vector<TFormProperty>* savedTarget = target_;
    const std::string savedPrefix = prefix_;
    TPersistent* savedAncestor = ancestor_;
    target_ = &out;
    prefix_ = prefix;
    ancestor_ = ancestor;
    try {
        instance.DefineProperties(this);
    } catch (...) {
        target_ = savedTarget;
        prefix_ = savedPrefix;
        ancestor_ = savedAncestor;
        throw;
    }
    target_ = savedTarget;
    prefix_ = savedPrefix;
    ancestor_ = savedAncestor;
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
    if (!hasData || !writeData || !target_) return;
    single_ = TFormValue();
    open_.clear();
    wrote_ = false;
    writeData(*this);
    if (!open_.empty() || !wrote_) throw EWriteError("Property " + name + " wrote no complete value");
    target_->push_back({prefix_ + name, std::move(single_)});
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData, bool hasData) {
    if (!hasData || !writeData || !target_) return;
    TMemoryStream stream;
    writeData(stream);
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.SetPosition(0);
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    target_->push_back({prefix_ + name, TFormValue::OfBinary(std::move(bytes))});
}

void TWriter::Append(TFormValue value) {
    if (!open_.empty()) {
        open_.back()->List.push_back(std::move(value));
        return;
    }
    if (wrote_) throw EWriteError("A defined property holds one value; write a list for more");
    single_ = std::move(value);
    wrote_ = true;
}

void TWriter::WriteListBegin() {
    TFormValue list;
    list.Type = vaList;
    Append(std::move(list));
    open_.push_back(open_.empty() ? &single_ : &open_.back()->List.back());
}

void TWriter::WriteListEnd() {
    if (open_.empty()) throw EWriteError("List end without a list");
    open_.pop_back();
}

void TWriter::WriteInteger(std::int64_t value) { Append(TFormValue::OfInteger(value)); }
void TWriter::WriteFloat(double value) { Append(TFormValue::OfFloat(value)); }
void TWriter::WriteBoolean(bool value) { Append(TFormValue::OfBoolean(value)); }
void TWriter::WriteString(std::string_view value) { Append(TFormValue::OfText(Utf8ToUtf16(value))); }
void TWriter::WriteWideString(const WideString& value) { Append(TFormValue::OfText(value)); }
void TWriter::WriteIdent(std::string_view ident) {
    if (AnsiSameText(ident, "True")) Append(TFormValue::OfBoolean(true));
    else if (AnsiSameText(ident, "False")) Append(TFormValue::OfBoolean(false));
    else Append(TFormValue::OfIdent(std::string(ident)));
}
void TWriter::WriteSet(const std::vector<std::string>& idents) {
    TFormValue v;
    v.Type = vaSet;
    v.Set = idents;
    Append(std::move(v));
}

// ---------------------------------------------------------------------------------------------

TComponent* ReadComponentText(std::string_view text, TComponent* instance) {
    TReader reader(text);
    return reader.ReadRootComponent(instance);
}

TComponent* ReadComponentRes(std::string_view resourceName, TComponent* instance) {
    return ReadComponentText(FormResource(resourceName), instance);
}

std::string ComponentToText(TComponent* root, TComponent* ancestor) {
    TWriter writer;
    return FormTextOf(writer.WriteRootComponent(root, ancestor));
}

bool InitInheritedComponent(TComponent* instance, const TMetaClass& rootAncestor) {
    std::vector<const TMetaClass*> chain;
    for (const TMetaClass* c = &instance->ClassType(); c && c != &rootAncestor; c = c->ClassParent())
        chain.push_back(c);
    bool any = false;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::string* text = FindFormResource((*it)->ClassName());
        if (!text) continue;
        ReadComponentText(*text, instance);
        any = true;
    }
    return any;
}

void RegisterFindGlobalComponent(std::function<TComponent*(std::string_view name)> finder) {
    GlobalFinders& f = TheFinders();
    std::lock_guard guard(f.lock);
    f.finders.push_back(std::move(finder));
}

TComponent* FindGlobalComponent(std::string_view name) {
    std::vector<std::function<TComponent*(std::string_view)>> finders;
    {
        GlobalFinders& f = TheFinders();
        std::lock_guard guard(f.lock);
        finders = f.finders;
    }
    for (const auto& finder : finders)
        if (TComponent* c = finder(name)) return c;
    return nullptr;
}
