// SharedWideString: an immutable wide string that the records repeating it share (the folder of
// every message listed from one store folder): a copy takes a reference, not a buffer.
#pragma once

#include <memory>
#include <utility>

#include "platform/win/WinTypes.h"

class SharedWideString {
public:
    SharedWideString() = default;
    SharedWideString(WideString text)
        : text_(text.empty() ? nullptr : std::make_shared<const WideString>(std::move(text))) {}
    SharedWideString(const char16_t* text) : SharedWideString(WideString(text)) {}

    const WideString& str() const {
        static const WideString none;
        return text_ ? *text_ : none;
    }
    operator const WideString&() const { return str(); }
    bool empty() const { return !text_; }

    friend bool operator==(const SharedWideString& a, const WideString& b) { return a.str() == b; }

private:
    std::shared_ptr<const WideString> text_;
};
