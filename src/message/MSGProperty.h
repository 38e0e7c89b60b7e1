// One MAPI property of a compound-file message, with the value kinds, categories and names
// of the property tree.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>

#include "platform/win/WinTypes.h"

// Keys of the storages and streams of a .msg file in the property tree, beside the MAPI
// property tags (platform/mapi/MapiTags.h) of its values.
inline constexpr std::uint32_t kTagNamedProperties = 0x00010000;  // "__nameid_version1.0"
inline constexpr std::uint32_t kTagGuidStream = 0x00020102;
inline constexpr std::uint32_t kTagEntryStream = 0x00030102;
inline constexpr std::uint32_t kTagStringStream = 0x00040102;
inline constexpr std::uint32_t kTagRecipient = 0x0C000000;   // "__recip_version1.0_#"
inline constexpr std::uint32_t kTagAttachment = 0x37000000;  // "__attach_version1.0_#"
inline constexpr std::uint32_t kTagRootStorage = 0xFFFFFFFF;  // the root, whose header is longer

class TMSGProperties;
class TMessage;

// Days since 1899-12-30, the time of day as the fraction.
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
};

// A property value: empty, 16-bit, 32-bit signed or unsigned integer, double, date-time,
// boolean, 8-bit bytes (text in the message's code page, or binary data) or UTF-16 text.
using MSGValue = std::variant<std::monostate, std::int16_t, std::int32_t, std::uint32_t, double, DateTime, bool,
                              std::string, std::u16string>;

enum TMSGPropertyCategory {
    mpcGeneral = 0,
    mpcEnvelope = 1,
    mpcRecipient = 2,
    mpcNonTransmittable = 3,
    mpcMessage = 4,
    mpvTransportEnvelope = 5,
    mpcTransportRecipient = 6,
    mpcUserNonTransmittable = 7,
    mpcProviderNonTransmittable = 8,
    mpcMessageClassContent = 9,
    mpcMessageClassNonTransmittable = 10,
    pmcUserProperty = 11,
    mpcMessageStore = 12,
    mpcFolderABContainer = 13,
    mpcAttachment = 14,
    mpcAddressBook = 15,
    mpcUser = 16,
    mpcDistributionList = 17,
    mpcProfile = 18,
    mpcStatus = 19,
};

// The enumerator's name as the text writers print it.
const char* CategoryName(TMSGPropertyCategory category);

// FILETIME (100 ns since 1601, UTC) to DateTime, exact to the tick the double can hold.
DateTime DateTimeFromFileTime(std::uint64_t fileTime);
// And back: whole days and the time of day apart, so whole seconds and milliseconds come back
// exactly. 0 for a value that is not finite.
std::uint64_t FileTimeOfDays(double days);

// Bytes of one value of a fixed-size property type; 0 for variable-size types.
std::size_t MapiFixedValueSize(std::uint16_t type);

class TMSGProperty {
public:
    // Joins the collection; SubProperties gets the collection's owner. Use TMSGProperties::Add.
    explicit TMSGProperty(TMSGProperties* collection);
    ~TMSGProperty();
    TMSGProperty(const TMSGProperty&) = delete;
    TMSGProperty& operator=(const TMSGProperty&) = delete;

    std::uint32_t TagID = 0;
    MSGValue Value;
    std::int32_t DataSize = 0;  // bytes as stored, terminating zeros included

    TMSGProperties& SubProperties() { return *sub_; }
    const TMSGProperties& SubProperties() const { return *sub_; }
    TMSGProperties* Collection() const { return collection_; }

    // Deep copy of tag, value, size, stored entry and children.
    void Assign(const TMSGProperty& source);
    void SetSubProperties(const TMSGProperties& source);

    std::uint16_t PureTag() const { return static_cast<std::uint16_t>(TagID >> 16); }
    std::uint16_t PropertyType() const { return static_cast<std::uint16_t>(TagID & 0xFFFF); }
    TMSGPropertyCategory GetCategory() const;
    static TMSGPropertyCategory CategoryOfId(std::uint16_t id);

    // A node's stored name, "Properties" for an unnamed tag-0 node, else the tag table's name
    // (with " (description)" when asked); empty for an unknown id.
    AnsiString GetName(bool withDescription, bool forceTagName) const;

    // The value as text. 8-bit text is decoded with the owning message's code page, and one
    // stored terminating zero is left out (the stored value keeps it).
    WideString GetAsString() const;
    AnsiString GetAsAnsiString() const;  // UTF-8
    // The 8-bit value's bytes as stored (binary data, 8-bit text); nullptr for other kinds.
    const std::string* RawBytes() const { return std::get_if<std::string>(&Value); }

    // Decodes a property stream's bytes by the tag's type. False only when the data is damaged
    // (a compressed-RTF header that lies); reason() then says why.
    bool ApplyValueTag(std::uint32_t tag, std::span<const std::uint8_t> bytes);
    bool ApplyValue(std::span<const std::uint8_t> bytes);
    // Decodes one 16-byte entry of a fixed-length property stream (type, id, flags, value).
    void ApplyGeneralProperty(std::span<const std::uint8_t, 16> entry);
    // The raw 16 bytes of the fixed-length entry this property came from; empty otherwise.
    const std::string& StoredEntry() const { return storedEntry_; }

    // Compressed RTF to its text plus one zero byte (the raw bytes plus zero when not compressed).
    static AnsiString ProcessRTFCompressedNoMAPI(std::span<const std::uint8_t> bytes);

    // Attachment names (UTF-8) from this item's own children.
    AnsiString GetAttachmentFileName(int unused = 0) const;
    AnsiString GetAttachmentName(int unused = 0) const;
    bool AttachmentIsEmbeddedMessage() const;

    const char* reason() const { return reason_; }

private:
    void DecodeMultiValue(std::span<const std::uint8_t> bytes);

    TMSGProperties* collection_;
    std::unique_ptr<TMSGProperties> sub_;
    std::string storedEntry_;
    const char* reason_ = "";
};
