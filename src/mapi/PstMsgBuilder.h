// The ".msg" property tree of a store message, for the compound-file writer: the store is
// read-only and MAPI's message-on-storage service does not exist here.
#pragma once

#include "mapi/MapiLibs.h"
#include "message/MSGFile.h"

// Fills file with the message's properties (strings as UTF-16, the RTF body as text for the
// writer to compress), its recipients, attachments and attached messages, and the named
// properties with ids renumbered from 0x8000 in a name mapping. Store-internal properties
// (entry ids, keys, object types, the store's own ids) are left out. False when the
// message's properties cannot be read.
bool BuildMsgTreeFromIMessage(IMessage* message, MapiLibs& libs, TMSGFile& file);
