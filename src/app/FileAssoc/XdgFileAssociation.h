// File associations through the desktop's default-application lists, which the support
// library reads and writes (SetAppAsDefault, SetAppAsDefaultAll, QueryCurrentDefault).
#pragma once

#include "app/FileAssoc/IFileAssociation.h"

class XdgFileAssociation : public IFileAssociation {
public:
    // True when the program the desktop opens the extension with for the current user is the
    // one registered for progId. allUsers is not asked: the user's choice is what counts.
    bool IsAssociated(const WideString& progId, const WideString& extension, bool allUsers) override;
    // Makes the application of progId the default for the current user, or system-wide with
    // allUsers. A failure raises Exception.
    void SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) override;

    // The registered application name: the identifier up to its first ".".
    static WideString AppNameFromProgID(const WideString& progId);
    // The desktop id of the default program of the extension; empty when there is none.
    // Raises Exception when the support library is not loaded or does not know the extension.
    static WideString GetProgIDbyExtension(const WideString& extension);
    // The desktop id under which the application of progId is registered.
    static WideString DesktopIdOfProgID(const WideString& progId);
};
