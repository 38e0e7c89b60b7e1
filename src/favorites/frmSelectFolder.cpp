#include "favorites/frmSelectFolder.h"

#include "controls/shell/RzShellTree.h"
#include "platform/win/WinString.h"

TfrmSelectFolder* frmSelectFolder = nullptr;

const TMetaClass& TfrmSelectFolder::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TfrmSelectFolder>("TfrmSelectFolder", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TfrmSelectFolder>&) {});
    return meta;
}

TfrmSelectFolder::TfrmSelectFolder(TComponent* owner) : IChangeableLangForm(owner) {}

TfrmSelectFolder::~TfrmSelectFolder() {
    if (frmSelectFolder == this) frmSelectFolder = nullptr;
}

WideString TfrmSelectFolder::GetSelectedPath() const {
    const auto* tree = dynamic_cast<const TRzShellTree*>(FindComponent("RzShellTree1"));
    // The tree's 8-bit path is UTF-8: widening it loses nothing.
    return tree ? Utf8ToUtf16(tree->GetSelectedPath()) : WideString();
}
