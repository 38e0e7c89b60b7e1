#include "controls/dragdrop/DragDropComponent.h"

TDragDropComponent::TDragDropComponent(TComponent* owner) : TComponent(owner) { DragDropStartup(); }

TDragDropComponent::~TDragDropComponent() {
    while (!owned_.empty()) owned_.pop_back();
    for (int i = dataFormats_.Count() - 1; i >= 0; --i) dataFormats_[i]->Detach();
}

void TDragDropComponent::GetCompatibleClipboardFormats(const TDataFormatClass&, TClipboardFormats& list) {
    list.Clear();
}
