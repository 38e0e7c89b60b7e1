// The print and copy runs of the progress window, without the window: each works through the
// chosen messages in order, tells the window after each one, stops between messages when the
// window was cancelled, and reports how many succeeded and which failed and why.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/GdiTypes.h"

class IHTMLConverter;
class TMessageAttr;

// The window's side of a run.
class IRunProgress {
public:
    virtual ~IRunProgress() = default;
    // The bar gets segments LED segments and total parts.
    virtual void Start(int segments, int total) = 0;
    // One message done: step the bar and show the counter line.
    virtual void Step(const WideString& countLine) = 0;
    // Lets pending window messages run; true once Cancel was pressed.
    virtual bool Cancelled() = 0;
};

struct TRunFailure {
    WideString message;  // the message's subject, else its file name
    std::string reason;
};

struct TRunResult {
    int done = 0;   // messages printed or copied
    int total = 0;  // messages chosen
    bool started = false;  // false: nothing to do, or the printer refused the document
    std::vector<TRunFailure> failures;
};

enum class TPrintChoice { Chosen, Cancelled, NoPrinter };

// What the print commands say when there is no printer to print on silently.
inline constexpr char16_t kNoPrinterText[] =
    u"No printer is set up. Choose \"Print Message...\" to print into a PDF file instead.";

// The print commands' dialog: no page ranges and no selection, a context for the chosen printer
// or PDF file in dc. silent: the default printer without asking, NoPrinter when there is none.
TPrintChoice ChoosePrintJob(bool silent, HDC& dc);

// LED segments of the bar for n messages: n, at most 32.
int RunSegments(int n);

// Prints each message from a new page of the printer context, which the run takes over: it
// starts and ends the document and deletes the context. No document is started for no
// messages. Only messages that rendered count as printed.
TRunResult PrintMessages(const std::vector<TMessageAttr*>& messages, HDC printer, IHTMLConverter& converter,
                         IRunProgress& progress);

// Lets each message copy itself into the folder; a message that fails, even by raising an
// error, is reported and the run goes on.
TRunResult CopyMessages(const std::vector<TMessageAttr*>& messages, const WideString& destination, IRunProgress& progress);

// "Print Header...": the header lines of each message (From, To, CC, Subject, Date), each block
// followed by three line feeds.
WideString HeaderPrintText(const std::vector<TMessageAttr*>& messages);
// Prints the header lines as plain text on pages of the printer, which the call takes over like
// PrintMessages does. False when nothing was printed.
bool PrintHeaders(const std::vector<TMessageAttr*>& messages, HDC printer, IHTMLConverter& converter);

// The closing box's text of a run ("%d of %d files printed successfully " or "Files were not
// printed"; copy=true: the copy texts), with a line for each failed message; empty when no box
// is due (nothing was chosen).
WideString RunReport(const TRunResult& result, bool copy);
