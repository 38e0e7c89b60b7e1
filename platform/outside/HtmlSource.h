// What the HTML converter lays out: a page's text in UTF-8 with the pictures a MIME message
// carries, read from a local HTML file in any encoding or from a whole MIME message file.
#pragma once

#include <map>
#include <string>

struct THtmlSource {
    std::string html;  // UTF-8
    // The message's own parts by content id (lower case, no angle brackets) and by content
    // location, for "cid:" and relative references.
    std::map<std::string, std::string> parts;
    // The folder relative file references resolve against (empty: none resolve).
    std::string baseFolder;
};

// Reads path: a byte-order mark decides the encoding; else charset (a MIME charset name), else
// the page's own <meta> charset, else UTF-8 when the bytes are valid UTF-8, else windows-1252.
// A MIME message file gives its HTML body (its plain body as preformatted text when it has
// none) and its parts. False with a reason when the file cannot be read.
bool LoadHtmlSource(const std::string& path, const std::string& charset, THtmlSource& out, std::string& error);

// The same for bytes already in memory (baseFolder stays empty).
bool HtmlSourceFromBytes(const std::string& bytes, const std::string& charset, THtmlSource& out, std::string& error);

// Escapes text for HTML element content and attribute values.
std::string EscapeHtml(const std::string& text);
