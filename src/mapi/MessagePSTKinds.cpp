// The plain-text summaries of tasks, appointments and contacts of a store message.
#include <algorithm>

#include "app/AppLocDB.h"
#include "app/RegExpUtils.h"
#include "app/MiscUtils.h"
#include "app/cLogger.h"
#include "mapi/MessagePST.h"
#include "message/MSGNameMap.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/win/WinString.h"

namespace {

// Task dates are named properties: their ids differ from store to store.
constexpr LONG kLidTaskStartDate = 0x8104;
constexpr LONG kLidTaskDueDate = 0x8105;
// Placeholders in the task's tag list for the two named dates.
constexpr ULONG kTaskDueSlot = 0xFFF00040;
constexpr ULONG kTaskStartSlot = 0xFFF10040;

// In the user's own way of writing dates: the short date and the long time of the locale, the
// time left out at midnight.
WideString DateText(const FILETIME& ft)
{
    const TDateTime utc = FileTimeToDateTime(ft);
    if (utc == 0) return {};
    const TDateTime local = UtcToLocalDateTime(utc);
    return local == 0 ? WideString() : DateTimeToStr(local);
}

WideString ValueText(const SPropValue& v)
{
    switch (v.type()) {
        case PT_STRING8:
        case PT_UNICODE: return MapiSession::GetPropValAsString(&v, 0);
        case PT_SYSTIME: return DateText(v.Value.ft);
        case PT_LONG: return Utf8ToUtf16(std::to_string(v.Value.l));
        default: return {};
    }
}

// The caption of a property id in a kind's summary; 0 when the kind shows no such line.
struct Line {
    ULONG id;
    int text;
    bool colon;         // caption is followed by ": "
    bool blankBefore;   // an empty line before it
};

const Line kTaskLines[] = {{0x0037, 1025, true, false}, {0xFFF0, 1038, false, false}, {0xFFF1, 1039, false, false},
                           {0x0026, 1040, false, false}, {0x0017, 1041, false, false}};
const Line kAppointmentLines[] = {{0x0037, 1025, true, false}, {0x3A0D, 1043, false, false}, {0x0E04, 1090, false, true},
                                  {0x0060, 1039, false, false}, {0x0061, 1046, false, false}};
const Line kContactLines[] = {{0x3001, 1048, false, false}, {0x3A16, 1049, false, false}, {0x3A15, 1050, false, false},
                              {0x3A19, 1051, false, false}, {0x3A18, 1052, false, false}, {0x3A46, 1053, false, false},
                              {0x3A08, 1054, false, false}, {0x3A09, 1055, false, false}, {0x3A1C, 1056, false, false},
                              {0x3A24, 1057, false, false}, {0x3A51, 1059, false, false}, {0x3A48, 1060, false, false},
                              {0x3A41, 1061, false, false}};

template <std::size_t N>
const Line* FindLine(const Line (&lines)[N], ULONG id)
{
    for (const Line& l : lines)
        if (l.id == id) return &l;
    return nullptr;
}

}  // namespace

