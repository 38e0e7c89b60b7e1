// Reads a store file made of the fuzzed bytes through the store's own node reader, as lists
// do: every node's property context and table, every cell of every table row.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/mapi/PstTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const struct Scratch {
        std::string path = "/tmp/quillora_pst_nodes_fuzz_" + std::to_string(::getpid()) + ".pst";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    if (FILE* f = std::fopen(scratch.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    std::string why;
    const auto reader = PstNodeReader::Open(scratch.path, why);
    if (!reader) return 0;
    std::vector<std::uint32_t> folders;
    reader->Children(0x122, 0x02, folders);
    folders.push_back(0x122);
    int budget = 64;
    for (std::uint32_t folder : folders) {
        std::vector<std::uint32_t> messages;
        reader->Children(folder, 0x04, messages);
        for (std::uint32_t nid : {folder, (folder & ~0x1Fu) | 0x0D, (folder & ~0x1Fu) | 0x0E}) {
            PstNodeRef node;
            if (!reader->FindNode(nid, node) || --budget < 0) continue;
            PstPropContext pc;
            PstRawValue v;
            if (pc.Load(*reader, node))
                for (std::uint16_t id : {0x0037, 0x3001, 0x0E02, 0x0E07}) pc.Find(id, v);
            PstTableContext table;
            if (!table.Load(*reader, node, why)) continue;
            for (std::size_t r = 0; r < table.RowCount() && r < 256; ++r)
                for (std::uint16_t id : {0x0037, 0x0042, 0x0C1A, 0x0E06, 0x0E07, 0x3001, 0x67F2}) table.Cell(r, id, v);
        }
        for (std::size_t i = 0; i < messages.size() && --budget >= 0; ++i) {
            PstNodeRef node;
            PstPropContext pc;
            PstRawValue v;
            if (!reader->FindNode(messages[i], node) || !pc.Load(*reader, node)) continue;
            pc.Find(0x0037, v);
            const auto recipients = pc.Heap().Subnodes().find(0x692);
            PstTableContext table;
            if (recipients != pc.Heap().Subnodes().end() && table.Load(*reader, recipients->second, why))
                for (std::size_t r = 0; r < table.RowCount() && r < 64; ++r) table.Cell(r, 0x3001, v);
        }
    }
    return 0;
}
