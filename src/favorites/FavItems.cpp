#include "favorites/FavItems.h"

#include <cstring>

#include "controls/unicode/TntSystem.h"
#include "platform/vcl/SysUtils.h"

namespace {

WideString TextAttribute(const XmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? UTF8ToWideString(value) : WideString();
}

}  // namespace

void FavItem::SaveAttributes(XmlElement& element) const {
    element.SetAttribute("Tittle", WideStringToUTF8(Tittle));
    element.SetAttribute("Comments", WideStringToUTF8(Comments));
    element.SetAttribute("ImageIndex", ImageIndex);
}

void FavItem::Load(const XmlElement& element) {
    Tittle = TextAttribute(element, "Tittle");
    Comments = TextAttribute(element, "Comments");
    int image = ImageIndex;
    if (element.QueryIntAttribute("ImageIndex", image)) ImageIndex = image;
}

XmlElement FavItem::AppendTo(XmlElement& parent) const {
    XmlElement element = parent.AppendChild(ElementName());
    SaveAttributes(element);
    return element;
}

void FavShortcut::SaveAttributes(XmlElement& element) const {
    FavFolder::SaveAttributes(element);
    element.SetAttribute("Path", WideStringToUTF8(Path));
}

void FavShortcut::Load(const XmlElement& element) {
    FavFolder::Load(element);
    Path = TextAttribute(element, "Path");
}

FavMsg::FavMsg() {
    Kind = 1;
    NewGuid();
}

void FavMsg::NewGuid() { CoCreateGuid(&Guid); }

WideString FavMsg::GetGuidText() const { return StringFromCLSID(Guid); }

AnsiString FavMsg::GetGuidAnsiText() const { return WideStringToUTF8(GetGuidText()); }

void FavMsg::SaveAttributes(XmlElement& element) const {
    FavItem::SaveAttributes(element);
    element.SetAttribute("GUID", GetGuidAnsiText());
    element.SetAttribute("FileName", WideStringToUTF8(FileName));
}

void FavMsg::Load(const XmlElement& element) {
    FavItem::Load(element);
    const char* guid = element.Attribute("GUID");
    if (!guid || !*guid) {
        NewGuid();
    } else {
        const WideString text = UTF8ToWideString(guid);
        GUID parsed{};
        if (FAILED(CLSIDFromString(text.c_str(), &parsed)))
            throw EConvertError(u"'" + text + u"' is not a valid GUID value");
        Guid = parsed;
    }
    FileName = TextAttribute(element, "FileName");
}

WideString FavMsg::GetStoragePath(const WideString& root) const {
    const std::size_t cut = FileName.find_last_of(u"/\\:");
    WideString name = cut == WideString::npos ? FileName : FileName.substr(cut + 1);
    if (name == u"." || name == u"..") name.clear();
    return root + u"/" + GetGuidText() + u"/" + name;
}

std::unique_ptr<FavItem> CreateFavItem(const XmlElement& element) {
    const std::string name = element.Name();
    std::unique_ptr<FavItem> item;
    if (name == "Folder") item = std::make_unique<FavFolder>();
    else if (name == "Message") item = std::make_unique<FavMsg>();
    else if (name == "Shortcut") item = std::make_unique<FavShortcut>();
    else return nullptr;
    item->LoadFrom(element);
    return item;
}
