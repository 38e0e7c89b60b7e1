// The tree view without a toolkit: nodes on demand, the expansion and selection events with
// their vetoes, deletion notifications, sorting through TVM_SORTCHILDRENCB, label editing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/TreeView.h"

namespace {

std::string Names(const TTreeNode* parent, const TTreeNodes* items) {
    std::string out;
    const int n = parent ? parent->Count() : items->TopCount();
    for (int i = 0; i < n; ++i) {
        const TTreeNode* c = parent ? parent->Item(i) : items->TopItem(i);
        if (!out.empty()) out += ' ';
        out += Utf16ToUtf8(c->Text());
    }
    return out;
}

TEST(TreeView, ChildrenOnDemandAndTheExpandingVeto) {
    TTreeView tree(nullptr);
    TTreeNode* folder = tree.Items()->AddChild(nullptr, u"Folder");
    folder->SetHasChildren(true);  // the button shows before any child exists
    bool refuse = true;
    int fills = 0;
    std::vector<std::string> events;
    tree.OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
        events.push_back("expanding " + Utf16ToUtf8(node->Text()));
        if (refuse) {
            allow = false;
            return;
        }
        if (node->Count() == 0) {
            ++fills;
            tree.Items()->AddChild(node, u"b");
            tree.Items()->AddChild(node, u"a");
        }
    };
    tree.OnExpanded = [&](TObject*, TTreeNode* node) { events.push_back("expanded " + Utf16ToUtf8(node->Text())); };
    tree.OnCollapsing = [&](TObject*, TTreeNode*, bool& allow) { allow = !refuse; };

    folder->Expand(false);
    EXPECT_FALSE(folder->Expanded());
    EXPECT_TRUE(folder->HasChildren());
    EXPECT_EQ(folder->Count(), 0);

    refuse = false;
    folder->SetExpanded(true);
    EXPECT_TRUE(folder->Expanded());
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(Names(folder, tree.Items()), "b a");
    EXPECT_EQ(events, (std::vector<std::string>{"expanding Folder", "expanding Folder", "expanded Folder"}));

    // Collapse may be refused too; a second expansion does not fill again.
    refuse = true;
    folder->Collapse(false);
    EXPECT_TRUE(folder->Expanded());
    refuse = false;
    folder->Collapse(false);
    folder->Expand(false);
    EXPECT_EQ(fills, 1);

    // An expansion that brings no children takes the button away.
    TTreeNode* empty = tree.Items()->Add(folder, u"Empty");
    empty->SetHasChildren(true);
    tree.OnExpanding = nullptr;
    empty->Expand(false);
    EXPECT_FALSE(empty->Expanded());
    EXPECT_FALSE(empty->HasChildren());
    EXPECT_EQ(tree.Perform(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(empty->ItemId())), 0);
}

TEST(TreeView, SelectionEventsAndDeletion) {
    TTreeView tree(nullptr);
    TTreeNode* a = tree.Items()->Add(nullptr, u"a");
    TTreeNode* b = tree.Items()->Add(nullptr, u"b");
    TTreeNode* b1 = tree.Items()->AddChildObject(b, u"b1", &tree);
    EXPECT_EQ(b1->Data(), &tree);
    EXPECT_EQ(b1->Level(), 1);
    EXPECT_EQ(b1->AbsoluteIndex(), 2);
    EXPECT_EQ(tree.Items()->Count(), 3);

    std::vector<TTreeNode*> changes;
    TTreeNode* forbidden = nullptr;
    tree.OnChanging = [&](TObject*, TTreeNode* node, bool& allow) { allow = node != forbidden; };
    tree.OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };

    tree.SetSelected(a);
    forbidden = b;
    b->SetSelected(true);
    EXPECT_EQ(tree.Selected(), a);
    forbidden = nullptr;
    EXPECT_EQ(tree.Perform(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b1->ItemId())), 1);
    EXPECT_TRUE(b1->Selected());
    EXPECT_EQ(changes, (std::vector<TTreeNode*>{a, b1}));

    // Collapsing the selected node's parent selects the parent.
    b->Expand(false);
    b->Collapse(false);
    EXPECT_EQ(tree.Selected(), b);

    // Deleting a node announces its children first, then moves the selection on.
    std::vector<std::string> deleted;
    tree.OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(Utf16ToUtf8(node->Text())); };
    b->Delete();
    EXPECT_EQ(deleted, (std::vector<std::string>{"b1", "b"}));
    EXPECT_EQ(tree.Selected(), a);

    // TVM_DELETEITEM with TVI_ROOT empties the tree with a notification per node.
    tree.Items()->AddChild(a, u"a1");
    deleted.clear();
    tree.Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_EQ(deleted, (std::vector<std::string>{"a1", "a"}));
    EXPECT_EQ(tree.Items()->Count(), 0);
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST(TreeView, OnDeletionHearsEveryNodeWhenTheViewGoes) {
    int freed = 0;
    {
        TTreeView tree(nullptr);
        TTreeNode* a = tree.Items()->AddChildObject(nullptr, u"a", new int(1));
        tree.Items()->AddChildObject(a, u"a1", new int(2));
        tree.SetSelected(a);
        tree.OnChange = [](TObject*, TTreeNode*) { FAIL() << "no selection change while the view goes"; };
        tree.OnDeletion = [&](TObject*, TTreeNode* node) {
            delete static_cast<int*>(node->Data());
            ++freed;
        };
    }
    EXPECT_EQ(freed, 2);
}

