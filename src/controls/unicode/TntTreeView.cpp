#include "controls/unicode/TntTreeView.h"

#include <cstring>

#include "controls/unicode/TntWideProperties.h"
#include "platform/vcl/Filer.h"

namespace {

template <class T, class S>
T* CheckedCast(S* object) {
    if (!object) return nullptr;
    if (auto* typed = dynamic_cast<T*>(const_cast<std::remove_const_t<S>*>(object))) return typed;
    throw EInvalidCast(u"Invalid class typecast");
}

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr std::size_t kMaxTextBytes = 255;
// Size counts the record after it: four indices, data and count, and the length byte.
constexpr std::int32_t kRecordFixed = 25;

void WriteInt(TStream& stream, std::int32_t value) { stream.WriteBuffer(&value, 4); }

std::int32_t ReadInt(TStream& stream) {
    std::int32_t value = 0;
    stream.ReadBuffer(&value, 4);
    return value;
}

std::int32_t ReadIntAt(const std::string& record, std::size_t offset) {
    std::int32_t value = 0;
    if (offset + 4 <= record.size()) std::memcpy(&value, record.data() + offset, 4);
    return value;
}

// The mark and the UTF-8 of the longest start of text, cut between characters, that fits.
std::string StoredText(const WideString& text) {
    std::size_t n = std::min<std::size_t>(text.size(), kMaxTextBytes);
    for (;;) {
        // A surrogate pair stays whole.
        if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        std::string bytes = kBom + WideStringToUTF8(std::u16string_view(text).substr(0, n));
        if (bytes.size() <= kMaxTextBytes) return bytes;
        --n;
    }
}

}  // namespace

// --- TTntTreeNode -----------------------------------------------------------------------------

bool TTntTreeNode::IsEqual(const TTntTreeNode* other) const {
    return other && Text() == other->Text() && Data() == other->Data();
}

void TTntTreeNode::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TTreeNode*>(source);
    if (!other) return TTreeNode::Assign(source);
    SetText(other->Text());
    SetData(other->Data());
    SetImageIndex(other->ImageIndex());
    SetSelectedIndex(other->SelectedIndex());
    SetStateIndex(other->StateIndex());
    SetOverlayIndex(other->OverlayIndex());
    SetHasChildren(other->HasChildren());
}

TTntTreeNode* TTntTreeNode::GetFirstChild() const { return CheckedCast<TTntTreeNode>(TTreeNode::GetFirstChild()); }
TTntTreeNode* TTntTreeNode::GetItem(int index) const { return CheckedCast<TTntTreeNode>(Item(index)); }
TTntTreeNode* TTntTreeNode::GetNext() const { return CheckedCast<TTntTreeNode>(TTreeNode::GetNext()); }
TTntTreeNode* TTntTreeNode::GetNextSibling() const { return CheckedCast<TTntTreeNode>(TTreeNode::GetNextSibling()); }
TTntTreeNode* TTntTreeNode::GetParent() const { return CheckedCast<TTntTreeNode>(Parent()); }
TTntTreeNodes* TTntTreeNode::GetNodeOwner() const { return CheckedCast<TTntTreeNodes>(Owner()); }
TTntCustomTreeView* TTntTreeNode::GetTreeView() const { return CheckedCast<TTntCustomTreeView>(TreeView()); }

void TTntTreeNode::ReadData(TStream& stream) {
    const std::int32_t size = ReadInt(stream);
    if (size < kRecordFixed) throw EReadError(u"Invalid node record");
    std::string record(static_cast<std::size_t>(size), '\0');
    stream.ReadBuffer(record.data(), size);
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(record[24]), record.size() - 25);
    const std::string text = record.substr(25, length);
    if (text.rfind(kBom, 0) == 0) SetText(UTF8ToWideString(std::string_view(text).substr(3)));
    else SetText(AnsiToWideCodePage(text, DefaultAnsiCodePage));
    SetImageIndex(ReadIntAt(record, 0));
    SetSelectedIndex(ReadIntAt(record, 4));
    SetStateIndex(ReadIntAt(record, 8));
    SetOverlayIndex(ReadIntAt(record, 12));
    // The stored data (offset 16) is another process's pointer: never taken.
    const std::int32_t count = ReadIntAt(record, 20);
    TTntTreeNodes* nodes = GetNodeOwner();
    for (std::int32_t i = 0; i < count; ++i) nodes->AddChild(this, u"")->ReadData(stream);
}

void TTntTreeNode::WriteData(TStream& stream) const {
    const std::string text = StoredText(Text());
    WriteInt(stream, static_cast<std::int32_t>(text.size()) + kRecordFixed);
    WriteInt(stream, ImageIndex());
    WriteInt(stream, SelectedIndex());
    WriteInt(stream, StateIndex());
    WriteInt(stream, OverlayIndex());
    WriteInt(stream, 0);
    WriteInt(stream, Count());
    const auto length = static_cast<unsigned char>(text.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    for (int i = 0; i < Count(); ++i) GetItem(i)->WriteData(stream);
}

// --- TTntTreeNodes ----------------------------------------------------------------------------

const TMetaClass& TTntTreeNodes::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntTreeNodes>("TTntTreeNodes", nullptr);
    return meta;
}

TTntTreeNode* TTntTreeNodes::GetNodeFromIndex(int index) const { return CheckedCast<TTntTreeNode>(Item(index)); }
TTntTreeNode* TTntTreeNodes::GetFirstNode() const { return CheckedCast<TTntTreeNode>(TTreeNodes::GetFirstNode()); }
TTntTreeNode* TTntTreeNodes::GetNode(HTREEITEM item) const { return CheckedCast<TTntTreeNode>(TTreeNodes::GetNode(item)); }
TTntCustomTreeView* TTntTreeNodes::GetOwner() const { return CheckedCast<TTntCustomTreeView>(Owner()); }

