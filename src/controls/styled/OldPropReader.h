// Readers that take and drop properties older versions of the styled controls wrote into form
// data and the controls no longer have, so such forms still load.
#pragma once

#include "platform/vcl/Filer.h"

class TRzOldPropReader : public TObject {
public:
    std::string_view ClassName() const override { return "TRzOldPropReader"; }
    static void ReadOldBooleanProp(TReader& reader) { (void)reader.ReadBoolean(); }
    static void ReadOldEnumProp(TReader& reader) { (void)reader.ReadIdent(); }
    static void ReadOldIntegerProp(TReader& reader) { (void)reader.ReadInteger(); }
    static void ReadOldSetProp(TReader& reader) { (void)reader.ReadSet(); }
};
