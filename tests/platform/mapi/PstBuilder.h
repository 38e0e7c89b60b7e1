// Builds small Unicode personal-folders files for tests: header, node and block B-trees,
// heap-on-node, property and table contexts, the name-to-id map, the message store, folders
// and messages with recipients and attachments. Unencrypted, one data block per node.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pstbuild {

// One stored property: its tag (type in the low 16 bits) and its value bytes as stored.
struct Prop {
    std::uint32_t tag = 0;
    std::string bytes;

    static Prop Unicode(std::uint32_t tag, const std::u16string& text);
    // Raw 8-bit text, stored as it is (for code-page tests).
    static Prop String8(std::uint32_t tag, const std::string& bytes);
    static Prop Long(std::uint32_t tag, std::int32_t v);
    static Prop Bool(std::uint32_t tag, bool v);
    static Prop Time(std::uint32_t tag, std::uint64_t filetime);
    static Prop Binary(std::uint32_t tag, const std::string& bytes);
};

struct Recipient {
    std::uint32_t type = 1;  // 1 To, 2 Cc, 3 Bcc
    std::u16string name;
    std::u16string email;
};

struct Message;

struct Attachment {
    std::u16string fileName;  // empty: no name properties at all
    std::string data;
    std::vector<Prop> extra;  // further properties; one with the id of a default replaces it
    // One message here makes this an attached message (method 5) instead of data.
    std::vector<Message> embedded;
};

struct Message {
    std::u16string subject;
    std::u16string messageClass = u"IPM.Note";
    std::u16string sender;
    std::u16string body;
    std::uint64_t deliveryTime = 0x01D0000000000000ull;
    std::vector<Recipient> recipients;
    std::vector<Attachment> attachments;
    std::vector<Prop> extra;       // further properties, named ones included
    bool storeDisplayLists = true;  // false: leave PR_DISPLAY_TO/CC/BCC out
};

struct Folder {
    std::u16string name;
    std::u16string containerClass = u"IPF.Note";  // empty: no container class
    std::vector<Message> messages;
    std::vector<Folder> folders;
    // "inbox", "deleted", "sent" or "outbox": the store names this folder in that role (the
    // Inbox through the receive-folder table).
    std::string role;
};

struct NamedProp {
    std::uint8_t guid[16];  // the property set, bytes as stored
    bool isString = false;
    std::uint32_t lid = 0;
    std::u16string name;
};

struct Store {
    std::u16string displayName = u"Personal Folders";
    std::uint8_t recordKey[16] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                  0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xF0, 0x01};
    // Bits of PR_VALID_FOLDER_MASK; the bits of folders with a role are added unless
    // keepMaskAsGiven is set.
    std::uint32_t validFolderMask = 0x1;
    bool keepMaskAsGiven = false;
    std::vector<Folder> folders;  // below the IPM subtree
    // Named properties: index i has property id 0x8000 + i.
    std::vector<NamedProp> names;
    std::uint32_t passwordCrc = 0;  // PR_PST_PASSWORD when not 0
    // Further properties of folders, by folder path (names joined by backslashes).
    std::vector<std::pair<std::u16string, Prop>> folderProps;
    // Paths of folders whose node names no parent: the folder tree does not reach them.
    std::vector<std::u16string> detachedFolders;
    // Changes the first data block of a top-level node before it is written (to damage it).
    std::function<void(std::uint32_t nid, std::string& block)> editNode;
    // Gives the parent written for a top-level node (to make the node tree disagree).
    std::function<std::uint32_t(std::uint32_t nid, std::uint32_t parent)> editParent;
};

// The file bytes of the store.
std::string Build(const Store& store);

// The node id the store gives the folder with this path (0 when there is none).
std::uint32_t FolderNid(const Store& store, const std::u16string& path);

// Writes the store to a file; returns false on failure.
bool WriteFile(const Store& store, const std::string& path);

// A store of the shape most tests use: Inbox (two messages, one with an attachment),
// Inbox\Projects (one message), Sent Items, Deleted Items, Calendar.
Store SampleStore();

}  // namespace pstbuild
