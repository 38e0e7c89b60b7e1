// Older encodings of wide property values in form files: for every published WideString or
// WideChar property, "<Name>W" (UTF-8, or one wide character) and "<Name>_UTF7". They are read
// (never written); the string values are applied only when ReadLegacyWideProperties is set.
#pragma once

#include "controls/unicode/TntClasses.h"
#include "platform/vcl/Filer.h"

// Whether the UTF-8 and UTF-7 forms of WideString properties are applied when read. False:
// the form files are ours and carry plain wide values.
extern bool ReadLegacyWideProperties;

// Called by the DefineProperties of every wide class after its base's.
void DefineWideProperties(TFiler* filer, TPersistent* instance);

// True when a legacy value read through reader is applied: the reader has an owner that is
// not being designed, and ReadLegacyWideProperties is set.
bool ApplyLegacyWideValue(const TReader& reader);

// Defines "<Name>W" and "<Name>_UTF7" for one WideString property.
class TTntWideStringPropertyFiler {
public:
    TTntWideStringPropertyFiler(TPersistent& instance, const TPropInfo& property)
        : instance_(instance), property_(property) {}
    void DefineProperties(TFiler& filer);

private:
    void ReadDataUTF8(TReader& reader);
    void ReadDataUTF7(TReader& reader);

    TPersistent& instance_;
    const TPropInfo& property_;
};

// Defines "<Name>W" and "<Name>_UTF7" for one WideChar property.
class TTntWideCharPropertyFiler {
public:
    TTntWideCharPropertyFiler(TPersistent& instance, const TPropInfo& property)
        : instance_(instance), property_(property) {}
    void DefineProperties(TFiler& filer);

private:
    void ReadDataW(TReader& reader);
    void ReadDataUTF7(TReader& reader);
    void WriteDataW(TWriter& writer) const;

    TPersistent& instance_;
    const TPropInfo& property_;
};
