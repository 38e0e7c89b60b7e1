#include "platform/xml/XmlDocument.h"

#include <tinyxml.h>

#include "platform/win/WinString.h"

namespace {

TiXmlElement* Element(void* node) { return static_cast<TiXmlElement*>(node); }

}  // namespace

struct XmlDocument::Impl {
    TiXmlDocument document;
};

std::string XmlElement::Name() const { return node_ ? Element(node_)->ValueStr() : std::string(); }

void XmlElement::SetAttribute(const char* name, const std::string& value) {
    if (node_) Element(node_)->SetAttribute(name, value.c_str());
}

void XmlElement::SetAttribute(const char* name, int value) {
    if (node_) Element(node_)->SetAttribute(name, value);
}

const char* XmlElement::Attribute(const char* name) const { return node_ ? Element(node_)->Attribute(name) : nullptr; }

bool XmlElement::QueryIntAttribute(const char* name, int& value) const {
    if (!node_) return false;
    int v = 0;
    if (Element(node_)->QueryIntAttribute(name, &v) != TIXML_SUCCESS) return false;
    value = v;
    return true;
}

XmlElement XmlElement::FirstChildElement() const { return XmlElement(node_ ? Element(node_)->FirstChildElement() : nullptr); }

XmlElement XmlElement::NextSiblingElement() const { return XmlElement(node_ ? Element(node_)->NextSiblingElement() : nullptr); }

XmlElement XmlElement::AppendChild(const char* name) {
    if (!node_) return XmlElement();
    return XmlElement(Element(node_)->LinkEndChild(new TiXmlElement(name)));  // the parent owns it
}

XmlDocument::XmlDocument() : impl_(std::make_unique<Impl>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::Parse(std::string_view text, std::string& error) {
    impl_->document.Clear();
    // The parser steps over a multi-byte character by its first byte alone, so a broken
    // sequence at the end would carry it past the text: only well-formed UTF-8 goes in.
    // Lone surrogates written by our own UTF-8 conversion (WTF-8) are whole 3-byte sequences
    // and pass; any other broken sequence becomes U+FFFD, so one bad text does not cost the
    // whole document.
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    if (body.find('\0') != std::string_view::npos) {
        error = "not UTF-8 text";
        return false;
    }
    const std::string copy = IsValidUtf8(body) ? std::string(body) : Utf16ToUtf8(Utf8ToUtf16(body));
    impl_->document.Parse(copy.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (impl_->document.Error()) {
        error = impl_->document.ErrorDesc() ? impl_->document.ErrorDesc() : "not well-formed";
        error += " (line " + std::to_string(impl_->document.ErrorRow()) + ")";
        impl_->document.Clear();
        return false;
    }
    return true;
}

XmlElement XmlDocument::RootElement() const { return XmlElement(impl_->document.RootElement()); }

XmlElement XmlDocument::Reset(const char* rootName) {
    impl_->document.Clear();
    impl_->document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));  // the document owns them
    return XmlElement(impl_->document.LinkEndChild(new TiXmlElement(rootName)));
}

std::string XmlDocument::Print() const {
    TiXmlPrinter printer;
    impl_->document.Accept(&printer);
    return printer.Str();
}
