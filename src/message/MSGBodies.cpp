// The generated bodies of tasks, appointments and contacts: one row per field, a caption and
// the field's text. Named fields are found through the file's name mapping; the fixed tags
// serve only files without one.
#include <set>

#include "app/AppLocDB.h"
#include "app/RegExpUtils.h"
#include "app/cLogger.h"
#include "message/MSGNameMap.h"
#include "message/MessageMSG.h"
#include "output/IRenderer.h"
#include "platform/win/WinString.h"

namespace {

const TMSGProperty* FixedNode(const TMSGProperties& root)
{
    for (const auto& item : root)
        if (item->TagID == 0) return item.get();
    return nullptr;
}

// A property's text; dates in local time.
WideString ValueText(const TMSGProperty* p)
{
    if (!p) return {};
    if (const DateTime* d = std::get_if<DateTime>(&p->Value)) return MessageDateText(d->days);
    return p->GetAsString();
}

WideString Nested(const TMSGProperties& root, std::uint32_t tag, bool byId)
{
    return ValueText(root.GetPropertyByTag(tag, byId, true));
}

// A named field: through the mapping when the file has one (the root's own items, then the
// fixed-length entries); else the fixed tags in turn, exact and nested.
class NamedFields {
public:
    explicit NamedFields(const TMSGProperties& root) : root_(root), map_(root), fixed_(FixedNode(root)) {}

    bool Mapped() const { return map_.Present(); }

    const TMSGProperty* Find(const GUID& set, std::uint32_t number) const
    {
        const std::uint16_t id = map_.IdOf(set, number);
        if (!id) return nullptr;
        const std::uint32_t tag = static_cast<std::uint32_t>(id) << 16;
        if (const TMSGProperty* p = root_.GetPropertyByTag(tag, true, false)) return p;
        return fixed_ ? fixed_->SubProperties().GetPropertyByTag(tag, true, false) : nullptr;
    }

    WideString Text(const GUID& set, std::uint32_t number, std::initializer_list<std::uint32_t> fixedTags) const
    {
        if (Mapped()) return ValueText(Find(set, number));
        for (std::uint32_t tag : fixedTags) {
            WideString text = Nested(root_, tag, false);
            if (!text.empty()) return text;
        }
        return {};
    }

private:
    const TMSGProperties& root_;
    TMSGNameMap map_;
    const TMSGProperty* fixed_;
};

class Rows {
public:
    explicit Rows(const char16_t* lineBreak) : break_(lineBreak) {}
    void Add(const WideString& caption, const WideString& value) { text_ += break_ + caption + value; }
    void Break() { text_ += break_; }
    const WideString& Text() const { return text_; }

private:
    WideString break_;
    WideString text_;
};

}  // namespace

void MessageMSG::SetBody(const WideString& rows)
{
    plainBody = rows;
    // The rows are text: an address in angle brackets or an "&" must show as written.
    htmlBody = u"<pre>" + EscapeHtmlText(rows) + u"</pre>";
    loadedHtmlBody = htmlBody;
    bodyIsHtml = true;
    bodyIsRtf = false;
}

void MessageMSG::FillMsgTask(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::FillMsgTask");
    const TMSGProperties& root = file.GetProperties();
    const NamedFields named(root);
    Rows rows(u"\n");
    rows.Add(GetUiString(1034), GetUiString(1035));
    rows.Break();
    rows.Add(GetUiString(1025) + u": ", Nested(root, 0x0037001E, true));
    rows.Add(GetUiString(1038), named.Text(PSETID_Task, 0x8105, {0x801A0040}));
    rows.Add(GetUiString(1039), named.Text(PSETID_Task, 0x8104, {0x801B0040}));
    rows.Add(GetUiString(1040), Nested(root, 0x00260003, false));
    rows.Add(GetUiString(1041), Nested(root, 0x00170003, false));
    rows.Add(GetUiString(1042), file.GetBody());
    SetBody(rows.Text());
}

