// The hand-off of a prepared mail to the desktop's mail program, which opens its compose
// window with everything filled in; the user edits and sends the mail there. It takes the
// record the program's mail senders fill: subject, plain and HTML body, recipients with their
// classes and attachments with their display names, in UTF-16.
//
// The road, first that applies:
// - a mail program whose compose command line is known (the Thunderbird family: "-compose"
//   with an HTML body file; Evolution: a mailto URL with attachments, plain body);
// - a draft message file ("X-Unsent: 1", both bodies as alternatives, attachments under their
//   display names) opened by the desktop's handler for message/rfc822;
// - xdg-email (plain body only: an HTML-only body goes as its words and as an attached page).
// There is no modal wait: the call returns once the mail program has been started and has not
// ended at once with an error.
#pragma once

#include <string>
#include <vector>

#include "platform/mapi/MapiTags.h"
#include "platform/win/WinTypes.h"

inline constexpr ULONG MAPI_ORIG = 0;

inline constexpr ULONG SUCCESS_SUCCESS = 0;
inline constexpr ULONG MAPI_USER_ABORT = 1;
inline constexpr ULONG MAPI_E_FAILURE = 2;

struct MailHandoffRecip {
    WideString name;
    WideString address;
    ULONG recipClass = MAPI_TO;  // originators are not addressed
};

struct MailHandoffFile {
    WideString path;
    WideString displayName;  // the file's own name when empty
};

struct MailHandoffMessage {
    WideString subject;
    WideString noteText;  // the plain-text body
    WideString htmlText;  // the HTML body
    std::vector<MailHandoffRecip> recips;
    std::vector<MailHandoffFile> files;
    // A folder of the sender's own where the hand-off writes what it needs (the HTML body
    // file, copies of attachments under their display names, the draft).
    WideString workFolder;
};

// The desktop entry that handles mailto links; empty fields when none is registered.
struct MailtoHandler {
    std::string desktopId;  // "thunderbird.desktop"
    std::string exec;       // its Exec line as written
};

// How a mail program is told to compose, by its desktop entry.
enum class ComposeCommand { None, ComposeSwitch, MailtoUrl };
ComposeCommand ComposeCommandOf(const MailtoHandler& handler);

// What the hand-off asks of the desktop; tests replace it.
class MailDesktop {
public:
    virtual ~MailDesktop() = default;
    virtual MailtoHandler MailtoHandlerEntry();
    // The Exec line of the default application for a media type; empty when there is none.
    virtual std::string DefaultExecFor(const std::string& mediaType);
    virtual std::string FindProgram(const std::string& name);
    // Starts the program and returns once it runs; false when it could not be started or ended
    // at once with an error.
    virtual bool Launch(const std::vector<std::string>& argv);
};

// The desktop of this session (xdg-mime, the desktop entries, PATH).
MailDesktop& SessionMailDesktop();

// The arguments of a desktop entry's Exec line: quoting undone, field codes dropped except
// those standing for files or URLs, which become `target` (nothing when it is empty).
std::vector<std::string> ExecArguments(const std::string& exec, const std::string& target);

// True when a mail program can be reached: a mailto handler or a handler of message files
// (for the draft) is registered.
bool MailHandoffAvailable(MailDesktop& desktop = SessionMailDesktop());

// Opens the compose window. SUCCESS_SUCCESS once a mail program was started; MAPI_E_FAILURE
// when none could be (nothing installed, a file that could not be written, a failed start).
ULONG MailHandoff(const MailHandoffMessage& message, MailDesktop& desktop = SessionMailDesktop());
