#include "ui/MessageList.h"

#include <algorithm>
#include <unordered_set>

#include "app/MiscUtils.h"
#include "message/MessageAttr.h"
#include "platform/vcl/FormatSettings.h"

namespace {

template <class Key, class Less>
void SortBy(MessageAttrDeque& list, Key key, Less less)
{
    std::stable_sort(list.begin(), list.end(),
                     [&](const TMessageAttr* a, const TMessageAttr* b) { return less(key(*a), key(*b)); });
}

template <class Key>
void SortBy(MessageAttrDeque& list, Key key, bool descending)
{
    if (descending)
        SortBy(list, key, [](const auto& a, const auto& b) { return b < a; });
    else
        SortBy(list, key, [](const auto& a, const auto& b) { return a < b; });
}

}  // namespace

void SortMessages(MessageAttrDeque& list, int column, bool flag)
{
    // std::u16string compares code units as unsigned values: ordinal order.
    switch (column) {
        case mlcType: SortBy(list, [](const TMessageAttr& m) { return m.GetImageIndex(); }, flag); break;
        case mlcAttachment: SortBy(list, [](const TMessageAttr& m) { return m.hasAttachments; }, !flag); break;
        case mlcFrom: SortBy(list, [](const TMessageAttr& m) -> const WideString& { return m.from; }, flag); break;
        case mlcSubject: SortBy(list, [](const TMessageAttr& m) -> const WideString& { return m.subject; }, flag); break;
        case mlcDate: SortBy(list, [](const TMessageAttr& m) { return m.date; }, !flag); break;
        case mlcTo: SortBy(list, [](const TMessageAttr& m) -> const WideString& { return m.to; }, flag); break;
        case mlcCC: SortBy(list, [](const TMessageAttr& m) -> const WideString& { return m.cc; }, flag); break;
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