void MessagePST::FillSummary(IMessage* message, int kindText, const std::vector<ULONG>& tags, bool contact)
{
    if (!message) return;
    const ULONG flags = unicodeStore ? MAPI_UNICODE : 0;
    // Named task dates: the store's ids for PSETID_Task's due and start dates.
    std::vector<ULONG> asked;
    std::vector<ULONG> slotOf;  // the placeholder a resolved tag stands for (or the tag itself)
    for (ULONG tag : tags) {
        if (tag == kTaskDueSlot || tag == kTaskStartSlot) {
            MAPINAMEID name;
            name.guid = PSETID_Task;
            name.ulKind = MNID_ID;
            name.lID = tag == kTaskDueSlot ? kLidTaskDueDate : kLidTaskStartDate;
            SPropTagArray ids;
            if (message->GetIDsFromNames({name}, 0, &ids) != S_OK || ids.cValues() != 1 ||
                PROP_TYPE(ids.aulPropTag[0]) == PT_ERROR)
                continue;
            asked.push_back(CHANGE_PROP_TYPE(ids.aulPropTag[0], PT_SYSTIME));
        } else {
            asked.push_back(PROP_TYPE(tag) == PT_STRING8 ? CHANGE_PROP_TYPE(tag, StringType()) : tag);
        }
        slotOf.push_back(tag);
    }
    ULONG count = 0;
    SPropValueArray values;
    const SPropTagArray list(asked);
    const HRESULT hr = message->GetProps(&list, flags, &count, &values);
    if (hr != S_OK && hr != MAPI_W_ERRORS_RETURNED) return;

    // Rebuilt from the message's own body each time, so reloading never nests summaries.
    const WideString notes = plainBody;
    WideString text = u"\n" + GetUiString(1034) + GetUiString(kindText) + u"\n";
    for (std::size_t i = 0; i < values.size() && i < slotOf.size(); ++i) {
        const SPropValue& v = values[i];
        if (v.isError()) continue;
        const ULONG id = PROP_ID(slotOf[i]);
        const Line* line = kindText == 1035   ? FindLine(kTaskLines, id)
                           : kindText == 1037 ? FindLine(kAppointmentLines, id)
                                              : FindLine(kContactLines, id);
        if (!line) continue;
        const WideString value = ValueText(v);
        text += u"\n";
        if (line->blankBefore) text += u"\n";
        text += GetUiString(line->text) + (line->colon ? u": " : u"") + value;
    }
    if (contact) {
        SPropValueArray all;
        ULONG n = 0;
        const HRESULT allHr = message->GetProps(nullptr, flags, &n, &all);
        if (allHr != S_OK && allHr != MAPI_W_ERRORS_RETURNED) {
            plainBody = text;
            htmlBody = plainBody;
            bodyIsHtml = bodyIsRtf = false;
            return;
        }
        std::vector<WideString> addresses;
        for (const SPropValue& v : all) {
            const bool isString = v.type() == PT_STRING8 || v.type() == PT_UNICODE;
            if (!(v.id() >= 0x8000 || isString) || !isString) continue;
            const WideString candidate = MapiSession::GetPropValAsString(&v, 0);
            if (candidate.empty() || !IsValidEmailAddress(candidate, true)) continue;
            if (std::find(addresses.begin(), addresses.end(), candidate) == addresses.end()) addresses.push_back(candidate);
        }
        for (std::size_t k = 0; k < addresses.size(); ++k)
            text += u"\n" + GetUiString(1058) + Utf8ToUtf16(std::to_string(k + 1)) + u": " + addresses[k];
    }
    text += u"\n" + GetUiString(1042) + notes;
    // A summary is plain text: shown as HTML its line breaks would be lost and a "<" in the
    // notes would become markup.
    plainBody = text;
    htmlBody = text;
    loadedHtmlBody.clear();
    bodyIsHtml = false;
    bodyIsRtf = false;
}

void MessagePST::FillMsgTask(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::FillMsgTask");
    FillSummary(message, 1035, {0x0037001E, kTaskDueSlot, kTaskStartSlot, 0x00260003, 0x00170003}, false);
}

void MessagePST::FillMsgAppointment(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::FillMsgAppointment");
    FillSummary(message, 1037, {0x0037001E, 0x3A0D001E, 0x0E04001E, 0x00600040, 0x00610040}, false);
}

void MessagePST::FillMsgContact(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::FillMsgContact");
    FillSummary(message, 1036,
                {0x3001001E, 0x3A16001E, 0x3A15001E, 0x3A19001E, 0x3A18001E, 0x3A46001E, 0x3A08001E, 0x3A09001E,
                 0x3A1C001E, 0x3A24001E, 0x3A51001E, 0x3A48001E, 0x3A410040},
                true);
}
