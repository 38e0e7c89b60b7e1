// Writing a compound-file message: the property tree as a ".msg" file that other readers
// open (property headers with their counts, fixed-length entries with their real types,
// compressed RTF with its header, value streams of multi-valued properties, the mail class id).
// The model's text writers are in MSGTextWriters.h.
#pragma once

#include "message/Message.h"
#include "platform/com/StructuredStorage.h"
#include "platform/win/WinTime.h"

// {00020D0B-0000-0000-C000-000000000046}: the class id of a message file's root storage.
extern const CLSID CLSID_MailMessage;

// Writes the tree to path, replacing a file there; the file appears only after the whole tree
// was written (it is built aside and renamed into place). With full every root item is
// written; without it only the sender, recipient and subject names, the submit date and the
// message id (0x0042001E, 0x0044001E, 0x0037001E, 0x00390040, 0x1035001E), when present.
// S_OK, or the error of the storage call that failed.
HRESULT SaveToMsgFile(const TMessage& message, const WideString& path, bool full);
