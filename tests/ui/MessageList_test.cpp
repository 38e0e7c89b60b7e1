// Sorting the message list, the header-click choice, and the cells' texts.
#include <memory>
#include <vector>

#include "message/MessageEML.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageList.h"

namespace {

struct Row {
    const char16_t* subject;
    double date;
    bool attachments;
    int image;
};

class List {
public:
    explicit List(std::initializer_list<Row> rows)
    {
        for (const Row& r : rows) {
            auto m = std::make_unique<MessageEML>();
            m->subject = r.subject;
            m->from = r.subject;
            m->date = r.date;
            m->hasAttachments = r.attachments;
            m->imageIndex = r.image;
            list.push_back(m.get());
            owned.push_back(std::move(m));
        }
    }
    std::string Order() const
    {
        std::string out;
        for (const TMessageAttr* m : list) out += (out.empty() ? "" : " ") + Utf16ToUtf8(m->subject);
        return out;
    }
    MessageAttrDeque list;
    std::vector<std::unique_ptr<MessageEML>> owned;
};

TEST(MessageList, SortsByEveryColumnInBothDirections)
{
    const struct {
        int column;
        bool flag;
        const char* expected;
    } cases[] = {
        {mlcSubject, false, "Banana apple banana"},  // ordinal: capitals first
        {mlcSubject, true, "banana apple Banana"},
        {mlcFrom, false, "Banana apple banana"},
        {mlcDate, false, "banana Banana apple"},  // newest first
        {mlcDate, true, "apple Banana banana"},
        {mlcAttachment, false, "Banana apple banana"},  // with attachments first, ties in order
        {mlcAttachment, true, "apple banana Banana"},
        {mlcType, false, "banana apple Banana"},
        {mlcType, true, "Banana apple banana"},
        {mlcCheck, false, "apple Banana banana"},  // no sort
        {42, true, "apple Banana banana"},
    };
    for (const auto& c : cases) {
        List l{{u"apple", 1.0, false, 3}, {u"Banana", 2.0, true, 5}, {u"banana", 3.0, false, 1}};
        SortMessages(l.list, c.column, c.flag);
        EXPECT_EQ(l.Order(), c.expected) << "column " << c.column << " flag " << c.flag;
    }
}

TEST(MessageList, HeaderClicksInvertTheSameColumnAndKeepTheFlagForAnother)
{
    MessageListSort sort;
    EXPECT_TRUE(sort.Click(mlcDate));  // default flag: newest first
    EXPECT_EQ(sort.column, mlcDate);
    EXPECT_FALSE(sort.flag);
    EXPECT_TRUE(sort.Click(mlcDate));  // then oldest first
    EXPECT_TRUE(sort.flag);
    EXPECT_TRUE(sort.Click(mlcSubject));  // the flag stays: Z to A
    EXPECT_EQ(sort.column, mlcSubject);
    EXPECT_TRUE(sort.flag);
    EXPECT_FALSE(sort.Click(mlcCheck));
    EXPECT_EQ(sort.column, mlcSubject);
}

TEST(MessageList, DateCellIsEmptyWithoutADate)
{
    EXPECT_EQ(MessageDateCellText(0), u"");
    EXPECT_FALSE(MessageDateCellText(45000.5).empty());
}

TEST(MessageList, SelectionFollowsTheRecordsAcrossASort)
{
    List l{{u"c", 1.0, false, 0}, {u"a", 2.0, false, 0}, {u"b", 3.0, false, 0}};
    const std::vector<TMessageAttr*> selected{l.list[0], l.list[2]};  // c and b
    SortMessages(l.list, mlcSubject, false);
    EXPECT_EQ(RowsOfMessages(l.list, selected), (std::vector<int>{1, 2}));
}

}  // namespace
