#include "controls/unicode/TntMenus.h"

#include "controls/unicode/TntWideProperties.h"

WideString SyncHotKeyPosition(const WideString& source, const WideString& destination) {
    if (source == destination || !WideSameCaptionStr(source, destination)) return destination;
    WideString result;
    for (WideChar c : destination)
        if (c != u'&') result += c;
    for (std::size_t p = 0; p < source.size(); ++p)
        if (source[p] == u'&') result.insert(std::min(p, result.size()), 1, u'&');
    if (result != source)
        throw ETntInternalError(u"Internal Error: SyncHotKeyPosition Failed (\"" + source + u"\" <> \"" + result + u"\").");
    return result;
}

WideString WideGetMenuItemHint(const TMenuItem* item) { return item ? item->Hint() : WideString(); }

const TMetaClass& TTntMenuItem::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntMenuItem>("TTntMenuItem", &TMenuItem::StaticClass());
    return meta;
}

const TMetaClass& TTntPopupMenu::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntPopupMenu>("TTntPopupMenu", &TPopupMenu::StaticClass());
    return meta;
}

const TMetaClass& TTntMainMenu::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntMainMenu>("TTntMainMenu", &TMainMenu::StaticClass());
    return meta;
}
