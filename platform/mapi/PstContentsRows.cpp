// A folder's contents rows from the store's own contents table: one table read per folder,
// with the message's property context (read by the same reader) for columns the table lacks.
// No message item is opened; a row the reader cannot answer comes from the message itself.
#include <algorithm>
#include <optional>

#include "platform/mapi/PstObjects.h"
#include "platform/mapi/PstTable.h"
#include "platform/win/WinString.h"

namespace {

constexpr std::uint32_t kContentsTable = 0x0E;  // node type of a folder's contents table
constexpr std::uint32_t kRecipientTable = 0x692;
constexpr LONG kFlagHasAttach = 0x10;

std::vector<BYTE> NidBytes(std::uint32_t nid) {
    return {static_cast<BYTE>(nid), static_cast<BYTE>(nid >> 8), static_cast<BYTE>(nid >> 16), static_cast<BYTE>(nid >> 24)};
}

// One row being answered: the table's cells, and the message's properties once needed.
class RowReader {
public:
    RowReader(const PstStoreContext& ctx, const PstTableContext& table, std::size_t at, std::uint32_t nid)
        : ctx_(ctx), table_(table), at_(at), nid_(nid),
          cp_([this] { return CodePageFromProps([this](ULONG id, SPropValue& v) { return Stored(id, v); },
                                                ctx_.file->CodePage()); }) {}

    // False when the message's own properties were needed and cannot be read.
    bool Answer(ULONG tag, ULONG row, std::uint32_t folderNid, SPropValue& out, bool& found) {
        found = true;
        switch (PROP_ID(tag)) {
        case PROP_ID(PR_ROWID): out = SPropValue::Long(PR_ROWID, static_cast<LONG>(row)); return true;
        case PROP_ID(PR_ENTRYID): out = SPropValue::Binary(PR_ENTRYID, ctx_.file->EntryIdFor(nid_)); return true;
        case PROP_ID(PR_INSTANCE_KEY): out = SPropValue::Binary(PR_INSTANCE_KEY, NidBytes(nid_)); return true;
        case PROP_ID(PR_OBJECT_TYPE): out = SPropValue::Long(PR_OBJECT_TYPE, MAPI_MESSAGE); return true;
        case PROP_ID(PR_STORE_ENTRYID): out = SPropValue::Binary(PR_STORE_ENTRYID, ctx_.storeEntryId); return true;
        case PROP_ID(PR_STORE_RECORD_KEY):
            out = SPropValue::Binary(PR_STORE_RECORD_KEY, ctx_.file->RecordKey());
            return true;
        case PROP_ID(PR_PARENT_ENTRYID):
            out = SPropValue::Binary(PR_PARENT_ENTRYID, ctx_.file->EntryIdFor(folderNid));
            return true;
        case PROP_ID(PR_HASATTACH): {
            // The message's flags say whether it keeps attachments.
            SPropValue flags;
            found = Stored(PROP_ID(PR_MESSAGE_FLAGS), flags) && flags.type() == PT_LONG;
            if (found) out = SPropValue::Bool(PR_HASATTACH, (flags.Value.l & kFlagHasAttach) != 0);
            return !failed_;
        }
        case PROP_ID(PR_SUBJECT_W): {
            found = Stored(PROP_ID(tag), out);
            if (found) StripSubjectMarker(out);
            return !failed_;
        }
        case PROP_ID(PR_DISPLAY_TO_W):
        case PROP_ID(PR_DISPLAY_CC_W):
        case PROP_ID(PR_DISPLAY_BCC_W): {
            found = Stored(PROP_ID(tag), out);
            if (!found && !failed_) {
                const ULONG type = PROP_ID(tag) == PROP_ID(PR_DISPLAY_TO_W)   ? MAPI_TO
                                   : PROP_ID(tag) == PROP_ID(PR_DISPLAY_CC_W) ? MAPI_CC
                                                                               : MAPI_BCC;
                std::u16string line;
                found = RecipientLine(type, line);
                if (found) out = SPropValue::Unicode(CHANGE_PROP_TYPE(tag, PT_UNICODE), line);
            }
            return !failed_;
        }
        default: found = Stored(PROP_ID(tag), out); return !failed_;
        }
    }

private:
    // A stored value: the table's cell where the row has one, else the message's own.
    bool Stored(ULONG propId, SPropValue& out) {
        PstRawValue raw;
        const auto id = static_cast<std::uint16_t>(propId);
        PstFound found = table_.Cell(at_, id, raw);
        if (found == PstFound::Absent)
            if (const PstPropContext* pc = Message()) found = pc->Find(id, raw);
        if (found == PstFound::Damaged) failed_ = true;
        if (found != PstFound::Present) return false;
        return DecodeStoreValue(PROP_TAG(raw.type, propId), reinterpret_cast<const BYTE*>(raw.bytes.data()),
                                raw.bytes.size(), cp_, out);
    }

    const PstPropContext* Message() {
        if (!message_ && !failed_) {
            PstNodeRef node;
            message_.emplace();
            if (!ctx_.file->Nodes()->FindNode(nid_, node) || !message_->Load(*ctx_.file->Nodes(), node)) failed_ = true;
        }
        return failed_ ? nullptr : &*message_;
    }

