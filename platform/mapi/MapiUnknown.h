// Interface ids of the MAPI interfaces. Reference counting comes from the COM basics
// (IUnknown, ComPtr, ComObject in platform/com).
#pragma once

#include "platform/com/ComBase.h"

inline constexpr IID IID_IMAPIProp = {0x00020303, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPITable = {0x00020301, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPIContainer = {0x0002030B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPIFolder = {0x0002030C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMsgStore = {0x00020306, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMessage = {0x00020307, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IAttachment = {0x00020308, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMAPISession = {0x00020300, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IProfAdmin = {0x0002031C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IMsgServiceAdmin = {0x0002031D, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Declares an interface's place in the COM interface chain.
#define QUILLORA_MAPI_INTERFACE(Parent, Id) \
    using Base = Parent;                    \
    static const IID& iid() { return Id; }
