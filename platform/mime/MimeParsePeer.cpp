#include "platform/mime/MimeParsePeer.h"

#include "platform/mime/GMimeSupport.h"

using namespace mime_detail;

bool GMimeBareParse(const std::string& path)
{
    EnsureGMime();
    GPtr<GMimeStream> stream(g_mime_stream_file_open(path.c_str(), "rb", nullptr));
    if (!stream) return false;
    GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    return message != nullptr;
}
