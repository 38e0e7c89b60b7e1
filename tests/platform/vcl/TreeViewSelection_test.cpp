// The tree view's multi-selection (Ctrl and Shift with their styles, the order of Selections,
// deletion of selected nodes) and moving nodes with MoveTo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TreeView.h"

namespace {

// a, b (b1, b2; expanded), c, d (d1; collapsed)
struct Tree {
    Tree() {
        TTreeNodes* items = view.Items();
        a = items->Add(nullptr, u"a");
        b = items->Add(nullptr, u"b");
        b1 = items->AddChild(b, u"b1");
        b2 = items->AddChild(b, u"b2");
        c = items->Add(nullptr, u"c");
        d = items->Add(nullptr, u"d");
        d1 = items->AddChild(d, u"d1");
        b->Expand(false);
        view.OnChange = [this](TObject*, TTreeNode* node) { changes.push_back(node ? Utf16ToUtf8(node->Text()) : "-"); };
    }
    TTreeNode* Find(const std::string& text) const {
        for (TTreeNode* n = view.Items()->GetFirstNode(); n; n = n->GetNext())
            if (Utf16ToUtf8(n->Text()) == text) return n;
        return nullptr;
    }
    std::string Selection() const {
        std::string out;
        for (unsigned i = 0; i < view.SelectionCount(); ++i) out += (i ? " " : "") + Utf16ToUtf8(view.Selections(static_cast<int>(i))->Text());
        return out;
    }
    std::string Children(const TTreeNode* parent) const {
        std::string out;
        const int n = parent ? parent->Count() : view.Items()->TopCount();
        for (int i = 0; i < n; ++i) out += (i ? " " : "") + Utf16ToUtf8((parent ? parent->Item(i) : view.Items()->TopItem(i))->Text());
        return out;
    }
    TTreeView view{nullptr};
    TTreeNode *a, *b, *b1, *b2, *c, *d, *d1;
    std::vector<std::string> changes;
};

struct Click {
    const char* node;
    TShiftState shift;
};

TEST(TreeViewSelection, ClicksWithCtrlAndShiftFollowTheStyle) {
    const TShiftState ctrl{ssCtrl}, shift{ssShift}, both{ssCtrl, ssShift};
    struct Case {
        const char* name;
        bool multi;
        TMultiSelectStyles style;
        std::vector<Click> clicks;
        const char* selection;  // in the order selected
        const char* primary;
    };
    const Case cases[] = {
        {"plain click replaces", true, msControlSelect, {{"a", {}}, {"c", {}}}, "c", "c"},
        {"ctrl adds in click order", true, msControlSelect, {{"c", {}}, {"a", ctrl}, {"b2", ctrl}}, "c a b2", "b2"},
        {"ctrl toggles off, primary falls back", true, msControlSelect, {{"c", {}}, {"a", ctrl}, {"a", ctrl}}, "c", "c"},
        {"ctrl on the only node keeps it", true, msControlSelect, {{"c", {}}, {"c", ctrl}}, "c", "c"},
        {"shift needs its style", true, msControlSelect, {{"a", {}}, {"c", shift}}, "c", "c"},
        {"shift takes shown rows", true, msControlSelect | msShiftSelect, {{"a", {}}, {"c", shift}}, "a b b1 b2 c", "c"},
        {"shift leaves hidden rows out", true, msShiftSelect, {{"a", {}}, {"d", shift}}, "a b b1 b2 c d", "d"},
        {"shift upwards from the anchor", true, msShiftSelect, {{"c", {}}, {"b", shift}}, "c b2 b1 b", "b"},
        {"shift again from the same anchor", true, msShiftSelect, {{"b", {}}, {"d", shift}, {"a", shift}}, "b a", "a"},
        {"ctrl+shift adds the range", true, msControlSelect | msShiftSelect, {{"d", {}}, {"a", ctrl}, {"b2", both}}, "d a b b1 b2", "b2"},
        {"sibling only: another parent starts again", true, msControlSelect | msSiblingOnly, {{"a", {}}, {"c", ctrl}, {"b1", ctrl}}, "b1", "b1"},
        {"sibling only: range keeps siblings", true, msShiftSelect | msSiblingOnly, {{"a", {}}, {"c", shift}}, "a b c", "c"},
        {"without MultiSelect ctrl is a plain click", false, msControlSelect, {{"a", {}}, {"c", ctrl}}, "c", "c"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Tree t;
        t.view.SetMultiSelect(k.multi);
        t.view.SetMultiSelectStyle(k.style);
        for (const Click& click : k.clicks) t.view.Select(t.Find(click.node), click.shift);
        EXPECT_EQ(t.Selection(), k.selection);
        ASSERT_NE(t.view.Selected(), nullptr);
        EXPECT_EQ(Utf16ToUtf8(t.view.Selected()->Text()), k.primary);
        EXPECT_TRUE(t.view.Selected()->Selected());
        EXPECT_EQ(t.view.Selections(static_cast<int>(t.view.SelectionCount())), nullptr);
        EXPECT_EQ(t.view.Selections(-1), nullptr);
    }
}

TEST(TreeViewSelection, NodeMembershipClearAndOnChange) {
    Tree t;
    t.view.SetMultiSelect(true);
    t.view.SetSelected(t.a);
    t.c->SetSelected(true);  // adds
    t.d1->SetSelected(true);
    EXPECT_EQ(t.Selection(), "a c d1");
    EXPECT_TRUE(t.a->Selected());
    EXPECT_FALSE(t.b->Selected());
    t.c->SetSelected(false);
    EXPECT_EQ(t.Selection(), "a d1");
    EXPECT_EQ(t.changes, (std::vector<std::string>{"a", "c", "d1"}));  // c leaving was not the primary

    t.view.ClearSelection(true);
    EXPECT_EQ(t.Selection(), "d1");
    EXPECT_EQ(t.view.Selected(), t.d1);
    t.view.Select(std::vector<TTreeNode*>{t.b, nullptr, t.c, t.b});
    EXPECT_EQ(t.Selection(), "b c");
    EXPECT_EQ(t.view.Selected(), t.c);
    t.view.SetSelected(t.a);  // the only selection again
    EXPECT_EQ(t.Selection(), "a");
    t.view.Select(t.c, {ssCtrl});
    t.view.ClearSelection();
    EXPECT_EQ(t.view.SelectionCount(), 0u);
    EXPECT_EQ(t.view.Selected(), nullptr);
    EXPECT_EQ(t.changes.back(), "-");

    // A refused primary change leaves the whole selection.
    t.view.Select(std::vector<TTreeNode*>{t.a, t.c});
    t.view.OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    t.view.Select(t.d, {});
    t.view.Select(t.d, {ssCtrl});
    EXPECT_EQ(t.Selection(), "a c");

    // Turning MultiSelect off keeps the primary only.
    t.view.OnChanging = nullptr;
    t.view.SetMultiSelect(false);
    EXPECT_EQ(t.Selection(), "c");
    t.d->SetSelected(true);
    EXPECT_EQ(t.Selection(), "d");
}

TEST(TreeViewSelection, DeletedNodesLeaveTheSelection) {
    Tree t;
    t.view.SetMultiSelect(true);
    t.view.Select(std::vector<TTreeNode*>{t.a, t.b1, t.c, t.b2});
    t.b->Delete();  // the primary b2 goes with its parent: the last one still there takes over
    EXPECT_EQ(t.Selection(), "a c");
    EXPECT_EQ(t.view.Selected(), t.c);
    t.view.Select(t.d, {ssShift});  // the anchor went with b2: a plain click
    EXPECT_EQ(t.Selection(), "d");

    t.view.Select(std::vector<TTreeNode*>{t.a, t.d1});
    t.view.Items()->Clear();
    EXPECT_EQ(t.view.SelectionCount(), 0u);
    EXPECT_EQ(t.view.Selected(), nullptr);
    EXPECT_EQ(t.view.Selections(0), nullptr);
}

TEST(TreeViewSelection, VisibleOnlyDropsWhatACollapseHides) {
    for (const bool visibleOnly : {false, true}) {
        SCOPED_TRACE(visibleOnly);
        Tree t;
        t.view.SetMultiSelect(true);
        t.view.SetMultiSelectStyle(msControlSelect | (visibleOnly ? msVisibleOnly : 0));
        t.view.Select(std::vector<TTreeNode*>{t.b1, t.c, t.b2});
        t.b->Collapse(false);  // the hidden primary moves to b
        EXPECT_EQ(t.view.Selected(), t.b);
        EXPECT_EQ(t.Selection(), visibleOnly ? "c b" : "b1 c b2 b");
    }
}

TEST(TreeViewSelection, MoveToEachAttachMode) {
    struct Case {
        TNodeAttachMode mode;
        const char* destination;  // null: none
        const char* top;
        const char* underB;
    };
    const Case cases[] = {
        {naAdd, "a", "a b d c", "b1 b2"},
        {naAdd, "b1", "a b d", "b1 b2 c"},
        {naAdd, nullptr, "a b d c", "b1 b2"},
        {naAddFirst, "b2", "a b d", "c b1 b2"},
        {naAddFirst, "d", "c a b d", "b1 b2"},
        {naAddChild, "b", "a b d", "b1 b2 c"},
        {naAddChild, nullptr, "a b d c", "b1 b2"},
        {naAddChildFirst, "b", "a b d", "c b1 b2"},
        {naInsert, "b2", "a b d", "b1 c b2"},
        {naInsert, "a", "c a b d", "b1 b2"},
        {naInsert, "d", "a b c d", "b1 b2"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.mode) + " " + (k.destination ? k.destination : "null"));
        Tree t;
        int data = 7;
        t.c->SetData(&data);
        t.c->SetImageIndex(3);
        TTreeNode* child = t.view.Items()->AddChild(t.c, u"c1");
        t.c->Expand(false);
        t.view.SetMultiSelect(true);
        t.view.Select(std::vector<TTreeNode*>{t.a, t.c});
        t.changes.clear();
        t.c->MoveTo(k.destination ? t.Find(k.destination) : nullptr, k.mode);
        EXPECT_EQ(t.Children(nullptr), k.top);
        EXPECT_EQ(t.Children(t.b), k.underB);
        EXPECT_EQ(t.Find("c"), t.c);
        EXPECT_EQ(t.c->Data(), &data);
        EXPECT_EQ(t.c->ImageIndex(), 3);
        EXPECT_EQ(t.c->GetFirstChild(), child);
        EXPECT_EQ(child->Parent(), t.c);
        EXPECT_TRUE(t.c->Expanded());
        EXPECT_EQ(t.Selection(), "a c");
        EXPECT_TRUE(t.changes.empty());
    }
}

TEST(TreeViewSelection, MoveIntoItselfOrItsSubtreeIsRefused) {
    Tree t;
    for (const TNodeAttachMode mode : {naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert}) {
        t.b->MoveTo(t.b, mode);
        t.b->MoveTo(t.b2, mode);
    }
    EXPECT_EQ(t.Children(nullptr), "a b c d");
    EXPECT_EQ(t.Children(t.b), "b1 b2");

    // The last child leaving collapses its old parent; a sorted view places the node by text.
    t.d1->MoveTo(t.b, naAddChildFirst);
    EXPECT_EQ(t.Children(t.b), "d1 b1 b2");
    EXPECT_EQ(t.d->Count(), 0);
    t.view.SetSortType(stText);
    t.a->MoveTo(t.b1, naAddFirst);
    EXPECT_EQ(t.Children(t.b), "a b1 b2 d1");

    TTreeView other(nullptr);
    TTreeNode* stranger = other.Items()->Add(nullptr, u"x");
    EXPECT_THROW(t.c->MoveTo(stranger, naAdd), ETreeViewError);
    EXPECT_EQ(t.Children(nullptr), "b c d");
}

TEST(TreeViewSelection, FormFileProperties) {
    const char* const text = R"(object Form: TForm
  Caption = 'Tree'
  object Tree: TTreeView
    MultiSelect = True
    MultiSelectStyle = [msControlSelect, msShiftSelect, msSiblingOnly]
  end
end
)";
    RegisterCommonControlClasses();
    TForm form(nullptr);
    ReadComponentText(text, &form);
    auto* tree = dynamic_cast<TTreeView*>(form.FindComponent("Tree"));
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->MultiSelect());
    EXPECT_EQ(tree->MultiSelectStyle(), unsigned{msControlSelect | msShiftSelect | msSiblingOnly});
    const std::string written = ComponentToText(&form);
    EXPECT_NE(written.find("MultiSelectStyle = [msControlSelect, msShiftSelect, msSiblingOnly]"), std::string::npos);

    TTreeView plain(nullptr);
    EXPECT_EQ(plain.MultiSelectStyle(), unsigned{msControlSelect});
    EXPECT_EQ(ComponentToText(&plain).find("MultiSelect"), std::string::npos);  // defaults are not written
}

}  // namespace
