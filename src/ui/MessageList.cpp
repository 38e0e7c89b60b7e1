#include "ui/MessageList.h"

#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "app/MiscUtils.h"
#include "message/MessageAttr.h"
#include "platform/vcl/FormatSettings.h"
#include "ui/KeySort.h"

namespace {

// The keys are taken out once, in list order, and the records are placed by their keys' order.
void Reorder(MessageAttrDeque& list, const std::vector<std::uint32_t>& order)
{
    const std::vector<TMessageAttr*> records(list.begin(), list.end());
    for (std::size_t i = 0; i < order.size(); ++i) list[i] = records[order[i]];
}

void SortByNumber(MessageAttrDeque& list, std::uint64_t (*key)(const TMessageAttr&), bool descending)
{
    std::vector<std::uint64_t> keys;
    keys.reserve(list.size());
    for (const TMessageAttr* m : list) keys.push_back(key(*m));
    Reorder(list, StableOrderOfNumbers(keys, descending));
}

void SortByText(MessageAttrDeque& list, const WideString TMessageAttr::*field, bool descending)
{
    std::vector<std::u16string_view> keys;
    keys.reserve(list.size());
    for (const TMessageAttr* m : list) keys.emplace_back(m->*field);
    Reorder(list, StableOrderOfTexts(keys, descending));
}

std::uint64_t ImageKey(const TMessageAttr& m) { return OrderedKey(m.GetImageIndex()); }
std::uint64_t AttachmentKey(const TMessageAttr& m) { return m.hasAttachments ? 1 : 0; }
std::uint64_t DateKey(const TMessageAttr& m) { return OrderedKey(m.date); }

}  // namespace

void SortMessages(MessageAttrDeque& list, int column, bool flag)
{
    switch (column) {
        case mlcType: SortByNumber(list, ImageKey, flag); break;
        case mlcAttachment: SortByNumber(list, AttachmentKey, !flag); break;
        case mlcFrom: SortByText(list, &TMessageAttr::from, flag); break;
        case mlcSubject: SortByText(list, &TMessageAttr::subject, flag); break;
        case mlcDate: SortByNumber(list, DateKey, !flag); break;
        case mlcTo: SortByText(list, &TMessageAttr::to, flag); break;
        case mlcCC: SortByText(list, &TMessageAttr::cc, flag); break;
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