void MessageMSG::FillMsgAppointment(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::FillMsgAppointment");
    const TMSGProperties& root = file.GetProperties();
    const NamedFields named(root);
    Rows rows(u"\n");
    rows.Add(GetUiString(1034), GetUiString(1037));
    rows.Break();
    rows.Add(GetUiString(1025) + u": ", Nested(root, 0x0037001E, true));
    rows.Add(GetUiString(1043), named.Text(PSETID_Appointment, 0x8208, {0x8005001E, 0x8007001F}));
    rows.Add(GetUiString(1027) + u": ", Nested(root, 0x0E04001E, true));
    rows.Add(GetUiString(1045), named.Text(PSETID_Appointment, 0x820D, {0x80080040, 0x80060040}));
    rows.Add(GetUiString(1046), named.Text(PSETID_Appointment, 0x820E, {0x80070040, 0x80090040}));
    rows.Add(GetUiString(1047), named.Text(PSETID_Common, 0x8501, {0x80230003}) + u"min");
    rows.Break();
    rows.Add(GetUiString(1090), to);
    rows.Break();
    rows.Add(GetUiString(1042), file.GetBody());
    SetBody(rows.Text());
}

void MessageMSG::FillMsgContact(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::FillMsgContact");
    const TMSGProperties& root = file.GetProperties();
    const NamedFields named(root);
    const TMSGProperty* fixed = FixedNode(root);
    Rows rows(u"\r\n");
    rows.Add(GetUiString(1034), GetUiString(1036));
    rows.Break();
    rows.Add(GetUiString(1048), Nested(root, 0x3001001E, true));
    rows.Add(GetUiString(1049), Nested(root, 0x3A16001E, true));
    rows.Add(GetUiString(1050), Nested(root, 0x3A15001E, true));
    rows.Add(GetUiString(1051), Nested(root, 0x3A19001E, true));
    rows.Add(GetUiString(1052), Nested(root, 0x3A18001E, true));
    rows.Add(GetUiString(1053), Nested(root, 0x3A46001E, true));
    rows.Add(GetUiString(1054), Nested(root, 0x3A08001E, true));
    rows.Add(GetUiString(1055), Nested(root, 0x3A09001E, true));
    rows.Add(GetUiString(1056), Nested(root, 0x3A1C001E, true));
    rows.Add(GetUiString(1057), root.GetPropertyAsString(0x3A24001E, true, false));

    // Distinct valid addresses: the three e-mail fields of the mapping, or, without one,
    // every text from the first named property on.
    std::vector<WideString> addresses;
    auto keep = [&addresses](const WideString& text) {
        if (IsValidEmailAddress(text, true) && std::find(addresses.begin(), addresses.end(), text) == addresses.end())
            addresses.push_back(text);
    };
    if (named.Mapped()) {
        for (std::uint32_t number : {0x8083u, 0x8093u, 0x80A3u})
            if (const TMSGProperty* p = named.Find(PSETID_Address, number)) keep(p->GetAsString());
    } else {
        bool named_ = false;
        for (const auto& item : root) {
            named_ = named_ || item->TagID >= 0x80000000u;
            if (named_) keep(item->GetAsString());
        }
    }
    for (std::size_t i = 0; i < addresses.size(); ++i)
        rows.Add(GetUiString(1058) + Utf8ToUtf16(std::to_string(i + 1)) + u": ", addresses[i]);

    rows.Add(GetUiString(1059), root.GetPropertyAsString(0x3A51001E, true, false));
    rows.Add(GetUiString(1060), root.GetPropertyAsString(0x3A48001E, true, false));
    if (fixed) rows.Add(GetUiString(1061), ValueText(fixed->SubProperties().GetPropertyByTag(0x3A410040, true, true)));
    rows.Add(GetUiString(1042), file.GetBody());
    SetBody(rows.Text());
}
