// Transfer encodings outside a message, by the same decoder the messages use.
#pragma once

#include <string>
#include <string_view>

// Decodes base64 text; characters outside the alphabet (line breaks, spaces) are skipped.
std::string DecodeBase64Bytes(std::string_view text);
