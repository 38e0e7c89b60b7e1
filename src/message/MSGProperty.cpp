#include "message/MSGProperty.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "message/CompressedRTF.h"
#include "message/MAPITags.h"
#include "message/MSGProperties.h"
#include "message/Message.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/ByteOrder.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

constexpr std::uint16_t kMultiValued = 0x1000;

double LeDouble(const std::uint8_t* p) {
    std::uint64_t bits = Le64(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
float LeFloat(const std::uint8_t* p) {
    std::uint32_t bits = Le32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string GuidText(const std::uint8_t* p) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Le32(p), Le16(p + 4),
                  Le16(p + 6), p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15]);
    return buf;
}


// Decodes a value of a fixed-size type from exactly MapiFixedValueSize(type) bytes.
MSGValue DecodeFixed(std::uint16_t type, const std::uint8_t* p) {
    switch (type) {
        case 0x0002: return static_cast<std::int16_t>(Le16(p));
        case 0x0003: return static_cast<std::int32_t>(Le32(p));
        case 0x0004: return static_cast<double>(LeFloat(p));
        case 0x0005: return LeDouble(p);
        case 0x0006: return static_cast<double>(static_cast<std::int64_t>(Le64(p)));  // currency, not divided
        case 0x0007: return DateTime{LeDouble(p)};
        case 0x000A: return Le32(p);
        case 0x000B: return Le16(p) != 0;
        case 0x0014: return static_cast<double>(static_cast<std::int64_t>(Le64(p)));
        case 0x0040: return DateTimeFromFileTime(Le64(p));
        case 0x0048: return GuidText(p);
        default: return std::string();
    }
}

// UTF-16LE bytes to text; an odd last byte is the low byte of a last character.
std::u16string Utf16Le(std::span<const std::uint8_t> bytes) {
    const std::size_t pairs = bytes.size() / 2;
    std::u16string s;
    s.reserve(pairs + 1);
    if constexpr (std::endian::native == std::endian::little) {
        // Copied as raw units (memcpy inside), so the bytes need no alignment.
        s.assign(reinterpret_cast<const char16_t*>(bytes.data()), pairs);
    } else {
        for (std::size_t i = 0; i < pairs; ++i) s.push_back(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    }
    if (bytes.size() % 2) s.push_back(bytes.back());
    return s;
}

template <class S>
void StripOneTrailingZero(S& s) {
    if (!s.empty() && s.back() == 0) s.pop_back();
}

WideString FormatDouble(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    return WideFromAscii(buf);
}

WideString FormatDateTime(DateTime dt) {
    // Whole seconds, rounded, split into the day and the time of day.
    double total = std::round(dt.days * 86400.0);
    if (!std::isfinite(total) || std::fabs(total) > 1e15) return FormatDouble(dt.days);
    auto secs = static_cast<long long>(total);
    long long day = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    long long tod = secs - day * 86400;
    // Civil date of day + 1899-12-30 (days from 1970-01-01: day - 25569).
    long long z = day - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
    char buf[96];
    if (day == 0 && tod != 0)
        std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", tod / 3600, tod / 60 % 60, tod % 60);
    else if (tod == 0)
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", y, m, d);
    else
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d, tod / 3600, tod / 60 % 60,
                      tod % 60);
    return WideFromAscii(buf);
}

}  // namespace

std::size_t MapiFixedValueSize(std::uint16_t type) {
    switch (type) {
        case 0x0002:
        case 0x000B: return 2;
        case 0x0003:
        case 0x0004:
        case 0x000A: return 4;
        case 0x0005:
        case 0x0006:
        case 0x0007:
        case 0x0014:
        case 0x0040: return 8;
        case 0x0048: return 16;
        default: return 0;
    }
}