int ByLengthThenReverse(LPARAM n1, LPARAM n2, LPARAM data) {
    const auto* a = reinterpret_cast<TTreeNode*>(n1);
    const auto* b = reinterpret_cast<TTreeNode*>(n2);
    if (a->Text().size() != b->Text().size()) return static_cast<int>(a->Text().size()) - static_cast<int>(b->Text().size());
    return static_cast<int>(data) * WideCompareText(a->Text(), b->Text());
}

TEST(TreeView, SortingGoesThroughTheSortMessage) {
    TTreeView tree(nullptr);
    for (const char16_t* t : {u"delta", u"Alpha", u"cc", u"bravo"}) tree.Items()->Add(nullptr, t);
    TTreeNode* parent = tree.Items()->TopItem(0);
    for (const char16_t* t : {u"z", u"Y", u"x"}) tree.Items()->AddChild(parent, t);

    // A WindowProc hook sees the sort request with its callback, as the program's code expects.
    int sortMessages = 0;
    auto saved = tree.WindowProc;
    tree.WindowProc = [&](TMessage& m) {
        if (m.Msg == TVM_SORTCHILDRENCB) ++sortMessages;
        saved(m);
    };
    EXPECT_TRUE(tree.AlphaSort(true));
    EXPECT_EQ(Names(nullptr, tree.Items()), "Alpha bravo cc delta");
    EXPECT_EQ(Names(tree.Items()->TopItem(3), tree.Items()), "x Y z");
    EXPECT_EQ(sortMessages, 1);  // one request sorts the whole tree

    EXPECT_TRUE(tree.CustomSort(&ByLengthThenReverse, -1, false));
    EXPECT_EQ(Names(nullptr, tree.Items()), "cc delta bravo Alpha");

    // OnCompare decides the default order.
    tree.OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& compare) { compare = -WideCompareText(a->Text(), b->Text()); };
    tree.AlphaSort(false);
    EXPECT_EQ(Names(nullptr, tree.Items()), "delta cc bravo Alpha");

    // A sorted view places new nodes by their text.
    tree.OnCompare = nullptr;
    tree.SetSortType(stText);
    tree.Items()->Add(nullptr, u"charlie");
    EXPECT_EQ(Names(nullptr, tree.Items()), "Alpha bravo cc charlie delta");
}

TEST(TreeView, LabelEditingAsksFirstAndImagesComeOnDemand) {
    TTreeView tree(nullptr);
    TTreeNode* node = tree.Items()->Add(nullptr, u"old");
    bool allowEdit = false;
    tree.OnEditing = [&](TObject*, TTreeNode*, bool& allow) { allow = allowEdit; };
    EXPECT_FALSE(node->EditText());
    EXPECT_EQ(tree.Perform(TVM_GETEDITCONTROL, 0, 0), 0);

    allowEdit = true;
    EXPECT_TRUE(node->EditText());
    EXPECT_TRUE(tree.IsEditing());
    EXPECT_NE(tree.Perform(TVM_GETEDITCONTROL, 0, 0), 0);
    tree.OnEdited = [](TObject*, TTreeNode*, WideString& s) { s += u"!"; };
    // The platform's end-edit notification carries the typed text.
    NMTVDISPINFOW nm;
    nm.hdr.code = TVN_ENDLABELEDITW;
    nm.item.hItem = node->ItemId();
    WideString typed = u"new";
    typed.push_back(0);
    nm.item.pszText = typed.data();
    tree.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(node->Text(), u"new!");
    node->EndEdit(true);
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(node->Text(), u"new!");  // cancelling leaves the text alone

    tree.SetReadOnly(true);
    EXPECT_FALSE(node->EditText());

    // TVN_GETDISPINFO asks OnGetImageIndex once per request.
    int asked = 0;
    tree.OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        ++asked;
        n->SetImageIndex(7);
    };
    node->SetSelectedIndex(3);
    int image = -1, selected = -1;
    tree.NodeImages(node, image, selected);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(image, 7);
    EXPECT_EQ(selected, 3);
}

TEST(TreeView, NoToolTipsAndNoDragStyles) {
    struct TProbeTree : TTreeView {
        using TTreeView::TTreeView;
        DWORD Style() {
            TCreateParams p;
            CreateParams(p);
            return p.Style;
        }
    } tree(nullptr);
    EXPECT_EQ(tree.Style() & (TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP), 0u);
    tree.SetToolTips(false);
    tree.SetDragAllowed(false);
    EXPECT_EQ(tree.Style() & (TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP), TVS_NOTOOLTIPS | TVS_DISABLEDRAGDROP);
    // Item height: 0 is the platform's default (sent as -1); the previous height comes back.
    tree.SetItemHeight(20);
    EXPECT_EQ(tree.Perform(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
    EXPECT_EQ(tree.ItemHeight(), 0);
}

}  // namespace
