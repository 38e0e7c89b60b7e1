#include "ui/MessageList.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <unordered_set>

#include "app/MiscUtils.h"
#include "message/MessageAttr.h"
#include "platform/vcl/FormatSettings.h"

namespace {

int Compare(std::u16string_view a, std::u16string_view b) { return a.compare(b); }
template <class Key>
int Compare(const Key& a, const Key& b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

// The keys are taken out once, next to their records, so that the comparisons read one array
// instead of following each record to its fields. Equal keys keep the list's order.
template <class Key>
void SortBy(MessageAttrDeque& list, Key (*key)(const TMessageAttr&), bool descending)
{
    struct Keyed {
        Key key;
        std::size_t position;
        TMessageAttr* message;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) keyed.push_back({key(*list[i]), i, list[i]});
    const int sign = descending ? -1 : 1;
    std::sort(keyed.begin(), keyed.end(), [sign](const Keyed& a, const Keyed& b) {
        const int c = sign * Compare(a.key, b.key);
        return c < 0 || (c == 0 && a.position < b.position);
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) list[i] = keyed[i].message;
}

int ImageKey(const TMessageAttr& m) { return m.GetImageIndex(); }
bool AttachmentKey(const TMessageAttr& m) { return m.hasAttachments; }
double DateKey(const TMessageAttr& m) { return m.date; }
std::u16string_view FromKey(const TMessageAttr& m) { return m.from; }
std::u16string_view SubjectKey(const TMessageAttr& m) { return m.subject; }
std::u16string_view ToKey(const TMessageAttr& m) { return m.to; }
std::u16string_view CcKey(const TMessageAttr& m) { return m.cc; }

}  // namespace

void SortMessages(MessageAttrDeque& list, int column, bool flag)
{
    // UTF-16 views compare code units as unsigned values: ordinal order.
    switch (column) {
        case mlcType: SortBy(list, ImageKey, flag); break;
        case mlcAttachment: SortBy(list, AttachmentKey, !flag); break;
        case mlcFrom: SortBy(list, FromKey, flag); break;
        case mlcSubject: SortBy(list, SubjectKey, flag); break;
        case mlcDate: SortBy(list, DateKey, !flag); break;
        case mlcTo: SortBy(list, ToKey, flag); break;
        case mlcCC: SortBy(list, CcKey, flag); break;
        default: break;
    }
}

bool MessageListSort::Click(int clicked)
{
    if (clicked <= mlcCheck || clicked >= kMessageListColumns) return false;
    if (clicked == column) flag = !flag;
    column = clicked;
    return true;
}

WideString MessageDateCellText(TDateTime utc)
{
    if (utc == 0) return {};
    return DateTimeToStr(UtcToLocalDateTime(utc));
}

WideString MessageCellText(const TMessageAttr& message, int column)
{
    switch (column) {
        case mlcFrom: return message.from;
        case mlcSubject: return message.subject;
        case mlcDate: return MessageDateCellText(message.date);
        case mlcTo: return message.to;
        case mlcCC: return message.cc;
        default: return {};
    }
}

std::vector<int> RowsOfMessages(const MessageAttrDeque& list, const std::vector<TMessageAttr*>& messages)
{
    std::unordered_set<const TMessageAttr*> wanted(messages.begin(), messages.end());
    std::vector<int> rows;
    for (std::size_t i = 0; i < list.size() && rows.size() < wanted.size(); ++i)
        if (wanted.count(list[i])) rows.push_back(static_cast<int>(i));
    return rows;
}
