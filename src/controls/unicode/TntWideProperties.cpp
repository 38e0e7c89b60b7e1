#include "controls/unicode/TntWideProperties.h"

#include "platform/vcl/Components.h"

bool ReadLegacyWideProperties = false;

bool ApplyLegacyWideValue(const TReader& reader) {
    const TComponent* owner = reader.Owner();
    return owner && !owner->ComponentState().Contains(csDesigning) && ReadLegacyWideProperties;
}

void DefineWideProperties(TFiler* filer, TPersistent* instance) {
    if (!filer || !instance) return;
    const TMetaClass* meta = ClassOf(instance);
    if (!meta) return;
    for (const TPropInfo* prop : meta->Properties()) {
        if (prop->Kind == TTypeKind::tkWString) TTntWideStringPropertyFiler(*instance, *prop).DefineProperties(*filer);
        else if (prop->Kind == TTypeKind::tkWChar) TTntWideCharPropertyFiler(*instance, *prop).DefineProperties(*filer);
    }
}

// --- WideString ---------------------------------------------------------------------------

void TTntWideStringPropertyFiler::DefineProperties(TFiler& filer) {
    filer.DefineProperty(property_.Name + "W", [this](TReader& r) { ReadDataUTF8(r); }, nullptr, false);
    // A writer exists, but there is never data: the plain property holds the value.
    filer.DefineProperty(property_.Name + "_UTF7", [this](TReader& r) { ReadDataUTF7(r); },
                         [](TWriter&) {}, false);
}

void TTntWideStringPropertyFiler::ReadDataUTF8(TReader& reader) {
    const AnsiString value = reader.ReadString();
    if (ApplyLegacyWideValue(reader) && property_.Set) property_.Set(instance_, UTF8ToWideString(value));
}

void TTntWideStringPropertyFiler::ReadDataUTF7(TReader& reader) {
    const AnsiString value = reader.ReadString();
    if (ApplyLegacyWideValue(reader) && property_.Set) property_.Set(instance_, UTF7ToWideString(value));
}

// --- WideChar -----------------------------------------------------------------------------

void TTntWideCharPropertyFiler::DefineProperties(TFiler& filer) {
    filer.DefineProperty(property_.Name + "W", [this](TReader& r) { ReadDataW(r); },
                         [this](TWriter& w) { WriteDataW(w); }, false);
    filer.DefineProperty(property_.Name + "_UTF7", [this](TReader& r) { ReadDataUTF7(r); }, nullptr, false);
}

void TTntWideCharPropertyFiler::ReadDataW(TReader& reader) {
    WideString value;
    switch (reader.NextValue()) {
    case vaString:
    case vaLString:
    case vaUTF8String: value = UTF8ToWideString(reader.ReadString()); break;
    case vaWString: value = reader.ReadWideString(); break;
    default: throw EReadError(u"Invalid property value");
    }
    if (value.size() > 1) throw EReadError(u"Invalid property value");
    if (value.empty()) RaiseRangeError();
    if (property_.Set) property_.Set(instance_, std::int64_t{value[0]});
}

void TTntWideCharPropertyFiler::ReadDataUTF7(TReader& reader) {
    const WideString value = UTF7ToWideString(reader.ReadString());
    if (property_.Set) property_.Set(instance_, std::int64_t{value.empty() ? 0 : value[0]});
}

void TTntWideCharPropertyFiler::WriteDataW(TWriter& writer) const {
    const TPropValue v = property_.Get(instance_);
    const auto* code = std::get_if<std::int64_t>(&v);
    writer.WriteWideString(WideString(1, static_cast<WideChar>(code ? *code : 0)));
}
