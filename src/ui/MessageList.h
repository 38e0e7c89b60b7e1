// What the message list shows of each record, how it sorts and how a header click chooses the
// sort. Pure functions over the list, so the window, the benchmark and the tests share them.
#pragma once

#include <vector>

#include "message/MessageAttrDeque.h"
#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"

class TMessageAttr;

enum MessageListColumn : int {
    mlcCheck = 0,
    mlcType = 1,
    mlcAttachment = 2,
    mlcFrom = 3,
    mlcSubject = 4,
    mlcDate = 5,
    mlcTo = 6,
    mlcCC = 7,
};
inline constexpr int kMessageListColumns = 8;

// Reorders the records by the column's key; ties keep their order. The check-box column and
// unknown columns leave the order as it is. With flag false: text A to Z (ordinal, capitals
// first), dates newest first, messages with attachments first, type icons ascending.
void SortMessages(MessageAttrDeque& list, int column, bool flag);

// The stored sort choice and what a click on a header makes of it: the same column inverts the
// direction, another column keeps it. False for the check-box column, which sorts nothing.
struct MessageListSort {
    int column = mlcCheck;
    bool flag = false;
    bool Click(int clicked);
};

// The local date-time text of a UTC date as the list and the header show it; empty without a
// date.
WideString MessageDateCellText(TDateTime utc);
// The text of a column of a row; the icon columns have none.
WideString MessageCellText(const TMessageAttr& message, int column);

// The rows now holding the given records, ascending; records no longer listed are left out.
std::vector<int> RowsOfMessages(const MessageAttrDeque& list, const std::vector<TMessageAttr*>& messages);
