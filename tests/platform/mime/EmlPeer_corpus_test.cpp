// The .eml records of converted message pairs against GMime's own reading of the same files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

// After the program's headers: GLib defines TRUE and FALSE as macros.
#include <gmime/gmime.h>

namespace {

namespace fs = std::filesystem;

struct PeerReading {
    std::string subject, from, to;
};

std::string Addresses(GMimeMessage* message, GMimeAddressType type)
{
    InternetAddressList* list = g_mime_message_get_addresses(message, type);
    if (!list || internet_address_list_length(list) == 0) return {};
    char* text = internet_address_list_to_string(list, nullptr, FALSE);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

PeerReading ReadWithGMime(const fs::path& file)
{
    g_mime_init();
    PeerReading r;
    GMimeStream* stream = g_mime_stream_file_open(file.c_str(), "rb", nullptr);
    if (!stream) return r;
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    if (message) {
        const char* subject = g_mime_message_get_subject(message);
        r.subject = subject ? subject : "";
        r.from = Addresses(message, GMIME_ADDRESS_TYPE_FROM);
        r.to = Addresses(message, GMIME_ADDRESS_TYPE_TO);
        g_object_unref(message);
    }
    g_object_unref(parser);
    g_object_unref(stream);
    return r;
}

TEST(EmlPeerCorpus, SubjectSenderAndRecipientsMatchGMime)
{
    QUILLORA_REQUIRE_CORPUS();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    const fs::path folder = testsupport::CorpusDir() / "msg" / "msgconvert-pairs";
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".eml") continue;
        SCOPED_TRACE(entry.path().string());
        MessageEML record;
        ASSERT_TRUE(record.LoadFromFile(Utf8ToUtf16(entry.path().string()), false));
        const PeerReading peer = ReadWithGMime(entry.path());
        EXPECT_EQ(Utf16ToUtf8(record.subject), peer.subject);
        EXPECT_EQ(Utf16ToUtf8(record.from), peer.from);
        EXPECT_EQ(Utf16ToUtf8(record.to), peer.to);
        ++compared;
    }
    EXPECT_EQ(compared, 6);
}

}  // namespace
