#include "PstPeer.h"

#include <libpff.h>

namespace pstpeer {
namespace {

struct Item {
    libpff_item_t* p = nullptr;
    ~Item() {
        if (p) libpff_item_free(&p, nullptr);
    }
};

// The raw value of property `id` in one record set of the item.
bool Raw(libpff_item_t* item, std::uint32_t id, std::string& out, std::uint32_t* type = nullptr, int set = 0) {
    libpff_record_set_t* rs = nullptr;
    if (libpff_item_get_record_set_by_index(item, set, &rs, nullptr) != 1) return false;
    libpff_record_entry_t* e = nullptr;
    bool ok = false;
    if (libpff_record_set_get_entry_by_type(rs, id, 0, &e,
                                            LIBPFF_ENTRY_VALUE_FLAG_MATCH_ANY_VALUE_TYPE |
                                                LIBPFF_ENTRY_VALUE_FLAG_IGNORE_NAME_TO_ID_MAP,
                                            nullptr) == 1) {
        size_t size = 0;
        if (type) libpff_record_entry_get_value_type(e, type, nullptr);
        if (libpff_record_entry_get_data_size(e, &size, nullptr) == 1) {
            out.assign(size, '\0');
            ok = size == 0 || libpff_record_entry_get_data(e, reinterpret_cast<uint8_t*>(out.data()), size, nullptr) == 1;
        }
        libpff_record_entry_free(&e, nullptr);
    }
    libpff_record_set_free(&rs, nullptr);
    return ok;
}

std::u16string Text(libpff_item_t* item, std::uint32_t id, int set = 0) {
    std::string raw;
    std::uint32_t type = 0;
    if (!Raw(item, id, raw, &type, set)) return {};
    std::u16string s;
    if (type == 0x001E) {  // 8-bit text: the test stores hold ASCII and Latin-1
        for (char c : raw) s.push_back(static_cast<unsigned char>(c));
        while (!s.empty() && s.back() == 0) s.pop_back();
        return s;
    }
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
        s.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8));
    while (!s.empty() && s.back() == 0) s.pop_back();
    return s;
}

std::uint64_t Number(libpff_item_t* item, std::uint32_t id, int set = 0) {
    std::string raw;
    std::uint64_t v = 0;
    if (Raw(item, id, raw, nullptr, set))
        for (std::size_t i = 0; i < raw.size() && i < 8; ++i) v |= std::uint64_t(static_cast<unsigned char>(raw[i])) << (8 * i);
    return v;
}

std::u16string Subject(libpff_item_t* item) {
    std::u16string s = Text(item, 0x0037);
    if (!s.empty() && s[0] == 1) s.erase(0, std::min<std::size_t>(2, s.size()));
    return s;
}

PeerMessage ReadMessage(libpff_item_t* m) {
    PeerMessage pm;
    pm.subject = Subject(m);
    pm.sender = Text(m, 0x0C1A);
    pm.displayTo = Text(m, 0x0E04);
    pm.receivedBy = Text(m, 0x0076);
    pm.deliveryTime = Number(m, 0x0E06);
    Item recips;
    if (libpff_message_get_recipients(m, &recips.p, nullptr) == 1) libpff_item_get_number_of_record_sets(recips.p, &pm.recipients, nullptr);
    for (int r = 0; r < pm.recipients; ++r) {
        pm.recipientNames.push_back(Text(recips.p, 0x3001, r));
        pm.recipientAddresses.push_back(Text(recips.p, 0x3003, r));
    }
    libpff_message_get_number_of_attachments(m, &pm.attachments, nullptr);
    for (int i = 0; i < pm.attachments; ++i) {
        Item att;
        std::u16string name;
        if (libpff_message_get_attachment(m, i, &att.p, nullptr) == 1)
            for (std::uint32_t id : {0x3707u, 0x3704u, 0x3708u, 0x370Cu, 0x3001u})
                if (name.empty()) name = Text(att.p, id);
        pm.attachmentNames.push_back(name);
    }
    if (pm.attachments > 0) {
        Item att;
        size64_t size = 0;
        if (libpff_message_get_attachment(m, 0, &att.p, nullptr) == 1 &&
            libpff_attachment_get_data_size(att.p, &size, nullptr) == 1 && size < (1u << 24)) {
            pm.firstAttachmentData.resize(size);
            libpff_attachment_data_seek_offset(att.p, 0, SEEK_SET, nullptr);
            if (libpff_attachment_data_read_buffer(att.p, reinterpret_cast<uint8_t*>(pm.firstAttachmentData.data()), size,
                                                   nullptr) != static_cast<ssize_t>(size))
                pm.firstAttachmentData.clear();
        }
    }
    return pm;
}

void Walk(libpff_item_t* folder, int depth, const std::u16string& prefix, bool withMessages, std::vector<PeerFolder>& out) {
    int n = 0;
    if (libpff_folder_get_number_of_sub_folders(folder, &n, nullptr) != 1) return;
    for (int i = 0; i < n; ++i) {
        Item sub;
        if (libpff_folder_get_sub_folder(folder, i, &sub.p, nullptr) != 1) continue;
        PeerFolder f;
        f.depth = depth;
        f.name = Text(sub.p, 0x3001);
        f.path = prefix + f.name;
        f.containerClass = Text(sub.p, 0x3613);
        libpff_item_get_identifier(sub.p, &f.nid, nullptr);
        libpff_folder_get_number_of_sub_messages(sub.p, &f.messageCount, nullptr);
        if (withMessages) {
            for (int k = 0; k < f.messageCount; ++k) {
                Item m;
                if (libpff_folder_get_sub_message(sub.p, k, &m.p, nullptr) == 1) f.messages.push_back(ReadMessage(m.p));
            }
        }
        out.push_back(f);
        Walk(sub.p, depth + 1, f.path + u"\\", withMessages, out);
    }
}

