// The localisation database: every user-visible text by key, loaded from and saved to the
// plain-text translation files, and GetUiString, through which every subsystem fetches its
// texts by number.
//
// Translation file: UTF-16 text, one entry per line: key, comma, blank, the text in double
// quotes (inner quotes need no escaping). A line ending in "\" continues on the next line and
// reads as a line break; "\n" in a text is a line break too, so a literal backslash followed
// by "n" (a path such as "/tmp/new") cannot be kept: it comes back as a line break. Blank
// lines and lines starting with "//" are skipped.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/win/WinTypes.h"

class AppLocDB {
public:
    // The text stored under key; empty when there is none (nothing is inserted).
    WideString GetString(const WideString& key) const;
    // Stores text under key, replacing any earlier text.
    void SetString(const WideString& key, const WideString& text);
    bool HasKey(const WideString& key) const { return db_.count(key) != 0; }
    size_t Count() const { return db_.size(); }
    const std::map<WideString, WideString>& Entries() const { return db_; }

    // Merges a translation file (UTF-16 little- or big-endian, with or without byte-order
    // mark) into the database. -1 when the file cannot be opened, else 0; a read error part
    // way keeps what was read before it.
    int LoadDB(const WideString& path);
    // Writes every entry in key order (UTF-16LE, CR LF, no byte-order mark) through a
    // temporary file renamed into place. 0 on success, -1 when the file cannot be written
    // (an existing file is then left as it was).
    int SaveDB(const WideString& path) const;

    // The (key, text) of one logical line; either may be empty.
    static std::pair<WideString, WideString> ParseLine(const WideString& line);
    // The written form of a text: CRs dropped, a backslash before every LF.
    static WideString EncodeText(const WideString& text);
    // "\n" (backslash, n) becomes a line feed.
    static WideString DecodeText(const WideString& text);

    // Merges a file's content as LoadDB reads it.
    void LoadBytes(const std::string& bytes);

private:
    void LoadText(const WideString& text);

    std::map<WideString, WideString> db_;
};

class TComponent;
class TControl;
class TCustomForm;
class TMenuItem;

// The database with the walk that stores the texts of the program's windows under keys made of
// component names joined by ":" ("Form1:File1:Exit1", "Form1:TopBar:Button3"), or puts the
// database's texts back into them (AppVclLocDB.cpp). A control's hint is keyed with ".Hint"
// after its key; radio-group items and list columns with ".Items.N" and ".Columns.N". Edits
// and combo boxes hold data and are left out, and so are texts with no two letters in a row
// (values such as "0"); status panels are filled at run time from the UI texts.
class AppVclLocDB : public AppLocDB {
public:
    // Stores or restores Form1, OpenAttachmentDlg, SelectFolderDlg, SearchDlg, fmBateStamp,
    // csvExportDlg and SettingsDlg, in that order, then every other window that exists; 0.
    int ProcessForms(bool store);
    // One form; after a restore a changeable form's LanguageChanged redoes the texts it
    // composes.
    void FormStoreRestore(TCustomForm* form, bool store);
    // The form's caption, its main menu, its actions and popup menus, then its controls.
    void StoreForm(TCustomForm* form);
    void RestoreForm(TCustomForm* form);
    // Nameless items are skipped with their sub-items; "-" is never stored.
    void StoreRestoreMenuItem(TMenuItem* item, WideString parentKey, bool store);
    // Panels (toolbars too) and page controls are walked into without a text of their own;
    // group boxes and tab sheets keep their caption and are walked into as well.
    void StoreRestoreControl(TControl* control, WideString parentKey, bool store);

    // Keeps the built-in texts (the string table and every window's texts as made) so that a
    // later switch starts from them: a language file then changes only what it names.
    void KeepBuiltInTexts();
    // Switches every window to a translation file: the built-in texts, the file over them, then
    // a restore of every window. -1, changing nothing, when the file cannot be read or holds
    // no entry (the English file excepted: the built-in texts are English).
    int SwitchLanguage(const WideString& path);

private:
    void WalkForm(TCustomForm* form, bool store);
    void StoreRestoreComponents(TCustomForm* form, const WideString& formKey, bool store);
    void StoreRestoreItems(TControl* control, const WideString& key, bool store);
    // Store: keeps a non-empty text. Restore: applies the key's text when it has one.
    void StoreRestoreText(const WideString& key, WideString text, const std::function<void(const WideString&)>& apply,
                          bool store);

    AppLocDB builtIn_;
};

extern AppVclLocDB appLocDB;

// The UI text with that number: the database's text, else the built-in one, else empty.
WideString GetUiString(int id);
// The same for a text used as a printf format: a translation whose conversions ("%d", "%s",
// ...) differ from the built-in text's would read arguments that are not there, so the
// built-in text is used instead.
WideString GetUiFormat(int id);

// Copies the built-in texts 1000-1165 into db under their numbers (start-up does this before
// loading a translation file, so that ids the file lacks keep their English texts).
void StoreResourceStrings(AppLocDB& db);

// Language numbers of the "Language" option.
enum LanguageCode : int {
    LanguageNone = 0,
    LanguageEnglish = 1,
    LanguageFrench = 2,
    LanguageGerman = 3,
    LanguageSpanish = 4,
    LanguageRussian = 5,
    LanguageItalian = 6,
    LanguageCustom = 255,
};

// "Localization/LocalizationDB_EN.txt" etc. for 1-6; empty for any other number.
WideString LanguageFileName(int language);
// The same below the program's folder; empty for any other number.
WideString LanguageFilePath(int language);
