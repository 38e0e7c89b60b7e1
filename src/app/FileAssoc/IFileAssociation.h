// Whether the program is the desktop's default program for a file extension, and making it so.
#pragma once

#include "platform/win/WinTypes.h"

// The program identifier both message extensions are pointed at.
inline constexpr char16_t kProgramProgId[] = u"QuilloraPro.FileAssoc.MSG";

class IFileAssociation {
public:
    virtual ~IFileAssociation() = default;
    // progId: the program identifier; extension with its dot (".msg"); allUsers: the
    // system-wide choice instead of the current user's.
    virtual bool IsAssociated(const WideString& progId, const WideString& extension, bool allUsers) = 0;
    virtual void SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) = 0;
};
