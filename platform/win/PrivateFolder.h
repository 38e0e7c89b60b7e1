// This user's own folders for temporary files: made closed to every other user and checked
// before use, so that nobody else can read them, fill them or put a link in their place.
#pragma once

#include "platform/win/WinTypes.h"

// The root of this user's temporary folders for a program, with a trailing "/":
// "$XDG_RUNTIME_DIR/<product>/" when that variable names a folder of this user, else
// "<temporary path><product>-<user id>/". Made when missing and checked as MakePrivateFolder
// does; empty, with the last error set, when that fails.
WideString PrivateTempRoot(const WideString& product);

// Makes the folder (mode 0700) unless the name exists, then checks it as IsPrivateFolder
// does. False with the last error set.
bool MakePrivateFolder(const WideString& folder);

// True when the name itself (a link is not followed) is a folder owned by this user that no
// other user may enter, read or write. False with the last error set: ERROR_ACCESS_DENIED for a
// link, a file, another owner or an open mode.
bool IsPrivateFolder(const WideString& folder);
