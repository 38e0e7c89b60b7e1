// An unsent message written as an internet message file, for a mail program to open as a
// draft: the plain and HTML bodies as alternatives, attachments under their display names,
// "X-Unsent: 1".
#pragma once

#include <string>
#include <vector>

#include "platform/mime/IdMessage.h"

struct MimeDraftAttachment {
    std::string path;         // the file whose bytes are attached
    std::string displayName;  // the name the mail shows; the file's own name when empty
};

// Texts in UTF-8.
struct MimeDraft {
    std::string subject;
    std::string plainBody;
    std::string htmlBody;
    std::vector<TIdEmailAddressItem> to;
    std::vector<TIdEmailAddressItem> cc;
    std::vector<TIdEmailAddressItem> bcc;
    std::vector<MimeDraftAttachment> attachments;
};

// The message bytes. Raises EIdException when an attachment cannot be read (a draft that
// silently lacks an attachment would be sent without it).
std::string BuildDraftMessage(const MimeDraft& draft);
