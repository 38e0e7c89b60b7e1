// The main window as the surface a message shows itself on: header labels, date and zone, the
// body as rich text or HTML, the raw header, the attachments and the property tree.
#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntTreeView.h"
#include "message/MessageAttr.h"
#include "output/TextRenderer.h"
#include "platform/outside/WebBrowser.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/win/WinString.h"
#include "ui/DateZone.h"
#include "ui/Form1.h"

namespace {

// The body control that is seen: the other one is hidden behind it.
void ShowInFront(TControl* shown, TControl* hidden)
{
    if (hidden) hidden->SetVisible(false);
    if (shown) {
        shown->SetVisible(true);
        shown->BringToFront();
    }
}

}  // namespace

void TForm1::ViewRTFString(TMessageAttr&, const WideString& text, HWND* richEdit)
{
    m_bodyKind = 2;
    auto* body = Find<TTntRichEdit>("mmBody");
    if (!body) return;
    body->SetText(text);
    ShowInFront(body, Find<TControl>("CppWebBrowser1"));
    if (richEdit) *richEdit = body->Handle();
}

void TForm1::ViewHTMLString(TMessageAttr&, const WideString& html)
{
    m_bodyKind = 3;
    m_pendingCharset.clear();
    ShowHTML(html, false);
}

void TForm1::ViewHTMLFile(TMessageAttr& message, const WideString& path, const WideString&)
{
    m_bodyKind = 3;
    m_pendingCharset = Utf8ToUtf16(message.shownCharset);
    ShowHTML(path, true);
}

void TForm1::ShowHTML(const WideString& textOrPath, bool isFile)
{
    auto* browser = Find<TCppWebBrowser>("CppWebBrowser1");
    if (!browser) return;
    WideString path = textOrPath;
    if (!isFile) {
        const WideString folder = CAppUtils::getAppTempFolder();
        if (folder.empty()) return;
        path = folder + u"temp.html";
        TextRenderer page;
        page.AddParagraph(textOrPath);
        // A page that cannot be written leaves the earlier one shown.
        if (!page.SaveToFileUnicode(path)) return;
    }
    ShowInFront(browser, Find<TControl>("mmBody"));
    browser->Navigate(u"file:///" + path);
}

void TForm1::CppWebBrowser1DocumentComplete(TObject*, const WideString&)
{
    if (m_closed || m_pendingCharset.empty()) return;
    auto* browser = Find<TCppWebBrowser>("CppWebBrowser1");
    IHTMLDocument2* document = browser ? browser->Document() : nullptr;
    if (!document) return;
    document->put_charset(m_pendingCharset);
    m_pendingCharset.clear();
    browser->Refresh();
}

int TForm1::CopyHTMLToClipboard()
{
    auto* browser = Find<TCppWebBrowser>("CppWebBrowser1");
    IHTMLDocument2* document = browser ? browser->Document() : nullptr;
    if (!document) return -1;
    bool selectAll = false, copy = false, done = false;
    if (const HRESULT hr = document->queryCommandSupported(u"SelectAll", selectAll); FAILED(hr)) return hr;
    if (const HRESULT hr = document->queryCommandSupported(u"Copy", copy); FAILED(hr)) return hr;
    if (!selectAll || !copy) return -1;
    document->execCommand(u"SelectAll", false, {}, done);
    document->execCommand(u"Copy", false, {}, done);
    document->execCommand(u"Unselect", false, {}, done);
    return 0;
}

void TForm1::SetToField(TMessageAttr&, const WideString& text)
{
    if (auto* c = Find<TControl>("lbTo")) c->SetText(text);
}

void TForm1::SetFromFiled(TMessageAttr&, const WideString& text)
{
    if (auto* c = Find<TControl>("lbFrom")) c->SetText(text);
}

void TForm1::SetCCFiled(TMessageAttr&, const WideString& text)
{
    if (auto* c = Find<TControl>("lbCC")) c->SetText(text);
}

void TForm1::SetSubjectFiled(TMessageAttr&, const WideString& text)
{
    if (auto* c = Find<TControl>("lbSubject")) c->SetText(text);
}

void TForm1::SetDateFiled(TMessageAttr&, TDateTime date, const WideString& caption, int zoneHours)
{
    m_shownDate = date;
    if (auto* zones = Find<TCustomComboBox>("cbTimeZone")) {
        zones->SetEnabled(true);
        zones->SetItemIndex(TimeZoneItemOf(zoneHours));
    }
    UpdateDateTimeField();
    if (auto* label = Find<TControl>("Label11")) label->SetText(caption);
}

