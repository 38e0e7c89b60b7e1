// Reads a store file with libpff directly, as the independent reference for tests and the
// benchmark: the folders below the IPM subtree and the list fields of their messages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pstpeer {

struct PeerMessage {
    std::u16string subject;  // without the prefix marker
    std::u16string sender;
    std::u16string displayTo;
    std::u16string receivedBy;  // PR_RECEIVED_BY_EMAIL_ADDRESS
    std::vector<std::u16string> recipientNames, recipientAddresses;
    std::uint64_t deliveryTime = 0;
    int recipients = 0;
    int attachments = 0;
    std::string firstAttachmentData;
    // Each attachment's first non-empty name property: long file name, file name, path name,
    // transport name, display name (empty when it has none).
    std::vector<std::u16string> attachmentNames;
};

struct PeerFolder {
    int depth = 0;
    std::u16string name;
    std::u16string path;  // names joined by backslashes
    std::u16string containerClass;
    std::uint32_t nid = 0;
    int messageCount = 0;
    std::vector<PeerMessage> messages;  // filled when asked
};

// False when libpff cannot open the file or find the IPM subtree.
bool ReadFolders(const std::string& path, bool withMessages, std::vector<PeerFolder>& out);

// The node ids of the store's well-known folders, 0 where the store names none: [1] the
// folder receiving "IPM.Note" (most specific entry of the receive-folder table), [2] Outbox,
// [3] Sent Items, [4] Deleted Items (each only with its bit of the valid-folder mask), [5] to
// [9] the Calendar, Contacts, Journal, Notes and Tasks ids kept by that receiving folder.
std::array<std::uint32_t, 10> WellKnownFolders(const std::string& path);

// The list columns of every message of every folder, as the benchmark's peer reads them;
// gives the number of messages read, -1 on failure.
long WalkListColumns(const std::string& path);

}  // namespace pstpeer
