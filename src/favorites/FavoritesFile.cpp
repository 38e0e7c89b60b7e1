#include "favorites/FavoritesFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/vcl/SysUtils.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

// Reads the children of element under parent; unknown elements give their children to parent.
void LoadItems(const XmlElement& element, std::vector<FavNode>& parent) {
    for (XmlElement child = element.FirstChildElement(); child; child = child.NextSiblingElement()) {
        std::unique_ptr<FavItem> item = CreateFavItem(child);
        if (!item) {
            LoadItems(child, parent);
            continue;
        }
        parent.push_back(FavNode{std::move(item), {}});
        LoadItems(child, parent.back().children);
    }
}

void SaveItems(XmlElement& parent, const std::vector<FavItemRef>& nodes) {
    for (const FavItemRef& node : nodes) {
        if (!node.item) continue;
        XmlElement element = node.item->AppendTo(parent);
        SaveItems(element, node.children);
    }
}

std::vector<FavItemRef> Refs(const std::vector<FavNode>& nodes) {
    std::vector<FavItemRef> refs;
    refs.reserve(nodes.size());
    for (const FavNode& node : nodes) refs.push_back(FavItemRef{node.item.get(), Refs(node.children)});
    return refs;
}

// path.damaged, or path.damaged-2, -3 ...: a name nothing is at yet.
bool KeepAside(const WideString& path, WideString& aside) {
    for (int n = 1; n < 1000; ++n) {
        aside = path + u".damaged" + (n == 1 ? WideString() : u"-" + Utf8ToUtf16(std::to_string(n)));
        if (MoveFileExW(path.c_str(), aside.c_str(), 0)) return true;  // never replaces
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

}  // namespace

FavLoadResult ParseFavorites(std::string_view text) {
    FavLoadResult result;
    XmlDocument document;
    std::string why;
    if (!document.Parse(text, why)) {
        result.error = u"The favorites file is damaged: " + Utf8ToUtf16(why);
        return result;
    }
    const XmlElement root = document.RootElement();
    if (!root) return result;
    try {
        if (root.Name() == "Items") {
            LoadItems(root, result.nodes);
        } else if (std::unique_ptr<FavItem> item = CreateFavItem(root)) {
            // A document without "Items": its first element is one top-level item.
            result.nodes.push_back(FavNode{std::move(item), {}});
            LoadItems(root, result.nodes.back().children);
        } else {
            LoadItems(root, result.nodes);
        }
    } catch (const Exception& e) {
        result.error = e.Message();
    }
    return result;
}

FavLoadResult LoadFavoritesFile(const WideString& path) {
    const std::filesystem::path file = Utf16ToUtf8(path);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        FavLoadResult result;
        result.error = u"The favorites file cannot be read: " + Utf8ToUtf16(std::strerror(errno));
        return result;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    in.close();
    if (bytes.str().find_first_not_of(" \t\r\n") == std::string::npos) return {};
    FavLoadResult result = ParseFavorites(bytes.str());
    if (!result.error.empty()) {
        WideString aside;
        if (KeepAside(path, aside)) {
            result.keptAsidePath = aside;
            result.error += u"\nIt was kept as \"" + aside + u"\".";
        }
    }
    return result;
}

std::string FavoritesText(const std::vector<FavNode>& nodes) { return FavoritesText(Refs(nodes)); }

std::string FavoritesText(const std::vector<FavItemRef>& nodes) {
    XmlDocument document;
    XmlElement root = document.Reset("Items");
    SaveItems(root, nodes);
    return document.Print();
}

bool SaveFavoritesFile(const WideString& path, const std::vector<FavNode>& nodes, WideString& error) {
    return SaveFavoritesFile(path, Refs(nodes), error);
}

bool SaveFavoritesFile(const WideString& path, const std::vector<FavItemRef>& nodes, WideString& error) {
    const int failure = ReplaceFileAtomically(Utf16ToUtf8(path), FavoritesText(nodes));
    if (failure == 0) return true;
    error = u"The favorites could not be saved: " + Utf8ToUtf16(std::strerror(failure));
    return false;
}
