// The Unicode tree view without a display: typed nodes, "Utf8Data" storage (its limits and bad
// input), form files, sorting, re-creation, label editing and the node class.
#include <gtest/gtest.h>

#include "controls/unicode/TntTreeView.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class TntTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        RegisterClass(TTntTreeView::StaticClass());
        form_ = std::make_unique<TForm>(nullptr);
        tree_ = new TTntTreeView(form_.get());
        tree_->SetName("Tree");
        tree_->SetParent(form_.get());
    }
    // A root folder with children "b" and a Greek word with an emoji, and a second root "a".
    void Fill() {
        TTntTreeNodes* nodes = tree_->GetItems();
        TTntTreeNode* root = nodes->Add(nullptr, u"\u041F\u0430\u043F\u043A\u0430");
        nodes->AddChild(root, u"b")->SetImageIndex(3);
        nodes->AddChild(root, u"\u03B2\U0001F600");
        nodes->Add(root, u"a");
    }
    std::vector<WideString> Texts() const {
        TTntStringList list;
        tree_->GetItems()->GetNodesText(list);
        std::vector<WideString> out;
        for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
        return out;
    }
    std::unique_ptr<TForm> form_;
    TTntTreeView* tree_ = nullptr;
};

TEST_F(TntTreeViewTest, NodesTextDepthFirstAndTypedAccess) {
    Fill();
    EXPECT_EQ(Texts(), (std::vector<WideString>{u"\u041F\u0430\u043F\u043A\u0430", u"b", u"\u03B2\U0001F600", u"a"}));
    TTntTreeNode* first = tree_->GetItems()->GetFirstNode();
    EXPECT_EQ(first->GetFirstChild()->GetNextSibling()->GetText(), u"\u03B2\U0001F600");
    EXPECT_EQ(first->GetItem(0)->GetParent(), first);
    EXPECT_EQ(tree_->GetItems()->GetNodeFromIndex(3)->GetText(), u"a");
    EXPECT_EQ(first->GetTreeView(), tree_);
    EXPECT_EQ(tree_->GetItems()->GetNode(first->ItemId()), first);
}

TEST_F(TntTreeViewTest, Utf8DataRoundTripWithoutData) {
    Fill();
    int owned = 0;
    tree_->GetItems()->GetFirstNode()->SetData(&owned);
    TTntMemoryStream stream;
    tree_->GetItems()->WriteData(stream);
    auto* copy = new TTntTreeView(form_.get());
    stream.SetPosition(0);
    copy->GetItems()->ReadData(stream);
    TTntStringList a, b;
    tree_->GetItems()->GetNodesText(a);
    copy->GetItems()->GetNodesText(b);
    EXPECT_TRUE(a.Equals(b));
    EXPECT_EQ(copy->GetItems()->GetNodeFromIndex(1)->ImageIndex(), 3);
    // Data pointers stay with their tree, also through Assign.
    EXPECT_EQ(copy->GetItems()->GetFirstNode()->Data(), nullptr);
    copy->SetItems(tree_->GetItems());
    EXPECT_EQ(copy->GetItems()->Count(), 4);
    EXPECT_EQ(copy->GetItems()->GetFirstNode()->Data(), nullptr);
}

TEST_F(TntTreeViewTest, StoredTextIsCutBetweenCharacters) {
    struct Case {
        WideString text;
        std::size_t kept;  // UTF-16 units that come back
    } cases[] = {
        {WideString(300, u'x'), 252},
        {WideString(100, u'\u0416'), 126},                 // two bytes each
        {WideString(249, u'x') + u"\U0001F600", 249},        // the pair would need four more bytes
        {WideString(248, u'x') + u"\U0001F600", 250},
    };
    for (const Case& c : cases) {
        tree_->GetItems()->Clear();
        tree_->GetItems()->Add(nullptr, c.text);
        TTntMemoryStream stream;
        tree_->GetItems()->WriteData(stream);
        stream.SetPosition(0);
        tree_->GetItems()->ReadData(stream);
        EXPECT_EQ(tree_->GetItems()->GetFirstNode()->GetText(), c.text.substr(0, c.kept)) << c.kept;
    }
}

