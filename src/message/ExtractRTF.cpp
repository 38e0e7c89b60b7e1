#include "message/ExtractRTF.h"

#include <string>

#include "app/RtfHtml.h"
#include "app/cLogger.h"
#include "message/Message.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr std::uint32_t kFixedLengthNode = 0x00000000;
constexpr std::uint32_t kRtfInSync = 0x0E1F0000;
constexpr std::uint32_t kRtfCompressed = 0x10090000;

// The RTF as stored: its bytes without the terminating zeros the reader keeps.
std::string RtfBytes(const TMSGProperty& property) {
    std::string bytes = property.RawBytes() ? *property.RawBytes() : property.GetAsAnsiString();
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

}  // namespace

WideString ExtractRTF(const TMessage& message, bool& isHtml) {
    QUILLORA_TRACE(u"ExtractRTF");
    const TMSGProperties& top = message.GetProperties();
    const TMSGProperty* fixed = top.GetPropertyByTag(kFixedLengthNode, true, false);
    if (fixed == nullptr) return {};
    const TMSGProperty* inSync = fixed->SubProperties().GetPropertyByTag(kRtfInSync, true, true);
    const TMSGProperty* rtf = top.GetPropertyByTag(kRtfCompressed, true, false);
    if (rtf == nullptr) return {};
    if (inSync != nullptr && WideUpperCase(inSync->GetAsString()) != u"TRUE") return {};

    const std::string bytes = RtfBytes(*rtf);
    if (!IsHtmlEncapsulatedRtf(bytes.data(), bytes.size())) return DecodeUnmarkedText(bytes);
    WideString html;
    DecapsulateHtmlFromRtf(bytes.data(), bytes.size(), html);
    isHtml = true;
    return html;
}