const char* CategoryName(TMSGPropertyCategory category) {
    static const char* const names[] = {
        "mpcGeneral",          "mpcEnvelope",
        "mpcRecipient",        "mpcNonTransmittable",
        "mpcMessage",          "mpvTransportEnvelope",
        "mpcTransportRecipient", "mpcUserNonTransmittable",
        "mpcProviderNonTransmittable", "mpcMessageClassContent",
        "mpcMessageClassNonTransmittable", "pmcUserProperty",
        "mpcMessageStore",     "mpcFolderABContainer",
        "mpcAttachment",       "mpcAddressBook",
        "mpcUser",             "mpcDistributionList",
        "mpcProfile",          "mpcStatus",
    };
    return names[static_cast<int>(category)];
}

DateTime DateTimeFromFileTime(std::uint64_t fileTime) {
    // 1601-01-01 lies 109205 days before 1899-12-30.
    constexpr std::int64_t kTicksPerDay = 864000000000;
    constexpr std::int64_t kOffset = 109205 * kTicksPerDay;
    const std::int64_t ticks = static_cast<std::int64_t>(fileTime) - kOffset;
    // Whole days and the remainder separately, so the day count stays exact.
    const std::int64_t days = ticks / kTicksPerDay;
    const std::int64_t rest = ticks % kTicksPerDay;
    return DateTime{static_cast<double>(days) + static_cast<double>(rest) / kTicksPerDay};
}

std::uint64_t FileTimeOfDays(double days) {
    constexpr std::int64_t kTicksPerDay = 864000000000;
    constexpr std::int64_t kOffset = 109205 * kTicksPerDay;
    if (!std::isfinite(days)) return 0;
    const double whole = std::floor(days);
    const std::int64_t ticks = static_cast<std::int64_t>(whole) * kTicksPerDay +
                               std::llround((days - whole) * static_cast<double>(kTicksPerDay)) + kOffset;
    return static_cast<std::uint64_t>(ticks);
}

TMSGProperty::TMSGProperty(TMSGProperties* collection)
    : collection_(collection), sub_(std::make_unique<TMSGProperties>(collection ? collection->GetOwner() : nullptr)) {}

TMSGProperty::~TMSGProperty() = default;

void TMSGProperty::Assign(const TMSGProperty& source) {
    if (&source == this) return;
    TagID = source.TagID;
    Value = source.Value;
    DataSize = source.DataSize;
    storedEntry_ = source.storedEntry_;
    sub_->Assign(*source.sub_);
}

void TMSGProperty::SetSubProperties(const TMSGProperties& source) { sub_->Assign(source); }

TMSGPropertyCategory TMSGProperty::GetCategory() const { return CategoryOfId(PureTag()); }

TMSGPropertyCategory TMSGProperty::CategoryOfId(std::uint16_t id) {
    struct Range {
        std::uint16_t first, last;
        TMSGPropertyCategory category;
    };
    static constexpr Range ranges[] = {
        {0x0001, 0x0BFF, mpcEnvelope},          {0x0C00, 0x0DFF, mpcRecipient},
        {0x0E00, 0x0FFF, mpcNonTransmittable},  {0x1000, 0x33FF, mpcMessage},
        {0x3400, 0x35FF, mpcMessageStore},      {0x3600, 0x36FF, mpcFolderABContainer},
        {0x3700, 0x38FF, mpcAttachment},        {0x3900, 0x39FF, mpcAddressBook},
        {0x3A00, 0x3BFF, mpcUser},              {0x3C00, 0x3CFF, mpcDistributionList},
        {0x3D00, 0x3DFF, mpcProfile},           {0x3E00, 0x3FFF, mpcStatus},
        {0x4000, 0x57FF, mpvTransportEnvelope}, {0x5800, 0x5FFF, mpcTransportRecipient},
        {0x6000, 0x65FF, mpcUserNonTransmittable}, {0x6600, 0x67FF, mpcProviderNonTransmittable},
        {0x6800, 0x7BFF, mpcMessageClassContent}, {0x7C00, 0x7FFF, mpcMessageClassNonTransmittable},
        {0x8000, 0xFFFE, pmcUserProperty},
    };
    for (const Range& r : ranges)
        if (id >= r.first && id <= r.last) return r.category;
    return mpcGeneral;
}

