// The message record for a file by its extension, for files dropped on the favorites pane.
// Kept apart: the compound-file reader's headers cannot meet the window-message ones.
#pragma once

#include <memory>

#include "message/MessageAttr.h"

// An empty record of the file's kind (".msg" or ".eml", any case); null for other files.
std::unique_ptr<TMessageAttr> NewMessageForFile(const WideString& path);
