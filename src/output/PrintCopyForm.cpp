#include "output/PrintCopyForm.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/AppLocDB.h"
#include "app/UiHelpers.h"
#include "app/cLogger.h"
#include "controls/styled/RzPageControl.h"
#include "controls/styled/RzStatus.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/win/WinString.h"
#include "ui/IQuilloraProvider.h"

TForm2* Form2 = nullptr;
bool PrintSilent = false;
HDC PrintJobDC = nullptr;

namespace {

std::vector<TMessageAttr*> ChosenMessages(IQuilloraProvider& provider)
{
    MessageAttrDeque list;
    provider.GetMessagesFromList(list, false);
    return {list.begin(), list.end()};
}

HWND OwnerWindow(IQuilloraProvider& provider)
{
    TForm* owner = provider.GetOwnerForm();
    return owner ? owner->WindowHandle() : nullptr;
}

void InfoBox(HWND owner, const WideString& text, int caption, UINT icon = MB_ICONINFORMATION)
{
    MessageBoxW(owner, text.c_str(), GetUiString(caption).c_str(), MB_OK | icon);
}

// A run's window, owned by the main window and freed when the run is over.
std::unique_ptr<TForm2> NewRunWindow(IQuilloraProvider& provider, int caption)
{
    TComponent* owner = provider.GetOwnerForm();
    auto window = std::make_unique<TForm2>(owner ? owner : static_cast<TComponent*>(Application));
    window->InitForm();
    window->SetCaption(GetUiString(caption));
    return window;
}

// Answers the print dialog; false when there is nothing to print on. A silent print without a
// printer says so: the command would otherwise do nothing at all.
bool ChooseJob(IQuilloraProvider& provider, bool showDialog, HDC& dc)
{
    switch (ChoosePrintJob(!showDialog, dc)) {
    case TPrintChoice::Chosen:
        return true;
    case TPrintChoice::NoPrinter:
        InfoBox(OwnerWindow(provider), kNoPrinterText, 1109);
        return false;
    case TPrintChoice::Cancelled:
        break;
    }
    return false;
}

// While a silent print runs, the program's windows take no input, as under a modal window:
// the run reads the listed messages between its turns of the message loop, and a folder click,
// Refresh, Delete, Search or closing the window would free them under it.
class WindowsDisabled {
public:
    WindowsDisabled()
    {
        if (!Screen) return;
        for (TCustomForm* form : Screen->AllForms()) {
            if (!form->Enabled()) continue;
            form->SetEnabled(false);
            disabled_.push_back(form);
        }
    }
    ~WindowsDisabled()
    {
        for (TCustomForm* form : disabled_) {
            // Only windows that still exist come back.
            if (!Screen) return;
            const auto& forms = Screen->AllForms();
            if (std::find(forms.begin(), forms.end(), form) != forms.end()) form->SetEnabled(true);
        }
    }
    WindowsDisabled(const WindowsDisabled&) = delete;
    WindowsDisabled& operator=(const WindowsDisabled&) = delete;

private:
    std::vector<TCustomForm*> disabled_;
};

}  // namespace

const TMetaClass& TForm2::StaticClass()
{
    static const TMetaClass& meta = DescribeClass<TForm2>("TForm2", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TForm2>& b) {
        b.Method("FormActivate", &TForm2::FormActivate);
        b.Method("tmrTimerOneTimer", &TForm2::tmrTimerOneTimer);
        b.Method("uxCancelClick", &TForm2::uxCancelClick);
    });
    return meta;
}

TForm2::TForm2(TComponent* owner) : IChangeableLangForm(owner) {}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

template <class T>
T* TForm2::Find(const char* name) const
{
    return dynamic_cast<T*>(FindComponent(name));
}

void TForm2::PrintFiles(IQuilloraProvider* provider, bool showDialog)
{
    QUILLORA_TRACE(u"TForm2::PrintFiles");
    if (!provider) return;
    HDC dc = nullptr;
    if (!ChooseJob(*provider, showDialog, dc)) return;
    PrintJob(provider, dc, !showDialog);
}

void TForm2::PrintJob(IQuilloraProvider* provider, HDC dc, bool silent)
{
    if (!provider) {
        if (dc) DeleteDC(dc);
        return;
    }
    PrintSilent = silent;
    PrintJobDC = dc;
    try {
        const std::unique_ptr<TForm2> run = NewRunWindow(*provider, 1105);
        run->m_privider = provider;
        run->m_mode = 2;
        // A silent print runs without showing its window at all; shown and hidden again, the
        // window would end its own modal loop before the timer started the run.
        if (PrintSilent) run->PrintMessages();
        else run->ShowModal();
    } catch (...) {
        if (HDC left = std::exchange(PrintJobDC, nullptr)) DeleteDC(left);
        throw;
    }
    if (HDC left = std::exchange(PrintJobDC, nullptr)) DeleteDC(left);
}