void TForm1::cbTimeZoneChange(TObject*) { UpdateDateTimeField(); }

void TForm1::UpdateDateTimeField()
{
    auto* zones = Find<TCustomComboBox>("cbTimeZone");
    int hours = 0;
    if (zones) {
        if (zones->ItemIndex() < 0) zones->SetItemIndex(kZeroZoneItem);
        if (!ZoneHoursOfText(TimeZoneItemText(zones->ItemIndex()), hours)) return;
    }
    m_dateText = DateTextInZone(m_shownDate, hours);
    if (auto* label = Find<TControl>("lbDate")) label->SetText(m_dateText);
}

void TForm1::SetHeader(TMessageAttr&, const WideString& text)
{
    if (auto* header = Find<TTntRichEdit>("mmHeader")) header->SetText(text);
}

void TForm1::SetFileName(TMessageAttr&, const WideString& text) { SetStatusPanelText(text); }

void TForm1::SetAttachmentsList(TMessageAttr&, const std::vector<AttachmentItem>& attachments)
{
    auto* list = Find<TTntListView>("AttachmentList");
    if (!list) return;
    list->Items()->Clear();
    auto* images = Find<TCustomImageList>("AttachmentImages");
    if (images) images->Clear();
    // Icons by the name's type alone: no file is made for them.
    int image = 0;
    for (const AttachmentItem& a : attachments) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(a.name);
        if (images) {
            std::vector<std::uint32_t> icon = WidgetSet().DesktopIcon({}, a.name, images->Width());
            if (icon.empty()) icon.assign(static_cast<std::size_t>(images->Width()) * images->Height(), 0xFF888A85u);
            images->AddPixels(std::move(icon));
            item->SetImageIndex(image++);
        }
    }
}

void TForm1::SetMessageProperties(TMessageAttr&, TMSGFile& file)
{
    m_properties = BuildPropertyTree(file);
    auto* tree = Find<TCustomTreeView>("tvProperties");
    if (!tree) return;
    tree->Items()->Clear();
    FillPropertyNodes(nullptr, m_properties);
}

void TForm1::FillPropertyNodes(TTreeNode* parent, const std::vector<PropertyNode>& nodes)
{
    auto* tree = Find<TCustomTreeView>("tvProperties");
    for (const PropertyNode& p : nodes) {
        TTreeNode* node = tree->Items()->AddChildObject(parent, p.text, const_cast<PropertyNode*>(&p));
        node->SetImageIndex(p.image);
        node->SetSelectedIndex(p.image);
        FillPropertyNodes(node, p.children);
    }
}

void TForm1::tvPropertiesChange(TObject*, TTreeNode* node)
{
    if (!node) return;
    auto* id = Find<TControl>("lbPropID");
    auto* values = Find<TControl>("mmPropValues");
    const auto* p = static_cast<const PropertyNode*>(node->Data());
    if (!p) {
        if (id) id->SetText({});
        if (values) values->SetText({});
        return;
    }
    if (id) id->SetText(PropertyTagText(p->tag));
    if (auto* type = Find<TControl>("lbPropType")) type->SetText(Utf8ToUtf16(std::to_string(p->tag & 0xFFFF)));
    if (values) values->SetText(p->value);
}

void TForm1::Clear()
{
    ClearMsgInfoUI();
    if (auto* list = Find<TTntListView>("AttachmentList")) list->Items()->Clear();
    if (auto* tree = Find<TCustomTreeView>("tvProperties")) tree->Items()->Clear();
    m_properties.clear();
    if (auto* values = Find<TControl>("mmPropValues")) values->SetText({});
    m_dateText.clear();
}

void TForm1::ClearMsgInfoUI()
{
    if (auto* body = Find<TTntRichEdit>("mmBody")) body->SetText({});
    if (auto* header = Find<TTntRichEdit>("mmHeader")) header->SetText({});
    if (auto* browser = Find<TCppWebBrowser>("CppWebBrowser1"); browser && !browser->LocationURL().empty())
        browser->Navigate(u"about:blank");
    // The body shown next never appears over what was shown before.
    ShowInFront(Find<TControl>("mmBody"), Find<TControl>("CppWebBrowser1"));
    for (const char* name : {"lbSubject", "lbCC", "lbTo", "lbFrom", "lbDate"})
        if (auto* c = Find<TControl>(name)) c->SetText({});
    if (auto* zones = Find<TCustomComboBox>("cbTimeZone")) zones->SetEnabled(false);
}