    // "To", "Cc" or "Bcc" line from the message's recipients of one type; false when the
    // message keeps no recipients list.
    bool RecipientLine(ULONG type, std::u16string& line) {
        const PstPropContext* pc = Message();
        if (!pc) return false;
        const auto sub = pc->Heap().Subnodes().find(kRecipientTable);
        if (sub == pc->Heap().Subnodes().end()) return false;
        PstTableContext recipients;
        std::string why;
        if (!recipients.Load(*ctx_.file->Nodes(), sub->second, why)) {
            failed_ = true;
            return false;
        }
        for (std::size_t r = 0; r < recipients.RowCount(); ++r) {
            PstRawValue t, name;
            if (recipients.Cell(r, PROP_ID(PR_RECIPIENT_TYPE), t) != PstFound::Present || t.bytes.size() < 4 ||
                (static_cast<std::uint8_t>(t.bytes[0]) & 0xF) != type)
                continue;
            const PstFound named = recipients.Cell(r, PROP_ID(PR_DISPLAY_NAME_W), name);
            if (named == PstFound::Damaged) failed_ = true;
            if (named != PstFound::Present) continue;
            SPropValue v;
            if (!DecodeStoreValue(PROP_TAG(name.type, PROP_ID(PR_DISPLAY_NAME_W)),
                                  reinterpret_cast<const BYTE*>(name.bytes.data()), name.bytes.size(), cp_, v))
                continue;
            if (!line.empty()) line += u"; ";
            line += PropValueText(v);
        }
        return true;
    }

    const PstStoreContext& ctx_;
    const PstTableContext& table_;
    std::size_t at_;
    std::uint32_t nid_;
    LazyCodePage cp_;
    std::optional<PstPropContext> message_;
    bool failed_ = false;
};

class ContentsRows final : public TableRowSource {
public:
    ContentsRows(PstContextPtr ctx, std::uint32_t folderNid, std::unique_ptr<PstTableContext> table,
                 std::vector<std::size_t> order, std::function<std::unique_ptr<TableRowSource>()> perMessage)
        : ctx_(std::move(ctx)), folderNid_(folderNid), table_(std::move(table)), order_(std::move(order)),
          makePerMessage_(std::move(perMessage)) {}

    ULONG RowCount() override { return static_cast<ULONG>(order_.size()); }

    void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) override {
        out.clear();
        if (row >= order_.size()) return PerMessage().ReadRow(row, tags, out);
        const std::size_t at = order_[row];
        RowReader reader(*ctx_, *table_, at, table_->RowId(at));
        out.reserve(tags.size());
        for (ULONG tag : tags) {
            SPropValue v;
            bool found = false;
            if (!reader.Answer(tag, row, folderNid_, v, found)) {
                // The message's own properties cannot be read here: let the message answer.
                out.clear();
                return PerMessage().ReadRow(row, tags, out);
            }
            out.push_back(AnswerColumn(tag, found, v));
        }
    }

private:
    TableRowSource& PerMessage() {
        if (!perMessage_) perMessage_ = makePerMessage_();
        return *perMessage_;
    }

    PstContextPtr ctx_;
    std::uint32_t folderNid_;
    std::unique_ptr<PstTableContext> table_;
    std::vector<std::size_t> order_;  // table row of each listed row
    std::function<std::unique_ptr<TableRowSource>()> makePerMessage_;
    std::unique_ptr<TableRowSource> perMessage_;  // made when a row needs it
};

}  // namespace

std::unique_ptr<TableRowSource> MakePstContentsRows(PstContextPtr ctx, std::uint32_t folderNid,
                                                    std::function<std::unique_ptr<TableRowSource>()> perMessage,
                                                    std::string& why) {
    const PstNodeReader* nodes = ctx->file->Nodes();
    if (!nodes) {
        why = "the store's nodes are not read directly";
        return nullptr;
    }
    std::vector<std::uint32_t> messages;
    PstNodeRef node;
    if (!nodes->Children(folderNid, NID_TYPE_NORMAL_MESSAGE, messages)) {
        why = "the store's node tree cannot be read";
        return nullptr;
    }
    if (!nodes->FindNode((folderNid & ~NID_TYPE_MASK) | kContentsTable, node)) {
        why = "the folder has no contents table";
        return nullptr;
    }
    auto table = std::make_unique<PstTableContext>();
    if (!table->Load(*nodes, node, why)) return nullptr;
    // The rows in the order of the folder's messages, one row for each message.
    std::vector<std::pair<std::uint32_t, std::size_t>> byNid;
    for (std::size_t r = 0; r < table->RowCount(); ++r) byNid.emplace_back(table->RowId(r), r);
    std::sort(byNid.begin(), byNid.end());
    if (byNid.size() != messages.size()) {
        why = "the contents table has " + std::to_string(byNid.size()) + " rows for " + std::to_string(messages.size()) +
              " messages";
        return nullptr;
    }
    std::vector<std::size_t> order;
    order.reserve(byNid.size());
    for (std::size_t i = 0; i < byNid.size(); ++i) {
        if (byNid[i].first != messages[i]) {
            why = "the contents table's rows are not the folder's messages";
            return nullptr;
        }
        order.push_back(byNid[i].second);
    }
    return std::make_unique<ContentsRows>(std::move(ctx), folderNid, std::move(table), std::move(order),
                                          std::move(perMessage));
}