AnsiString TMSGProperty::GetName(bool withDescription, bool forceTagName) const {
    if (!forceTagName && !sub_->Empty()) {
        if (!std::holds_alternative<std::monostate>(Value)) {
            AnsiString text = GetAsAnsiString();
            if (!text.empty()) return text;
        }
        return TagID == 0 ? "Properties" : "";
    }
    const MAPITagName* row = GetMAPITagRow(GetMAPITagIndex(TagID));
    if (!row) return "";
    AnsiString name = row->name;
    if (withDescription) name += AnsiString(" (") + row->description + ")";
    return name;
}

WideString TMSGProperty::GetAsString() const {
    return std::visit(
        [this](const auto& v) -> WideString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return WideString();
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? u"True" : u"False";
            } else if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t> ||
                                 std::is_same_v<T, std::uint32_t>) {
                return WideFromAscii(std::to_string(v).c_str());
            } else if constexpr (std::is_same_v<T, double>) {
                return FormatDouble(v);
            } else if constexpr (std::is_same_v<T, DateTime>) {
                return FormatDateTime(v);
            } else if constexpr (std::is_same_v<T, std::u16string>) {
                WideString s = v;
                StripOneTrailingZero(s);
                return s;
            } else {
                // A multi-valued property reads as its values.
                if ((PropertyType() & kMultiValued) && !sub_->Empty()) {
                    WideString joined;
                    for (const auto& item : *sub_) {
                        if (!joined.empty()) joined += u"; ";
                        joined += item->GetAsString();
                    }
                    return joined;
                }
                const TMessage* owner = collection_ ? collection_->GetOwner() : nullptr;
                const UINT codePage = owner ? owner->GetTextCodePage() : TMessage::LegacyCodePage();
                WideString s = DecodeCodePage(codePage, v);
                StripOneTrailingZero(s);
                return s;
            }
        },
        Value);
}

AnsiString TMSGProperty::GetAsAnsiString() const { return Utf16ToUtf8(GetAsString()); }

AnsiString TMSGProperty::ProcessRTFCompressedNoMAPI(std::span<const std::uint8_t> bytes) {
    return CompressedRTFToText(bytes.data(), bytes.size());
}

bool TMSGProperty::ApplyValueTag(std::uint32_t tag, std::span<const std::uint8_t> bytes) {
    TagID = tag;
    return ApplyValue(bytes);
}

bool TMSGProperty::ApplyValue(std::span<const std::uint8_t> bytes) {
    reason_ = "";
    if (TagID == PR_RTF_COMPRESSED) {
        CompressedRTFResult rtf = DecodeCompressedRTFEx(bytes);
        if (rtf.status == CompressedRTFStatus::Corrupt) {
            reason_ = rtf.reason;
            Value = std::string();
            DataSize = 0;
            return false;
        }
        // The decoded RTF stays 8-bit: RTF names its own code pages.
        const bool decoded = rtf.status == CompressedRTFStatus::Decoded;
        const std::size_t length = decoded ? rtf.text.size() : bytes.size();
        std::string text;
        text.reserve(length + 1);
        if (decoded)
            text.assign(rtf.text.begin(), rtf.text.end());
        else
            text.assign(bytes.begin(), bytes.end());
        text.push_back('\0');
        DataSize = static_cast<std::int32_t>(text.size());
        Value = std::move(text);
        return true;
    }
    const std::uint16_t type = PropertyType();
    const std::int32_t size = static_cast<std::int32_t>(bytes.size());
    if (type & kMultiValued) {
        DecodeMultiValue(bytes);
        DataSize = size;
        return true;
    }
    if (std::size_t natural = MapiFixedValueSize(type)) {
        // A short stream leaves the missing bytes zero.
        std::uint8_t buf[16] = {};
        std::memcpy(buf, bytes.data(), std::min(bytes.size(), natural));
        Value = DecodeFixed(type, buf);
        DataSize = size != 0 ? size : static_cast<std::int32_t>(natural);
        return true;
    }
    switch (type) {
        case 0x001E:
        case 0x8008:
        case 0x0102:
        case 0x8013: Value = std::string(bytes.begin(), bytes.end()); break;
        case 0x001F: Value = Utf16Le(bytes); break;
        default: Value = std::string(); break;
    }
    DataSize = size;
    return true;
}

