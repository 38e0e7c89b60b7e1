#include "app/CAppOptions.h"

#include <array>

#include "app/CAppUtils.h"
#include "app/FileAssoc/AssociationManager.h"
#include "app/RegExpUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntRegistry.h"
#include "controls/unicode/TntSystem.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"
#include "regex/RegexpT.h"

CAppOptions appOptions;

namespace {

struct UiItem {
    const char16_t* name;
    bool CAppOptions::*flag;
    bool hides;  // false: the item clears a "shown" flag
};

const std::array<UiItem, 24> kUiItems = {{
    {u"OF", &CAppOptions::hideOF, true},
    {u"C", &CAppOptions::hideC, true},
    {u"SM", &CAppOptions::hideSM, true},
    {u"SH", &CAppOptions::hideSH, true},
    {u"PM", &CAppOptions::hidePM, true},
    {u"PH", &CAppOptions::hidePH, true},
    {u"S", &CAppOptions::hideS, true},
    {u"E", &CAppOptions::hideE, true},
    {u"R", &CAppOptions::hideR, true},
    {u"X", &CAppOptions::hideX, true},
    {u"F", &CAppOptions::hideF, true},
    {u"APP", &CAppOptions::hideAPP, true},
    {u"FOLDERS", &CAppOptions::showFolders, false},
    {u"TOOLBAR", &CAppOptions::showToolbar, false},
    {u"MLIST", &CAppOptions::showMessageList, false},
    {u"HEADER", &CAppOptions::hideHEADER, true},
    {u"PROPS", &CAppOptions::hidePROPS, true},
    {u"FAVS", &CAppOptions::hideFAVS, true},
    {u"ATTOPEN", &CAppOptions::hideATTOPEN, true},
    {u"ATTSAVE", &CAppOptions::hideATTSAVE, true},
    {u"CSV", &CAppOptions::hideCSV, true},
    {u"TZONE", &CAppOptions::hideTZONE, true},
    {u"DEL", &CAppOptions::hideDEL, true},
    {u"PANELS", &CAppOptions::hidePANELS, true},
}};

// The program's arguments after its own name; an empty one ("") does not end them.
int ParamCount() { return WideParamCount(); }

HKEY RootOf(bool allUsers) { return allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

CAppOptions::CAppOptions() {
    const WideString documents = CAppUtils::getUserDocumentsFolder();
    failedExportPath = documents.empty() ? WideString() : documents + u"Failed export/";
}

CAppOptions::~CAppOptions() = default;

IFileAssociation& CAppOptions::Associations() {
    if (!assocManager) assocManager = std::make_unique<AssociationManager>();
    return *assocManager;
}

void CAppOptions::Read(bool allUsersRoot) {
    QUILLORA_TRACE(u"CAppOptions::Read");
    try {
        IFileAssociation& assoc = Associations();
        const int defs = (assoc.IsAssociated(kProgramProgId, u".msg", false) ? 1 : 0) |
                         (assoc.IsAssociated(kProgramProgId, u".eml", false) ? 2 : 0);
        LogPrintf(u"defs %d", defs);

        TTntRegistry reg(KEY_READ);
        reg.SetRootKey(RootOf(allUsersRoot));
        const bool opened = reg.OpenKeyReadOnly(kOptionsKey);
        const auto has = [&](const char* name) { return opened && reg.ValueExists(name); };
        if (has("SortMode")) sortMode = reg.ReadInteger("SortMode");
        if (has("SortDir")) sortDir = reg.ReadInteger("SortDir") != 0;
        if (has("Language")) {
            language = reg.ReadInteger("Language");
            LogPrintf(u"lang %d", language);
        }
        if (has("Localization Database")) {
            localizationDb = reg.ReadString(WideString(u"Localization Database"));
            storedLocalizationDb_ = localizationDb;
        }
        if (has("Print page breaks")) printPageBreaks = reg.ReadInteger("Print page breaks") != 0;
        if (has("FailedExportMessagesCopyPath"))
            failedExportPath = reg.ReadString(WideString(u"FailedExportMessagesCopyPath"));
        if (has("UI")) {
            uiList = reg.ReadString(WideString(u"UI"));
        } else {
            TTntRegistry machine(KEY_READ);
            machine.SetRootKey(HKEY_LOCAL_MACHINE);
            if (machine.OpenKeyReadOnly(kOptionsKey) && machine.ValueExists("UI"))
                uiList = machine.ReadString(WideString(u"UI"));
        }
        ParseUIList(uiList);
        reg.CloseKey();
        assocMsg = assocMsgAtStart_ = (defs & 1) != 0;
        assocEml = assocEmlAtStart_ = (defs & 2) != 0;
    } catch (const std::exception& e) {
        LogPrintf(u"CAppOptions::Read failed: %hs", e.what());
    }
}

void CAppOptions::parse() {
    QUILLORA_TRACE(u"CAppOptions::parse");
    const int count = ParamCount();
    for (int i = 1; i <= count; ++i) {
        const WideString arg = WideParamStr(i);
        const WideString up = WideUpperCase(arg);
        const bool hasNext = i < count;
        if (up == u"/SETUP") {
            setupMode = true;
        } else if (up == u"/ALLUSERS") {
            allUsers = true;
        } else if (up == u"+REGEML") {
            assocEml = assocEmlBySwitch_ = true;
        } else if (up == u"+REGMSG") {
            assocMsg = assocMsgBySwitch_ = true;
        } else if (up == u"+EXPTEXT" && hasNext) {
            localizationDb = templatePath_ = WideArgumentPath(WideParamStr(++i));
            exportTexts = true;
        } else if (up == u"+DIR" && hasNext) {
            startDir = WideArgumentPath(WideParamStr(++i));
        } else if (up.compare(0, 3, u"-UI") == 0) {
            // The fourth character is a separator ("=", ":") and is skipped unseen.
            uiList = up.size() >= 5 ? up.substr(4) : WideString();
            ParseUIList(uiList);
        } else if (up == u"+DEBUG") {
            debugSwitch = true;
        } else if (up == u"-LOAD") {
            noLoad = true;
        } else if (up == u"+FULLSCR" && hasNext) {
            fullScreenView = true;
            fileToOpen = WideArgumentPath(WideParamStr(++i));
            hideOF = hidePANELS = hideAPP = hideS = true;
            showFolders = showToolbar = showMessageList = false;
            showSplash = false;
            fullScreenStart = true;
        } else if (up == u"+PRINT") {
            silentPrint = true;
            showSplash = false;
        } else if (up.compare(0, 7, u"+EXPORT") == 0) {
            showSplash = false;
            exportMode = true;
            runCmdLineExport = true;
        } else {
            fileToOpen = WideArgumentPath(arg);
        }
    }
}

void CAppOptions::ParseUIList(const WideString& list) {
    for (const UiItem& item : kUiItems) this->*item.flag = !item.hides;
    static const CRegexpT<char16_t> items(u"[^,]*", 0);
    const int length = static_cast<int>(list.size());
    int start = 0;
    while (start <= length) {
        const MatchResult m = items.Match(list.c_str(), length, start);
        if (!m.Found()) break;
        const WideString name =
            list.substr(static_cast<size_t>(m.MatchBegin()), static_cast<size_t>(m.MatchEnd() - m.MatchBegin()));
        for (const UiItem& item : kUiItems) {
            if (name == item.name) {
                this->*item.flag = item.hides;
                break;
            }
        }
        start = m.MatchEnd() + 1;
    }
}

bool CAppOptions::AssociationRequested(bool flag, bool atStart, bool bySwitch) const {
    return flag && (bySwitch || !atStart);
}

void CAppOptions::Write(bool allUsersRoot) {
    QUILLORA_TRACE(u"CAppOptions::Write");
    if (fullScreenView) return;

    IFileAssociation& assoc = Associations();
    if (AssociationRequested(assocMsg, assocMsgAtStart_, assocMsgBySwitch_))
        assoc.SetAssociation(kProgramProgId, u".msg", allUsers);
    if (AssociationRequested(assocEml, assocEmlAtStart_, assocEmlBySwitch_))
        assoc.SetAssociation(kProgramProgId, u".eml", allUsers);

    try {
        TTntRegistry reg;
        reg.SetRootKey(RootOf(allUsersRoot));
        if (!reg.OpenKey(kOptionsKey, true)) {
            LogPrintf(u"cannot open the options key");
            return;
        }
        reg.WriteInteger("SortMode", sortMode);
        reg.WriteInteger("SortDir", sortDir ? 1 : 0);
        reg.WriteInteger("Language", language);
        // A template written with "+EXPTEXT" is not the user's translation: keep their choice.
        const bool template_ = exportTexts && localizationDb == templatePath_;
        reg.WriteString("Localization Database", Utf16ToUtf8(template_ ? storedLocalizationDb_ : localizationDb));
        reg.WriteInteger("Print page breaks", printPageBreaks ? 1 : 0);

        const std::array<std::pair<const char16_t*, bool>, 3> parts = {{
            {u"FOLDERS", showFolders}, {u"TOOLBAR", showToolbar}, {u"MLIST", showMessageList}}};
        for (const auto& [name, shown] : parts) {
            const WideString item = name;
            const size_t at = uiList.find(item);
            if (!shown && at == WideString::npos)
                uiList += u"," + item;
            else if (shown && at != WideString::npos)
                uiList.erase(at, item.size());
        }
        uiList = RegExpReplace(uiList, u",,", u",");

        reg.WriteString("FailedExportMessagesCopyPath", Utf16ToUtf8(failedExportPath));
        reg.WriteString("UI", Utf16ToUtf8(uiList));
        reg.CloseKey();
    } catch (const std::exception& e) {
        LogPrintf(u"CAppOptions::Write failed: %hs", e.what());
    }
}