struct File {
    libpff_file_t* f = nullptr;
    ~File() {
        if (f) {
            libpff_file_close(f, nullptr);
            libpff_file_free(&f, nullptr);
        }
    }
};

bool OpenSubtree(const std::string& path, File& file, Item& subtree) {
    if (libpff_file_initialize(&file.f, nullptr) != 1) return false;
    if (libpff_file_open(file.f, path.c_str(), LIBPFF_OPEN_READ, nullptr) != 1) {
        libpff_file_free(&file.f, nullptr);
        return false;
    }
    Item store;
    if (libpff_file_get_message_store(file.f, &store.p, nullptr) != 1) return false;
    std::string eid;
    if (!Raw(store.p, 0x35E0, eid) || eid.size() != 24) return false;
    const auto b = [&](int i) { return uint32_t(static_cast<unsigned char>(eid[i])); };
    const uint32_t nid = b(20) | b(21) << 8 | b(22) << 16 | b(23) << 24;
    return libpff_file_get_item_by_identifier(file.f, nid, &subtree.p, nullptr) == 1;
}

long WalkMessages(libpff_item_t* folder) {
    long count = 0;
    int n = 0;
    libpff_folder_get_number_of_sub_messages(folder, &n, nullptr);
    for (int k = 0; k < n; ++k) {
        Item m;
        if (libpff_folder_get_sub_message(folder, k, &m.p, nullptr) != 1) continue;
        // The list columns: sender, subject, date, recipients, CC, attachment flag.
        volatile std::size_t sink = Subject(m.p).size() + Text(m.p, 0x0C1A).size() + Text(m.p, 0x0E04).size() +
                                    Text(m.p, 0x0E03).size();
        (void)sink;
        volatile std::uint64_t numbers = Number(m.p, 0x0E06) + Number(m.p, 0x0E07);
        (void)numbers;
        ++count;
    }
    int subs = 0;
    libpff_folder_get_number_of_sub_folders(folder, &subs, nullptr);
    for (int i = 0; i < subs; ++i) {
        Item sub;
        if (libpff_folder_get_sub_folder(folder, i, &sub.p, nullptr) == 1) count += WalkMessages(sub.p);
    }
    return count;
}

}  // namespace

bool ReadFolders(const std::string& path, bool withMessages, std::vector<PeerFolder>& out) {
    out.clear();
    File file;
    Item subtree;
    if (!OpenSubtree(path, file, subtree)) return false;
    Walk(subtree.p, 0, u"", withMessages, out);
    return true;
}

std::array<std::uint32_t, 10> WellKnownFolders(const std::string& path) {
    std::array<std::uint32_t, 10> nids{};
    File file;
    if (libpff_file_initialize(&file.f, nullptr) != 1) return nids;
    if (libpff_file_open(file.f, path.c_str(), LIBPFF_OPEN_READ, nullptr) != 1) {
        libpff_file_free(&file.f, nullptr);
        return nids;
    }
    auto nidOf = [](const std::string& eid) -> std::uint32_t {
        if (eid.size() != 24) return 0;
        const auto b = [&](int i) { return std::uint32_t(static_cast<unsigned char>(eid[i])); };
        return b(20) | b(21) << 8 | b(22) << 16 | b(23) << 24;
    };
    Item receive;
    if (libpff_file_get_item_by_identifier(file.f, 0x62B, &receive.p, nullptr) == 1) {
        int rows = 0;
        libpff_item_get_number_of_record_sets(receive.p, &rows, nullptr);
        std::size_t best = 0;
        for (int r = 0; r < rows; ++r) {
            std::u16string cls = Text(receive.p, 0x001A, r);
            for (char16_t& c : cls)
                if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
            const bool matches = cls.empty() || cls == u"IPM" || cls == u"IPM.NOTE";
            if (matches && (nids[1] == 0 || cls.size() > best)) {
                nids[1] = static_cast<std::uint32_t>(Number(receive.p, 0x6605, r));
                best = cls.size();
            }
        }
    }
    Item store;
    if (libpff_file_get_message_store(file.f, &store.p, nullptr) == 1) {
        const std::uint64_t mask = Number(store.p, 0x35DF);
        std::string eid;
        if ((mask & 0x4) && Raw(store.p, 0x35E2, eid)) nids[2] = nidOf(eid);
        if ((mask & 0x10) && Raw(store.p, 0x35E4, eid)) nids[3] = nidOf(eid);
        if ((mask & 0x8) && Raw(store.p, 0x35E3, eid)) nids[4] = nidOf(eid);
    }
    Item inbox;
    if (nids[1] != 0 && libpff_file_get_item_by_identifier(file.f, nids[1], &inbox.p, nullptr) == 1)
        for (std::uint32_t i = 0; i < 5; ++i) {
            std::string eid;
            if (Raw(inbox.p, 0x36D0 + i, eid)) nids[5 + i] = nidOf(eid);
        }
    return nids;
}

long WalkListColumns(const std::string& path) {
    File file;
    Item subtree;
    if (!OpenSubtree(path, file, subtree)) return -1;
    return WalkMessages(subtree.p);
}

}  // namespace pstpeer
