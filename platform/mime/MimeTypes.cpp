#include "platform/mime/MimeTypes.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Where the list lacks a type, or there is no list.
const std::map<std::string, std::string, std::less<>>& KnownTypes() {
    static const std::map<std::string, std::string, std::less<>> known{
        {"application/msword", "doc"}, {"application/pdf", "pdf"},     {"application/rtf", "rtf"},
        {"application/zip", "zip"},    {"image/bmp", "bmp"},           {"image/gif", "gif"},
        {"image/jpeg", "jpg"},         {"image/png", "png"},           {"image/tiff", "tif"},
        {"message/rfc822", "eml"},     {"text/calendar", "ics"},       {"text/csv", "csv"},
        {"text/html", "html"},         {"text/plain", "txt"},          {"text/xml", "xml"},
        {"text/rtf", "rtf"},
    };
    return known;
}

// The first extension of every type of the system's list.
std::map<std::string, std::string, std::less<>> ReadSystemList() {
    std::map<std::string, std::string, std::less<>> types;
    std::ifstream in("/etc/mime.types");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string type, extension;
        if (words >> type >> extension) types.emplace(Lower(type), Lower(extension));
    }
    return types;
}

}  // namespace

std::string ExtensionOfContentType(std::string_view contentType) {
    std::string type = Lower(contentType.substr(0, contentType.find(';')));
    while (!type.empty() && std::isspace(static_cast<unsigned char>(type.back()))) type.pop_back();
    while (!type.empty() && std::isspace(static_cast<unsigned char>(type.front()))) type.erase(0, 1);
    if (type.empty() || type == "application/octet-stream") return {};
    if (const auto known = KnownTypes().find(type); known != KnownTypes().end()) return known->second;
    static const auto system = ReadSystemList();
    const auto found = system.find(type);
    return found == system.end() ? std::string() : found->second;
}
