// TTntRegistry: the platform's registry class with string values read as wide text.
#pragma once

#include "platform/vcl/Registry.h"

class TTntRegistry : public TRegistry {
public:
    using TRegistry::TRegistry;
    using TRegistry::ReadString;
    std::string_view ClassName() const override { return "TTntRegistry"; }

    // The string value of the current key: "" when missing; a value of another type than
    // REG_SZ or REG_EXPAND_SZ raises ERegistryException. The text ends at its first NUL (or at
    // the end of the data when it has none) and is not expanded.
    WideString ReadString(const WideString& name) const;
    // Writes a REG_SZ value of wide text, whatever characters it holds; a refused write raises
    // ERegistryException.
    using TRegistry::WriteString;
    void WriteString(const WideString& name, const WideString& value);
};
