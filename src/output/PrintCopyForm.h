// The print and copy window ("Copying emails"): the main window's print and copy commands make
// one for each run, show it modally, and its timer runs the run once the window is active. It
// shows a bar and a counter line, Cancel stops the run between two messages, and the closing box
// names each message that failed. Also the header print command.
#pragma once

#include "app/IChangeableLangForm.h"
#include "output/PrintCopyRun.h"

class IQuilloraProvider;
class TRzProgressStatus;

class TForm2 : public IChangeableLangForm, private IRunProgress {
    QUILLORA_COMPONENT(TForm2)
public:
    explicit TForm2(TComponent* owner);
    ~TForm2() override;

    // "Print Message...": asks for the printer (showDialog), or takes the default printer
    // silently, and prints the main window's chosen messages, each from a new page. A silent
    // print with no printer says so.
    static void PrintFiles(IQuilloraProvider* provider, bool showDialog);
    // The print run on a printer context already chosen (the run deletes it); silent: no
    // window is shown and the program's windows take no input meanwhile.
    static void PrintJob(IQuilloraProvider* provider, HDC job, bool silent);
    // "Copy to ...": asks for a folder and lets each chosen message copy itself into it.
    static void CopyFiles(IQuilloraProvider* provider);

    // The runs; the timer calls them. PrintMessages takes over PrintJobDC.
    void PrintMessages();
    void CopyMessages(const WideString& destination);
    // What the last run did.
    const TRunResult& LastRun() const { return lastRun_; }

    void FormActivate(TObject* sender);
    void tmrTimerOneTimer(TObject* sender);
    void uxCancelClick(TObject* sender);
    void LanguageChanged() override {}

private:
    // IRunProgress
    void Start(int segments, int total) override;
    void Step(const WideString& countLine) override;
    bool Cancelled() override;

    template <class T>
    T* Find(const char* name) const;
    // The closing box of a run, owned by this window; nothing when no box is due.
    void ShowReport(bool copy, bool silent);

    int m_mode = 0;  // 1 copy, 2 print
    IQuilloraProvider* m_privider = nullptr;
    bool m_firstActivation = true;
    bool m_cancel = false;
    WideString m_destination;
    TRunResult lastRun_;
};

// The window made at start-up with the others; it runs nothing.
extern TForm2* Form2;

// The print job between the print entry and the print run: started without the dialog, and
// the printer context, which the run deletes.
extern bool PrintSilent;
extern HDC PrintJobDC;

// "Print Header...": the header lines of the chosen messages as one text, no box on success.
void PrintTextRaw(IQuilloraProvider* mainWindow, bool showDialog);

// Registers the window's class for its form file.
void RegisterForm2();