void TForm2::CopyFiles(IQuilloraProvider* provider)
{
    QUILLORA_TRACE(u"TForm2::CopyFiles");
    if (!provider) return;
    const WideString folder = BrowseForFolder(OwnerWindow(*provider));
    if (folder.empty()) return;
    const std::unique_ptr<TForm2> run = NewRunWindow(*provider, 1104);
    run->m_destination = folder;
    run->m_privider = provider;
    run->m_mode = 1;
    run->ShowModal();
}

void TForm2::PrintMessages()
{
    QUILLORA_TRACE(u"TForm2::PrintMessages");
    HDC job = std::exchange(PrintJobDC, nullptr);
    if (!job || !m_privider) return;
    const std::vector<TMessageAttr*> messages = ChosenMessages(*m_privider);
    const std::unique_ptr<IHTMLConverter> converter = CreateHtmlConverter();
    if (!converter) {
        DeleteDC(job);
        InfoBox(WindowHandle(), GetUiString(1108), 1109, MB_ICONERROR);
        return;
    }
    {
        // A shown run window is modal and keeps the others from input itself.
        std::optional<WindowsDisabled> blocked;
        if (!Visible()) blocked.emplace();
        lastRun_ = ::PrintMessages(messages, job, *converter, *this);
    }
    ShowReport(false, PrintSilent);
}

void TForm2::CopyMessages(const WideString& destination)
{
    QUILLORA_TRACE(u"TForm2::CopyMessages");
    if (!m_privider) return;
    lastRun_ = ::CopyMessages(ChosenMessages(*m_privider), destination, *this);
    ShowReport(true, false);
}

void TForm2::ShowReport(bool copy, bool silent)
{
    for (const TRunFailure& f : lastRun_.failures)
        LogPrintf(u"%s: %s", f.message.c_str(), Utf8ToUtf16(f.reason).c_str());
    // A silent print says nothing when everything went well, but never hides a failure.
    if (silent && lastRun_.failures.empty() && (lastRun_.done > 0 || lastRun_.total == 0)) return;
    const WideString text = RunReport(lastRun_, copy);
    if (!text.empty()) InfoBox(Visible() ? WindowHandle() : nullptr, text, copy ? 1067 : 1109);
}

void TForm2::FormActivate(TObject*)
{
    if (m_firstActivation) {
        if (auto* timer = Find<TTimer>("tmrTimerOne")) timer->SetEnabled(true);
    }
    m_firstActivation = false;
}

void TForm2::tmrTimerOneTimer(TObject*)
{
    if (auto* timer = Find<TTimer>("tmrTimerOne")) timer->SetEnabled(false);
    try {
        if (m_mode == 1) CopyMessages(m_destination);
        else if (m_mode == 2) PrintMessages();
    } catch (const std::exception& e) {
        // The window must still close, or its modal loop would never end.
        InfoBox(WindowHandle(), Utf8ToUtf16(e.what()), m_mode == 1 ? 1067 : 1109, MB_ICONERROR);
    }
    Close();
}

void TForm2::uxCancelClick(TObject*) { m_cancel = true; }

void TForm2::Start(int segments, int total)
{
    if (auto* bar = Find<TRzProgressStatus>("uxProgressRz")) {
        bar->SetNumSegments(segments);
        bar->SetTotalParts(static_cast<std::uint32_t>(total));
        bar->SetPartsComplete(0);
    }
}

void TForm2::Step(const WideString& countLine)
{
    if (auto* bar = Find<TRzProgressStatus>("uxProgressRz")) bar->StepIt();
    if (auto* count = Find<TControl>("uxCount")) count->SetText(countLine);
}

bool TForm2::Cancelled()
{
    if (Application) Application->ProcessMessages();
    return m_cancel;
}

void PrintTextRaw(IQuilloraProvider* mainWindow, bool showDialog)
{
    QUILLORA_TRACE(u"PrintTextRaw");
    if (!mainWindow) return;
    HDC dc = nullptr;
    if (!ChooseJob(*mainWindow, showDialog, dc)) return;
    const std::vector<TMessageAttr*> messages = ChosenMessages(*mainWindow);
    const std::unique_ptr<IHTMLConverter> converter = CreateHtmlConverter();
    if (!converter) {
        DeleteDC(dc);
        return;
    }
    // Success shows no box; a job that printed nothing must not look like one that did.
    if (!PrintHeaders(messages, dc, *converter) && !messages.empty())
        InfoBox(OwnerWindow(*mainWindow), GetUiString(1108), 1109);
}

void RegisterForm2()
{
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterRzTabsClasses();
    RegisterClasses({&TTimer::StaticClass(), &TForm2::StaticClass()});
}
