#include "message/MSGProperties.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "message/Message.h"
#include "platform/win/AtomicFile.h"

namespace {

constexpr std::uint16_t kAttachmentId = 0x3700;

WideString DeleteFirstZero(WideString s) {
    auto pos = s.find(u'\0');
    if (pos != WideString::npos) s.erase(pos, 1);
    return s;
}

WideString ComposeNameAndAddress(const WideString& name, const WideString& address) {
    if (address.empty()) return name;
    if (name.empty()) return address;
    return name + u" <" + address + u">";
}

}  // namespace

TMSGProperty& TMSGProperties::Add() {
    items_.push_back(std::make_unique<TMSGProperty>(this));
    return *items_.back();
}

void TMSGProperties::SetProperty(int index, const TMSGProperty& property) {
    items_.at(static_cast<std::size_t>(index))->Assign(property);
}

void TMSGProperties::Assign(const TMSGProperties& source) {
    if (&source == this) return;
    std::vector<std::unique_ptr<TMSGProperty>> copy;
    copy.reserve(source.items_.size());
    for (const auto& item : source.items_) {
        copy.push_back(std::make_unique<TMSGProperty>(this));
        copy.back()->Assign(*item);
    }
    items_ = std::move(copy);
}

bool TMSGProperties::IsMainProperties() const { return owner_ && &owner_->GetProperties() == this; }

TMSGProperty* TMSGProperties::GetPropertyByTag(std::uint32_t tag, bool byId, bool recursive) const {
    const std::uint32_t wantedId = tag >> 16;
    for (const auto& item : items_)
        if (byId ? item->PureTag() == wantedId : item->TagID == tag) return item.get();
    if (recursive)
        for (const auto& item : items_)
            if (!item->SubProperties().Empty())
                if (TMSGProperty* found = item->SubProperties().GetPropertyByTag(tag, byId, true)) return found;
    return nullptr;
}

WideString TMSGProperties::GetPropertyAsString(std::uint32_t tag, bool byId, bool recursive) const {
    const TMSGProperty* p = GetPropertyByTag(tag, byId, recursive);
    return p ? p->GetAsString() : WideString();
}

WideString TMSGProperties::FirstText(std::initializer_list<std::uint32_t> tags, bool byId) const {
    const bool recursive = !IsMainProperties();
    for (std::uint32_t tag : tags) {
        WideString text = GetPropertyAsString(tag, byId, recursive);
        if (!text.empty()) return text;
    }
    return WideString();
}

WideString TMSGProperties::GetSubject() const { return FirstText({0x0037001F, 0x0037001E, 0x0070001E}); }
WideString TMSGProperties::GetBody() const { return FirstText({0x1000001F, 0x1000001E, 0x10090102}); }
WideString TMSGProperties::GetHTMLBody() const { return FirstText({0x10130000}, true); }
WideString TMSGProperties::GetTransportHeader() const { return FirstText({0x007D001E, 0x007D001F}); }
WideString TMSGProperties::GetMessageID() const { return FirstText({0x10350000}, true); }
WideString TMSGProperties::GetCC() const { return FirstText({0x0073001E, 0x0073001F}); }
WideString TMSGProperties::GetBCC() const { return FirstText({0x0072001E, 0x0072001F}); }

DateTime TMSGProperties::GetMessageDate() const {
    const TMSGProperty* p = GetPropertyByTag(0x00390040, false, !IsMainProperties());
    if (!p) return DateTime{};
    if (const DateTime* dt = std::get_if<DateTime>(&p->Value)) return *dt;
    if (const double* d = std::get_if<double>(&p->Value)) return DateTime{*d};
    return DateTime{};  // a value of another kind is no date
}

int TMSGProperties::GetCodePage() const {
    const TMSGProperty* p = GetPropertyByTag(0x3FFD0003, false, true);
    if (!p) return 0;
    if (const auto* v = std::get_if<std::int32_t>(&p->Value)) return *v;
    if (const auto* v = std::get_if<std::int16_t>(&p->Value)) return *v;
    if (const auto* v = std::get_if<std::uint32_t>(&p->Value)) return static_cast<int>(*v);
    return 0;  // a code page stored as anything else names none
}

WideString TMSGProperties::GetSenderName() const {
    // The design reads only the 8-bit address; a Unicode file stores the wide one.
    WideString name = DeleteFirstZero(FirstText({0x0042001E, 0x0042001F}));
    return ComposeNameAndAddress(name, FirstText({0x0065001E, 0x0065001F}));
}

WideString TMSGProperties::GetRecipientName() const {
    WideString name = DeleteFirstZero(FirstText({0x0044001E, 0x0044001F}));
    WideString result = ComposeNameAndAddress(name, FirstText({0x0078001E, 0x0078001F}));
    if (result.empty()) result = FirstText({0x0E04001E, 0x0E04001F});
    return result;
}

// Visits the attachments in counting order: each own attachment storage, then for every item
// of the attachment category its direct children that are attachment storages.
template <class F>
void TMSGProperties::ForEachAttachment(F&& visit) const {
    for (const auto& item : items_) {
        if (item->GetCategory() != mpcAttachment) continue;
        if (item->PureTag() == kAttachmentId && !visit(*item)) return;
        for (const auto& child : item->SubProperties())
            if (child->PureTag() == kAttachmentId && !visit(*child)) return;
    }
}

int TMSGProperties::GetAttachmentCount() const {
    int count = 0;
    ForEachAttachment([&](const TMSGProperty&) {
        ++count;
        return true;
    });
    return count;
}

TMSGProperty* TMSGProperties::GetAttachment(int index) const {
    const TMSGProperty* found = nullptr;
    int at = 0;
    ForEachAttachment([&](const TMSGProperty& p) {
        if (at++ != index) return true;
        found = &p;
        return false;
    });
    return const_cast<TMSGProperty*>(found);
}

bool TMSGProperties::SaveAttachmentToStream(int index, std::ostream& out) const {
    const TMSGProperty* attachment = GetAttachment(index);
    if (!attachment) return false;
    const TMSGProperty* data = attachment->SubProperties().GetPropertyByTag(0x3701000D, false, true);
    if (!data || data->DataSize == 0) data = attachment->SubProperties().GetPropertyByTag(0x37010102, false, true);
    if (!data || data->DataSize == 0) return false;
    const std::string* bytes = data->RawBytes();
    if (!bytes) return false;
    out.write(bytes->data(), std::min<std::streamsize>(data->DataSize, static_cast<std::streamsize>(bytes->size())));
    return static_cast<bool>(out);
}

bool TMSGProperties::SaveAttachmentToFile(int index, const AnsiString& path) const {
    const TMSGProperty* attachment = GetAttachment(index);
    const TMSGProperty* data = nullptr;
    if (attachment) {
        data = attachment->SubProperties().GetPropertyByTag(0x3701000D, false, true);
        if (!data || data->DataSize == 0) data = attachment->SubProperties().GetPropertyByTag(0x37010102, false, true);
    }
    std::string bytes;
    if (data && data->DataSize > 0 && data->RawBytes())
        bytes = data->RawBytes()->substr(0, static_cast<std::size_t>(data->DataSize));

    return ReplaceFileAtomically(path, bytes) == 0;
}
