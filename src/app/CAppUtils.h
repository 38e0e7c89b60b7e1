// Where the program's files go, and the two file-name services every writer of files uses.
// Every folder returned ends with "/" unless it is empty (the folder could not be found).
#pragma once

#include "platform/win/WinTypes.h"

class CAppUtils {
public:
    // This process's temporary folder: "<pid>/" in this user's private root (PrivateTempRoot
    // of "Quillora": under $XDG_RUNTIME_DIR, else "Quillora-<uid>" in the system temporary
    // folder), made closed to other users and checked (a folder of this user, not a link) on
    // every call; a removed folder is made again. Empty when it cannot be made or fails the check.
    static WideString getAppTempFolder();
    // The user's application-data folder + "Quillora/", created.
    static WideString getAppDataFolder();
    static WideString getDesktopFolder();
    static WideString getUserDocumentsFolder();
    // The system library folder; nothing of the program lives there.
    static WideString getSystemFolder();
    // The folder of the running executable.
    static WideString getAppFolder();
    // getAppDataFolder() + "favorites.xml"; empty when there is no application-data folder.
    static WideString getFavoritesXmlFile();
    // getAppDataFolder() + "Favorites/", created; empty when there is no application-data folder.
    static WideString getFavoritesFolder();

    // Arbitrary text made into a file name: < > : " / \ | ? * and every control character
    // become "_"; "." and ".." and the reserved device names (CON, NUL, COM1, ...: exact case)
    // get "_" in front; the name is cut to the file system's 255 bytes on a character
    // boundary, keeping its extension. With lastComponentOnly, only the text after the last
    // "/" is cleaned and the folder part is kept as it is; a bare name comes back bare.
    static WideString MakeValidFileName(const WideString& text, bool lastComponentOnly);

    // The path itself when no file or folder has that name; else "<base> (N)<ext>" for the
    // first free N from 2 to 100, then random N up to 268435454, then counting on from 101.
    // Empty only when every candidate is taken.
    static WideString MakeUniqueFileName(const WideString& path);
};

// The longest prefix of name whose UTF-8 form fits in maxBytes, cut between characters.
WideString CutToUtf8Bytes(const WideString& name, size_t maxBytes);
