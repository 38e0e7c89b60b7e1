// XML documents as the program reads and writes them (the favorites file): a declaration, one
// root element, nested elements with text and integer attributes, loaded with encoding detection
// and printed with the library's layout. An XmlElement is a handle into its document and is
// valid while the document lives.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class XmlElement {
public:
    XmlElement() = default;
    explicit operator bool() const { return node_ != nullptr; }
    // The element's name.
    std::string Name() const;
    void SetAttribute(const char* name, const std::string& value);
    void SetAttribute(const char* name, int value);
    // The attribute's text, or null when the element has none of that name.
    const char* Attribute(const char* name) const;
    // False (value untouched) when the attribute is missing or not an integer.
    bool QueryIntAttribute(const char* name, int& value) const;
    XmlElement FirstChildElement() const;
    XmlElement NextSiblingElement() const;
    // A new element linked as the last child.
    XmlElement AppendChild(const char* name);

private:
    friend class XmlDocument;
    explicit XmlElement(void* node) : node_(node) {}
    void* node_ = nullptr;
};

class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses text (the declaration's encoding decides; UTF-8 otherwise). False with the parser's
    // reason when the text is not well-formed XML.
    bool Parse(std::string_view text, std::string& error);
    // The first element of the document (null when it has none).
    XmlElement RootElement() const;
    // Empties the document and gives it a declaration ("1.0", "UTF-8") and a root element.
    XmlElement Reset(const char* rootName);
    // The document as the library prints it.
    std::string Print() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