TEST_F(TntTreeViewTest, BadUtf8GivesAnEmptyText) {
    std::string bytes;
    auto put = [&](std::int32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    const std::string text = "\xEF\xBB\xBF\xC3\x28";
    put(1);
    put(static_cast<std::int32_t>(text.size()) + 25);
    for (int i = 0; i < 6; ++i) put(0);
    bytes.push_back(static_cast<char>(text.size()));
    bytes += text;
    TTntMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    tree_->GetItems()->ReadData(stream);
    ASSERT_EQ(tree_->GetItems()->Count(), 1);
    EXPECT_EQ(tree_->GetItems()->GetFirstNode()->GetText(), u"");
}

TEST_F(TntTreeViewTest, FormFilesCarryUtf8DataOnlyWithNodes) {
    EXPECT_EQ(ComponentToText(tree_).find("Utf8Data"), std::string::npos);
    Fill();
    const std::string text = ComponentToText(tree_);
    ASSERT_NE(text.find("Items.Utf8Data"), std::string::npos);
    TForm other(nullptr);
    auto* read = new TTntTreeView(&other);
    ReadComponentText(text, read);
    EXPECT_EQ(read->GetItems()->Count(), 4);
    EXPECT_EQ(read->GetItems()->GetNodeFromIndex(2)->GetText(), u"\u03B2\U0001F600");
}

TEST_F(TntTreeViewTest, DefaultSortAndOnCompare) {
    Fill();
    tree_->AlphaSort(true);
    EXPECT_EQ(Texts(), (std::vector<WideString>{u"a", u"\u041F\u0430\u043F\u043A\u0430", u"b", u"\u03B2\U0001F600"}));
    tree_->HandleNeeded();
    tree_->RecreateWnd();
    tree_->HandleNeeded();
    EXPECT_EQ(Texts(), (std::vector<WideString>{u"a", u"\u041F\u0430\u043F\u043A\u0430", u"b", u"\u03B2\U0001F600"}));
    tree_->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& compare) {
        compare = -WideCompareStr(a->Text(), b->Text());
    };
    tree_->AlphaSort(false);
    EXPECT_EQ(tree_->GetItems()->GetFirstNode()->GetText(), u"\u041F\u0430\u043F\u043A\u0430");
}

TEST_F(TntTreeViewTest, EditingAndCancel) {
    Fill();
    TTntTreeNode* node = tree_->GetItems()->GetNodeFromIndex(1);
    TTntTreeNode* cancelled = nullptr;
    tree_->OnEdited = [](TObject*, TTntTreeNode*, WideString& s) { s = u"[" + s + u"]"; };
    tree_->OnCancelEdit = [&](TObject*, TTntTreeNode* n) { cancelled = n; };
    char16_t typed[] = u"\u0436";
    NMTVDISPINFOW nm;
    nm.hdr.code = TVN_ENDLABELEDITW;
    nm.item.hItem = node->ItemId();
    nm.item.pszText = typed;
    tree_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(node->GetText(), u"[\u0436]");
    nm.item.pszText = nullptr;
    tree_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(cancelled, node);
    EXPECT_EQ(node->GetText(), u"[\u0436]");
}

TEST_F(TntTreeViewTest, NodeClassMustBeWide) {
    tree_->OnCreateNodeClass = [](TObject*, TTntTreeNodeClass& nodeClass) {
        nodeClass = [](TTreeNodes* o, TTreeNode* p) { return std::make_unique<TTreeNode>(o, p); };
    };
    EXPECT_THROW(tree_->GetItems()->Add(nullptr, u"x"), ETntInternalError);
    EXPECT_EQ(tree_->GetItems()->Count(), 0);
}

}  // namespace
