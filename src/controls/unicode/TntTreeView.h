// The Unicode tree view: TTntTreeView with typed nodes, wide node operations and the "Utf8Data"
// form-file storage of its nodes. The class library's tree holds UTF-16 node texts, sorts them
// by their wide text and keeps its nodes when its window is made again.
#pragma once

#include "controls/unicode/TntClasses.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/TreeView.h"

class TTntCustomTreeView;
class TTntTreeNodes;

class TTntTreeNode : public TTreeNode {
public:
    TTntTreeNode(TTreeNodes* owner, TTreeNode* parent) : TTreeNode(owner, parent) {}
    std::string_view ClassName() const override { return "TTntTreeNode"; }

    WideString GetText() const { return Text(); }
    // Same wide text and same data.
    bool IsEqual(const TTntTreeNode* other) const;
    // Text, data, image indices and the expand button of another node.
    void Assign(const TPersistent* source) override;

    TTntTreeNode* GetFirstChild() const;
    TTntTreeNode* GetItem(int index) const;
    TTntTreeNode* GetNext() const;
    TTntTreeNode* GetNextSibling() const;
    TTntTreeNode* GetParent() const;
    TTntTreeNodes* GetNodeOwner() const;
    TTntCustomTreeView* GetTreeView() const;

    // One "Utf8Data" record and its children's.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
};

class TTntTreeNodes : public TTreeNodes {
    QUILLORA_PERSISTENT(TTntTreeNodes)
public:
    using TTreeNodes::TTreeNodes;

    TTntTreeNode* GetNodeFromIndex(int index) const;
    TTntTreeNode* GetFirstNode() const;
    TTntTreeNode* GetNode(HTREEITEM item) const;
    TTntCustomTreeView* GetOwner() const;

    TTntTreeNode* AddNode(TTreeNode* relative, const WideString& text, void* data, TNodeAttachMode mode);
    TTntTreeNode* Add(TTreeNode* sibling, const WideString& text) { return AddNode(sibling, text, nullptr, naAdd); }
    TTntTreeNode* AddChild(TTreeNode* parent, const WideString& text) {
        return AddNode(parent, text, nullptr, naAddChild);
    }
    // Every node's text, depth first.
    void GetNodesText(TTntStrings& strings) const;
    // A copy of another tree's nodes through their "Utf8Data" form; data pointers are not
    // carried over (they belong to the other tree).
    void Assign(const TPersistent* source) override;

    // "Utf8Data": the top-level count, then the records depth first. Node data is never
    // stored: a pointer means nothing in a file, and is written as 0.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    void DefineProperties(TFiler* filer) override;
};

using TTntTreeNodeClass = std::unique_ptr<TTreeNode> (*)(TTreeNodes* owner, TTreeNode* parent);
using TTntTVCreateNodeClassEvent = std::function<void(TObject* sender, TTntTreeNodeClass& nodeClass)>;
using TTntTVEditedEvent = std::function<void(TObject* sender, TTntTreeNode* node, WideString& s)>;
using TTntTVCancelEditEvent = std::function<void(TObject* sender, TTntTreeNode* node)>;

class TTntCustomTreeView : public TTntWideControl<TCustomTreeView> {
    QUILLORA_COMPONENT(TTntCustomTreeView)
public:
    explicit TTntCustomTreeView(TComponent* owner);

    TTntTreeNode* GetNodeAt(int x, int y) const;
    TTntTreeNode* GetSelected() const;
    // The selected nodes in the order selected (Selections).
    TTntTreeNode* GetSelection(int index) const;
    TTntTreeNode* ItemFromTVItem(const TVITEMW& item) const;

    TTntTVCreateNodeClassEvent OnCreateNodeClass;
    TTntTVEditedEvent OnEdited;
    TTntTVCancelEditEvent OnCancelEdit;

protected:
    std::unique_ptr<TTreeNode> CreateNode(TTreeNodes* owner, TTreeNode* parent) override;
    // A finished label edit: the edited text (a handler may change it) becomes the node's;
    // a cancelled one tells OnCancelEdit.
    void Edit(const TVITEMW& item) override;
};

class TTntTreeView : public TTntCustomTreeView {
    QUILLORA_COMPONENT(TTntTreeView)
public:
    using TTntCustomTreeView::TTntCustomTreeView;
    TTntTreeNodes* GetItems() const;
    void SetItems(const TTntTreeNodes* items) { GetItems()->Assign(items); }
};
