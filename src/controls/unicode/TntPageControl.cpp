#include "controls/unicode/TntPageControl.h"

#include "controls/unicode/TntForms.h"

const TMetaClass& TTntTabSheet::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntTabSheet>("TTntTabSheet", &TTabSheet::StaticClass(), [](TClassBuilder<TTntTabSheet>& b) {
        PublishWideCaption(b);
        PublishWideHint(b);
    });
    return meta;
}

const TMetaClass& TTntPageControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntPageControl>(
        "TTntPageControl", &TPageControl::StaticClass(), [](TClassBuilder<TTntPageControl>& b) { PublishWideHint(b); });
    return meta;
}

const TMessageTable& TTntPageControl::ClassMessages() {
    static const TMessageTable table(&TPageControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TTntPageControl::CMDialogChar),
    });
    return table;
}

void TTntPageControl::CMDialogChar(TMessage& message) {
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* page = Pages(i);
        if (!IsWideCharAccel(static_cast<WORD>(message.WParam), GetWideControlText(page))) continue;
        if (!page->TabVisible() || !CanFocus()) continue;
        message.Result = 1;
        if (CanChange()) {
            SetTabIndex(page->TabIndex());
            Change();
        }
        return;
    }
    TPageControl::CMDialogChar(message);
}

TTntTabSheet* TTntPageControl::DockClient(TControl* client) {
    auto* sheet = new TTntTabSheet(this);
    try {
        WideString caption = GetWideControlText(client);
        caption = caption.substr(0, caption.find_first_of(u"\r\n"));
        sheet->SetCaption(caption);
        sheet->SetPageControl(this);
        client->SetParent(sheet);
        client->SetAlign(alClient);
    } catch (...) {
        delete sheet;
        throw;
    }
    sheet->SetTabVisible(client->Visible());
    if (client->Visible()) SetActivePage(sheet);
    return sheet;
}
