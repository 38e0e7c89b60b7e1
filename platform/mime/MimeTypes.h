// File-name extensions of content types, as the desktop's media-type list gives them.
#pragma once

#include <string>
#include <string_view>

// The usual extension of a content type ("image/png" gives "png"), without the dot; parameters
// after ";" and letter case are ignored. The common types by a table of ours (with the
// extensions desktops expect, "jpg" for image/jpeg), the others from the system's media-type
// list (/etc/mime.types). Empty for an unknown type and for application/octet-stream, which
// names no kind of file.
std::string ExtensionOfContentType(std::string_view contentType);
