// Reads a compound-file message (.msg) into its property tree: property streams become
// leaves, the fixed-length property stream a node of its entries, every sub-storage
// (recipients, attachments, named properties, attached messages) a node of its contents.
#pragma once

#include <string>

#include "message/Message.h"
#include "platform/com/StructuredStorage.h"

class TMSGFile : public TMessage {
public:
    // What a load reads: every stream, or only those the message list and its sort need (the
    // fixed-length properties, sender, recipients, subject, class, and the attachments' names
    // and content ids); no body, attachment data, named property or transport header.
    enum class Scope { Everything, ListColumns };
    void SetScope(Scope scope) { scope_ = scope; }
    Scope GetScope() const { return scope_; }

    // False when the file is no compound file, is damaged, or cannot be read; LastError and
    // LastErrorText then say why. The tree keeps what was read before a failure.
    bool LoadFromFile(const WideString& path) override;
    bool LoadFromMemory(std::span<const std::uint8_t> image) override;
    bool LoadFromStream(std::istream& in) override;

    HRESULT LastError() const { return lastError_; }
    const std::string& LastErrorText() const { return lastErrorText_; }
    // True when a compressed RTF body could not be decoded; its property is then empty and
    // the rest of the message loaded all the same.
    bool HasDamagedRtf() const { return damagedRtf_; }

    // Storages nested deeper than this are refused (the directory check holds files to it).
    static constexpr int kMaxDepth = 128;

private:
    bool LoadRoot(IStorage* root);
    // Walks one storage into collection. parent holds the node of this storage (nullptr for
    // the root); storageTag is that node's tag (the fixed-length header size depends on it).
    HRESULT LoadIStorage(IStorage* storage, TMSGProperties& collection, TMSGProperties* parent,
                         std::uint32_t storageTag, int depth);
    HRESULT LoadStream(IStorage* storage, const STATSTG& element, std::vector<std::uint8_t>& bytes);
    bool Fail(HRESULT hr, std::string why);
    // False when the scope leaves the stream (tag) of a storage (storageTag) unread.
    bool Wanted(std::uint32_t storageTag, std::uint32_t tag) const;

    Scope scope_ = Scope::Everything;
    HRESULT lastError_ = S_OK;
    std::string lastErrorText_;
    bool damagedRtf_ = false;
};
