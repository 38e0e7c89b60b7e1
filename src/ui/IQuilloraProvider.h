// What other windows (the favorites pane, the print and copy window, the export manager) may ask
// of the main window without knowing its type.
#pragma once

#include "message/MessageAttrDeque.h"
#include "platform/win/WinTypes.h"

class TForm;

class IQuilloraProvider {
public:
    virtual ~IQuilloraProvider() = default;

    // Shows the message file at path, listing it first when it is not listed.
    virtual void Show(const WideString& path) = 0;
    // Selects the folder in the folder tree and lists it.
    virtual void GoToFolder(const WideString& path) = 0;
    // The folder where the favorites pane keeps its message copies.
    virtual WideString GetRootFolderLocation() = 0;
    // The checked messages in list order, else (unless checkedOnly) the selected ones in row
    // order. The records stay owned by the window's list.
    virtual void GetMessagesFromList(MessageAttrDeque& out, bool checkedOnly) = 0;
    // The main window, as owner of the windows a caller creates.
    virtual TForm* GetOwnerForm() = 0;
};