TTntTreeNode* TTntTreeNodes::AddNode(TTreeNode* relative, const WideString& text, void* data, TNodeAttachMode mode) {
    TTreeNode* node = nullptr;
    switch (mode) {
    case naAdd: node = AddObject(relative, text, data); break;
    case naAddFirst: node = AddFirst(relative, text); break;
    case naAddChild: node = AddChildObject(relative, text, data); break;
    case naAddChildFirst: node = AddChildFirst(relative, text); break;
    case naInsert: node = InsertObject(relative, text, data); break;
    }
    if (node && (mode == naAddFirst || mode == naAddChildFirst)) node->SetData(data);
    return CheckedCast<TTntTreeNode>(node);
}

void TTntTreeNodes::GetNodesText(TTntStrings& strings) const {
    strings.BeginUpdate();
    strings.Clear();
    for (TTreeNode* node = TTreeNodes::GetFirstNode(); node; node = node->GetNext()) strings.Add(node->Text());
    strings.EndUpdate();
}

void TTntTreeNodes::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TTntTreeNodes*>(source);
    if (!other) return TTreeNodes::Assign(source);
    TTntMemoryStream stream;
    other->WriteData(stream);
    stream.SetPosition(0);
    ReadData(stream);
}

void TTntTreeNodes::ReadData(TStream& stream) {
    BeginUpdate();
    try {
        Clear();
        const std::int32_t count = ReadInt(stream);
        for (std::int32_t i = 0; i < count; ++i) Add(nullptr, u"")->ReadData(stream);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTntTreeNodes::WriteData(TStream& stream) const {
    WriteInt(stream, TopCount());
    for (int i = 0; i < TopCount(); ++i) CheckedCast<TTntTreeNode>(TopItem(i))->WriteData(stream);
}

void TTntTreeNodes::DefineProperties(TFiler* filer) {
    TTreeNodes::DefineProperties(filer);
    bool hasData = Count() > 0;
    if (const auto* ancestor = dynamic_cast<const TTntTreeNodes*>(filer->Ancestor())) {
        hasData = ancestor->Count() != Count();
        for (int i = 0; !hasData && i < Count(); ++i)
            hasData = !GetNodeFromIndex(i)->IsEqual(ancestor->GetNodeFromIndex(i));
    }
    filer->DefineBinaryProperty("Utf8Data", [this](TStream& s) { ReadData(s); },
                                [this](TStream& s) { WriteData(s); }, hasData);
}

// --- the view ---------------------------------------------------------------------------------

const TMetaClass& TTntCustomTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntCustomTreeView>(
        "TTntCustomTreeView", &TCustomTreeView::StaticClass(), [](TClassBuilder<TTntCustomTreeView>& b) {
            PublishWideHint(b);
            b.Event("OnEdited", &TTntCustomTreeView::OnEdited);
            b.Event("OnCancelEdit", &TTntCustomTreeView::OnCancelEdit);
            b.Event("OnCreateNodeClass", &TTntCustomTreeView::OnCreateNodeClass);
        });
    return meta;
}

TTntCustomTreeView::TTntCustomTreeView(TComponent* owner) : TTntWideControl<TCustomTreeView>(owner) {
    SetNodesCollection(std::make_unique<TTntTreeNodes>(this));
}

std::unique_ptr<TTreeNode> TTntCustomTreeView::CreateNode(TTreeNodes* owner, TTreeNode* parent) {
    TTntTreeNodeClass nodeClass = [](TTreeNodes* o, TTreeNode* p) -> std::unique_ptr<TTreeNode> {
        return std::make_unique<TTntTreeNode>(o, p);
    };
    if (OnCreateNodeClass) OnCreateNodeClass(this, nodeClass);
    std::unique_ptr<TTreeNode> node = nodeClass(owner, parent);
    if (!dynamic_cast<TTntTreeNode*>(node.get()))
        throw ETntInternalError(u"Internal Error: OnCreateNodeClass.ItemClass must inherit from TTntTreeNode.");
    return node;
}

void TTntCustomTreeView::Edit(const TVITEMW& item) {
    TTntTreeNode* node = ItemFromTVItem(item);
    if (!item.pszText) {
        if (OnCancelEdit) OnCancelEdit(this, node);
        return;
    }
    WideString s(item.pszText);
    if (OnEdited) OnEdited(this, node, s);
    else if (TCustomTreeView::OnEdited) TCustomTreeView::OnEdited(this, node, s);
    if (node) node->SetText(s);
}

TTntTreeNode* TTntCustomTreeView::GetNodeAt(int x, int y) const { return CheckedCast<TTntTreeNode>(TCustomTreeView::GetNodeAt(x, y)); }
TTntTreeNode* TTntCustomTreeView::GetSelected() const { return CheckedCast<TTntTreeNode>(Selected()); }
TTntTreeNode* TTntCustomTreeView::GetSelection(int index) const { return CheckedCast<TTntTreeNode>(Selections(index)); }

TTntTreeNode* TTntCustomTreeView::ItemFromTVItem(const TVITEMW& item) const {
    return Items() ? CheckedCast<TTntTreeNode>(Items()->GetNode(item.hItem)) : nullptr;
}

const TMetaClass& TTntTreeView::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntTreeView>("TTntTreeView", &TTntCustomTreeView::StaticClass(), [](TClassBuilder<TTntTreeView>& b) {
        b.ReadOnly("Items", &TTntTreeView::GetItems);
    });
    return meta;
}

TTntTreeNodes* TTntTreeView::GetItems() const { return CheckedCast<TTntTreeNodes>(Items()); }
