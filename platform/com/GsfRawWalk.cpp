#include "platform/com/GsfRawWalk.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

namespace {

std::int64_t Walk(GsfInfile* dir) {
    std::int64_t total = 0;
    const int n = gsf_infile_num_children(dir);
    for (int i = 0; i < n; ++i) {
        GsfInput* child = gsf_infile_child_by_index(dir, i);
        if (!child) continue;
        if (GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0) {
            total += Walk(GSF_INFILE(child));
        } else {
            gsf_off_t size = gsf_input_size(child);
            if (size > 0 && gsf_input_read(child, static_cast<size_t>(size), nullptr)) total += size;
        }
        g_object_unref(child);
    }
    return total;
}

}  // namespace

std::int64_t GsfRawReadAllStreams(const std::string& path) {
    gsf_init();
    GsfInput* input = gsf_input_stdio_new(path.c_str(), nullptr);
    if (!input) return -1;
    GsfInfile* ole = gsf_infile_msole_new(input, nullptr);
    g_object_unref(input);
    if (!ole) return -1;
    std::int64_t total = Walk(ole);
    g_object_unref(ole);
    return total;
}
