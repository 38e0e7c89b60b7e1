// Everything that configures a run: command-line switches, the settings kept in the registry
// ("Software\Kestrelwright\quillora\" under the machine and the user key), the user-interface
// parts to hide, and the requested state of the .msg and .eml associations. One instance,
// appOptions: read from the machine key, then the user key, then the command line, so that
// a switch overrides a user value and a user value a machine one.
#pragma once

#include <memory>

#include "app/FileAssoc/IFileAssociation.h"
#include "platform/win/WinTypes.h"

inline constexpr char kOptionsKey[] = "Software\\Kestrelwright\\quillora\\";

class CAppOptions {
public:
    CAppOptions();
    ~CAppOptions();
    CAppOptions(const CAppOptions&) = delete;
    CAppOptions& operator=(const CAppOptions&) = delete;

    // The association state (always the current user's) and the registry values of one root:
    // the machine key when allUsers, else the user key. Missing values keep their fields;
    // a user key without "UI" takes the machine one. Failures end the reading silently.
    void Read(bool allUsers);
    // Applies the process's arguments (WideParamStr), in order.
    void parse();
    // Resets every hiding flag and sets them from a comma-separated list of exact names.
    void ParseUIList(const WideString& list);
    // Makes the requested associations and writes the registry values to one root. Nothing at
    // all in a full-screen viewer run. Registry failures end the writing silently.
    void Write(bool allUsers);

    bool exportMode = false;          // "+EXPORT": the run is a command-line export
    bool setupMode = false;           // "/SETUP"
    bool allUsers = false;            // "/ALLUSERS": setup and associations machine-wide
    bool assocMsg = false;            // .msg is (to be) associated with the program
    bool assocEml = false;            // .eml likewise
    bool printPageBreaks = false;     // "Print page breaks"
    WideString localizationDb;        // "Localization Database": the translation file
    // Hiding flags of the UI list.
    bool hideOF = false, hideC = false, hideSM = false, hideSH = false, hidePM = false, hidePH = false;
    bool hideS = false, hideE = false, hideR = false, hideF = false, hideAPP = false, hideX = false;
    bool hideHEADER = false, hidePROPS = false, hideFAVS = false, hideATTOPEN = false;
    bool hideATTSAVE = false, hideCSV = false, hideTZONE = false;
    bool debugSwitch = false;         // "+DEBUG" given (recorded only)
    bool exportTexts = false;         // "+EXPTEXT": write a translation template
    bool noLoad = false;              // "-LOAD": do not list the start folder
    bool hidePANELS = false;
    bool hideDEL = false;
    bool fullScreenView = false;      // "+FULLSCR": full-screen viewer of one file
    bool silentPrint = false;         // "+PRINT"
    bool runCmdLineExport = false;    // "+EXPORT..."
    WideString startDir;              // "+DIR": the folder to list at start
    WideString fileToOpen;            // "+FULLSCR" file, or any other argument
    WideString uiList;                // "UI" / "-UI": comma-separated hidden parts
    int language = 0;                 // "Language" (LanguageCode)
    WideString failedExportPath;      // "FailedExportMessagesCopyPath"
    bool showSplash = true;
    bool fullScreenStart = false;     // the main window takes the shown message's caption
    bool showFolders = true;          // UI item FOLDERS
    bool showToolbar = true;          // UI item TOOLBAR
    bool showMessageList = true;      // UI item MLIST
    int sortMode = 0;                 // "SortMode": sort column of the message list
    bool sortDir = false;             // "SortDir"
    std::unique_ptr<IFileAssociation> assocManager;  // created on first use

private:
    IFileAssociation& Associations();
    // Whether Write should make the association: asked for by a switch or by a change of the
    // flag since start, not merely found in place at start (the user may have changed it
    // elsewhere meanwhile).
    bool AssociationRequested(bool flag, bool atStart, bool bySwitch) const;

    bool assocMsgAtStart_ = false;
    bool assocEmlAtStart_ = false;
    bool assocMsgBySwitch_ = false;
    bool assocEmlBySwitch_ = false;
    WideString storedLocalizationDb_;  // the registry's translation file, before any switch
    WideString templatePath_;          // the "+EXPTEXT" file
};

extern CAppOptions appOptions;