// The stream of a multi-valued property. Fixed-size values are split into children tagged
// with the single-valued type; the stream itself is kept as bytes so that writing can
// reproduce it. Variable-size values arrive in streams of their own (see TMSGFile).
void TMSGProperty::DecodeMultiValue(std::span<const std::uint8_t> bytes) {
    Value = std::string(bytes.begin(), bytes.end());
    const std::uint16_t single = PropertyType() & ~kMultiValued;
    const std::size_t n = MapiFixedValueSize(single);
    if (!n) return;
    for (std::size_t at = 0; at + n <= bytes.size(); at += n) {
        TMSGProperty& item = sub_->Add();
        item.TagID = (TagID & 0xFFFF0000u) | single;
        item.Value = DecodeFixed(single, bytes.data() + at);
        item.DataSize = static_cast<std::int32_t>(n);
    }
}

void TMSGProperty::ApplyGeneralProperty(std::span<const std::uint8_t, 16> entry) {
    storedEntry_.assign(entry.begin(), entry.end());
    const std::uint16_t type = Le16(entry.data());
    const std::uint16_t id = Le16(entry.data() + 2);
    const std::uint8_t* value = entry.data() + 8;
    std::uint16_t kept = type;
    switch (type) {
        case 0x0002:
        case 0x0003:
        case 0x0004:
        case 0x0005:
        case 0x0006:
        case 0x0007:
        case 0x000A:
        case 0x0014:
        case 0x0040:
            Value = DecodeFixed(type, value);
            DataSize = static_cast<std::int32_t>(MapiFixedValueSize(type));
            break;
        case 0x000B:
            Value = value[0] != 0;
            DataSize = 1;
            break;
        case 0x001E:  // the stored byte count of the text, as its 4 raw bytes
            Value = std::string(reinterpret_cast<const char*>(value), 4);
            DataSize = 4;
            break;
        case 0x0102:
            Value = std::string(reinterpret_cast<const char*>(value), 8);
            DataSize = 8;
            break;
        default:
            // Variable-size values (wide text, GUID, objects, multi-valued) live in streams of
            // their own; the entry only counts their bytes.
            Value = std::string();
            DataSize = 0;
            kept = 0;
            break;
    }
    TagID = (static_cast<std::uint32_t>(id) << 16) | kept;
}

AnsiString TMSGProperty::GetAttachmentFileName(int) const {
    for (std::uint32_t tag : {0x3707001Fu, 0x3707001Eu, 0x3704001Fu, 0x3704001Eu}) {
        AnsiString name = Utf16ToUtf8(sub_->GetPropertyAsString(tag, false, false));
        if (!name.empty()) return name;
    }
    return "";
}

AnsiString TMSGProperty::GetAttachmentName(int) const {
    for (std::uint32_t tag : {0x3001001Fu, 0x3001001Eu}) {
        AnsiString name = Utf16ToUtf8(sub_->GetPropertyAsString(tag, false, false));
        if (!name.empty()) return name;
    }
    return GetAttachmentFileName();
}

bool TMSGProperty::AttachmentIsEmbeddedMessage() const {
    return sub_->GetPropertyByTag(0x001A001E, false, true) || sub_->GetPropertyByTag(0x001A001F, false, true);
}
