#include "platform/vcl/Classes.h"

#include "platform/vcl/SysUtils.h"

bool TObject::ClassNameIs(std::string_view name) const {
    const std::string_view own = ClassName();
    if (own.size() != name.size()) return false;
    for (std::size_t i = 0; i < own.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(own[i]) != lower(name[i])) return false;
    }
    return true;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
    const std::string_view from = source ? source->ClassName() : std::string_view("nil");
    const std::string_view to = ClassName();
    throw EConvertError("Cannot assign a " + AnsiString(from) + " to a " + AnsiString(to));
}
