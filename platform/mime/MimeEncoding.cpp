#include "platform/mime/MimeEncoding.h"

#include "platform/mime/GMimeSupport.h"

std::string DecodeBase64Bytes(std::string_view text) {
    mime_detail::EnsureGMime();
    std::string out(text.size() * 3 / 4 + 3, '\0');  // decoding never grows the text
    int state = 0;
    guint32 save = 0;
    const size_t n = g_mime_encoding_base64_decode_step(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                                        reinterpret_cast<unsigned char*>(out.data()), &state, &save);
    out.resize(n);
    return out;
}
