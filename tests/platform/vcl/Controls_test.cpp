// Controls, forms and the application over the headless widget set: message dispatch, handles,
// alignment, mouse and keys, focus, modal forms answered by the hook, the loop, timers.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinFrames.h"
#include "platform/win/WinError.h"

namespace {

inline constexpr UINT WM_PING = WM_USER + 42;

class TProbe : public TCustomControl {
    QUILLORA_COMPONENT(TProbe)
    QUILLORA_MESSAGES()
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> handled;
    std::vector<UINT> defaulted;
    int pingX = 0;
    void DefaultHandler(TMessage& m) override {
        defaulted.push_back(m.Msg);
        TCustomControl::DefaultHandler(m);
    }

protected:
    void WMPing(TWMMouse& m) {
        handled.push_back(m.Msg);
        pingX = m.XPos;
        m.Result = 7;
    }
    void CMTextChanged(TMessage& m) {
        handled.push_back(m.Msg);
        InheritedMessage(TCustomControl::ClassMessages(), m);
    }
};

const TMetaClass& TProbe::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TProbe>("TProbe", &TCustomControl::StaticClass());
    return meta;
}

const TMessageTable& TProbe::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PING, TProbe::WMPing),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TProbe::CMTextChanged),
    });
    return table;
}

class TTestLabel : public TGraphicControl {
    QUILLORA_COMPONENT(TTestLabel)
public:
    explicit TTestLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 13); }
    TWinControl* FocusControl = nullptr;

protected:
    // Alt + the accelerator focuses the associated control.
    void CMDialogChar(TMessage& m) {
        const WideString t = Caption();
        const auto amp = t.find(u'&');
        if (FocusControl && amp != WideString::npos && amp + 1 < t.size() &&
            std::towupper(t[amp + 1]) == std::towupper(static_cast<wint_t>(m.WParam))) {
            FocusControl->SetFocus();
            m.Result = 1;
        }
    }
    QUILLORA_MESSAGES()
};

const TMetaClass& TTestLabel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTestLabel>("TTestLabel", &TGraphicControl::StaticClass(), [](TClassBuilder<TTestLabel>& b) {
        b.Field("FocusControl", &TTestLabel::FocusControl);
    });
    return meta;
}

const TMessageTable& TTestLabel::ClassMessages() {
    static const TMessageTable table(&TGraphicControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TTestLabel::CMDialogChar),
    });
    return table;
}

class TTestPanel : public TCustomControl {
    QUILLORA_COMPONENT(TTestPanel)
public:
    explicit TTestPanel(TComponent* owner) : TCustomControl(owner) {
        SetBounds(0, 0, 185, 41);
        controlStyle_ << csAcceptsControls;
    }
};

const TMetaClass& TTestPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTestPanel>("TTestPanel", &TCustomControl::StaticClass());
    return meta;
}

class TDemoForm : public TForm {
    QUILLORA_COMPONENT(TDemoForm)
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner) {}
    void OkClick(TObject* sender) { clicks.push_back(sender); }
    void FormCreate(TObject*) { ++created; }
    std::vector<TObject*> clicks;
    int created = 0;
};

const TMetaClass& TDemoForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDemoForm>("TDemoForm", &TForm::StaticClass(), [](TClassBuilder<TDemoForm>& b) {
        b.Method("OkClick", &TDemoForm::OkClick);
        b.Method("FormCreate", &TDemoForm::FormCreate);
    });
    return meta;
}

const char* const kDemoForm = R"(object DemoForm: TDemoForm
  Left = 10
  Top = 20
  Width = 400
  Height = 300
  Caption = 'Demo'
  Color = clWindow
  ActiveControl = Edit2
  KeyPreview = True
  Position = poScreenCenter
  OnCreate = FormCreate
  object Top: TTestPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    Align = alTop
    TabOrder = 1
    object NameLabel: TTestLabel
      Left = 8
      Top = 8
      Width = 40
      Height = 13
      Caption = '&Name'
      FocusControl = Edit2
      OnClick = OkClick
    end
  end
  Font.Name = 'Verdana'
  Font.Style = [fsBold]
  object Body: TTestPanel
    Left = 0
    Top = 40
    Width = 400
    Height = 260
    Align = alClient
    ParentColor = False
    Color = clBtnFace
    TabOrder = 0
    object Edit1: TProbe
      Left = 8
      Top = 8
      Width = 100
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      TabOrder = 0
      TabStop = True
    end
    object Edit2: TProbe
      Left = 8
      Top = 40
      Width = 100
      Height = 21
      TabOrder = 1
      TabStop = True
    end
  end
  object Ticker: TTimer
    Enabled = False
    Interval = 50
  end
end
)";

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterClasses({&TProbe::StaticClass(), &TTestLabel::StaticClass(), &TTestPanel::StaticClass(),
                         &TDemoForm::StaticClass(), &TTimer::StaticClass()});
        RegisterFormResource("TDemoForm", kDemoForm);
        // Start from an empty queue and a running application, whatever ran before.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        Application->Initialize();
    }
};

TEST_F(ControlsTest, PerformGoesThroughAReplacedWindowProcToTheHandlerTable) {
    TProbe probe(nullptr);
    std::vector<UINT> hooked;
    auto inherited = probe.WindowProc;
    probe.WindowProc = [&](TMessage& m) {
        hooked.push_back(m.Msg);
        if (m.Msg == WM_PING && m.WParam == 99) {  // the hook answers this one itself
            m.Result = -1;
            return;
        }
        inherited(m);
    };
    EXPECT_EQ(probe.Perform(WM_PING, 0, MAKELPARAM(12, 5)), 7);
    EXPECT_EQ(probe.pingX, 12);
    EXPECT_EQ(probe.Perform(WM_PING, 99, 0), -1);
    EXPECT_EQ(probe.handled, std::vector<UINT>{WM_PING});
    // No handler: DefaultHandler; the text messages' default keeps the text.
    probe.SetText(u"hello");
    EXPECT_EQ(probe.Text(), u"hello");
    EXPECT_NE(std::find(probe.defaulted.begin(), probe.defaulted.end(), WM_SETTEXT), probe.defaulted.end());
    EXPECT_EQ(probe.handled.back(), CM_TEXTCHANGED);
    EXPECT_GE(std::count(hooked.begin(), hooked.end(), WM_GETTEXTLENGTH), 1);
}

TEST_F(ControlsTest, HandlesExistFromCreationAndTextSurvivesRecreation) {
    TForm form(nullptr);
    auto* probe = new TProbe(&form);
    probe->SetParent(&form);
    probe->SetText(u"kept");
    EXPECT_FALSE(probe->HandleAllocated());
    HWND h = probe->Handle();
    EXPECT_TRUE(form.HandleAllocated());
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(FindControl(h), probe);
    EXPECT_EQ(SendMessageW(h, WM_PING, 0, MAKELPARAM(3, 0)), 7);
    const WideString changed = u"set through the handle";
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(changed.c_str()));
    EXPECT_EQ(probe->Text(), changed);
    char buffer[64];
    EXPECT_EQ(SendMessageA(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 22);
    EXPECT_STREQ(buffer, "set through the handle");

    probe->RecreateWnd();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_NE(probe->WindowHandle(), h);
    EXPECT_EQ(probe->Text(), changed);
    delete probe;
    EXPECT_EQ(form.ControlCount(), 0);
}

TEST_F(ControlsTest, SetWindowPosMovesSizesAndOrdersAsItsFlagsSay) {
    TForm form(nullptr);
    auto* a = new TProbe(&form);
    auto* b = new TProbe(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    a->SetBounds(1, 2, 30, 40);
    const HWND h = a->Handle();
    EXPECT_TRUE(SetWindowPos(h, HWND_TOP, 5, 6, 0, 0, SWP_NOSIZE | SWP_FRAMECHANGED));
    EXPECT_EQ(a->BoundsRect(), TRect(5, 6, 35, 46));
    EXPECT_EQ(form.Controls(form.ControlCount() - 1), a) << "HWND_TOP puts it first";
    EXPECT_TRUE(SetWindowPos(h, HWND_BOTTOM, 0, 0, 50, 60, SWP_NOMOVE));
    EXPECT_EQ(a->BoundsRect(), TRect(5, 6, 55, 66));
    EXPECT_EQ(form.Controls(0), a);
    EXPECT_TRUE(SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW));
    EXPECT_FALSE(a->Visible());
    EXPECT_TRUE(RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW));

    delete a;
    SetLastError(0);
    EXPECT_FALSE(SetWindowPos(h, HWND_TOP, 0, 0, 1, 1, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE));
}

TEST_F(ControlsTest, AlignmentOrderAnchorsAndConstraints) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto make = [&](TAlign a, int w, int h) {
        auto* c = new TTestPanel(&form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(&form);
        c->SetAlign(a);
        return c;
    };
    TControl* client = make(alClient, 10, 10);
    TControl* top = make(alTop, 10, 30);
    TControl* bottom = make(alBottom, 10, 20);
    TControl* left = make(alLeft, 50, 10);
    TControl* right = make(alRight, 40, 10);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 180, 300, 200));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 180));
    EXPECT_EQ(right->BoundsRect(), Rect(260, 30, 300, 180));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 260, 180));

    // A second top control placed below the first stacks under it.
    TControl* top2 = make(alNone, 10, 10);
    top2->SetTop(35);
    top2->SetAlign(alTop);
    EXPECT_EQ(top2->BoundsRect(), Rect(0, 30, 300, 40));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 40, 260, 180));

    auto* anchored = new TTestPanel(&form);
    anchored->SetParent(&form);
    anchored->SetBounds(200, 150, 50, 10);
    anchored->SetAnchors({akRight, akBottom});
    auto* stretched = new TTestPanel(&form);
    stretched->SetParent(&form);
    stretched->SetBounds(10, 10, 250, 10);
    stretched->SetAnchors({akLeft, akTop, akRight});
    form.SetBounds(0, 0, 400, 260);
    EXPECT_EQ(anchored->BoundsRect(), Rect(300, 210, 350, 220));
    EXPECT_EQ(stretched->Width(), 350);
    EXPECT_EQ(client->BoundsRect(), Rect(50, 40, 360, 240));

    left->Constraints()->SetMaxWidth(30);
    EXPECT_EQ(left->Width(), 30);
    left->SetWidth(80);
    EXPECT_EQ(left->Width(), 30);
}

TEST_F(ControlsTest, ColourFollowsTheParentUntilSetAndMouseReachesGraphicChildren) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    auto* label = new TTestLabel(panel);
    label->SetParent(panel);
    label->SetBounds(10, 10, 40, 13);
    form.SetColor(0x123456);
    EXPECT_EQ(panel->Color(), 0x123456);
    EXPECT_EQ(label->Color(), 0x123456);
    panel->SetColor(0x00FF00);
    EXPECT_FALSE(panel->ParentColor());
    EXPECT_EQ(label->Color(), 0x00FF00);
    form.SetColor(0x0000FF);
    EXPECT_EQ(panel->Color(), 0x00FF00);
    // Fonts the same way.
    form.Font()->SetName(u"Verdana");
    EXPECT_EQ(label->Font()->Name(), u"Verdana");
    panel->Font()->SetHeight(-16);
    EXPECT_FALSE(panel->ParentFont());
    EXPECT_EQ(label->Font()->Height(), -16);
    form.Font()->SetName(u"Arial");
    EXPECT_EQ(panel->Font()->Name(), u"Verdana");
    EXPECT_TRUE(label->ParentFont());

    int clicks = 0;
    std::vector<std::pair<int, int>> downs;
    label->OnClick = [&](TObject*) { ++clicks; };
    label->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.emplace_back(x, y); };
    int entered = 0;
    label->OnMouseEnter = [&](TObject*) { ++entered; };
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(15, 12));
    EXPECT_EQ(entered, 1);
    panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
    panel->Perform(WM_LBUTTONUP, 0, MAKELPARAM(16, 12));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], std::make_pair(5, 2));
    // Released outside: captured, but no click.
    panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
    panel->Perform(WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

// The capture rules a person relies on: a click fires on the release, the capture is gone
// before the click's handler runs, and a modal loop, message pumping, hiding, disabling or
// destroying the captured control cancels it, so the release that follows clicks nothing.
TEST_F(ControlsTest, CaptureEndsBeforeTheClickAndWheneverAModalLoopOrTheControlGoes) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    auto* button = new TTestLabel(panel);  // a graphic control, as the styled buttons are
    button->SetParent(panel);
    button->SetBounds(10, 10, 40, 13);
    auto press = [&] { panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12)); };
    auto release = [&] { panel->Perform(WM_LBUTTONUP, 0, MAKELPARAM(16, 12)); };
    int clicks = 0;
    int boxes = 0;
    TScopedModalHook hook([&](TModalRequest&) {
        ++boxes;
        EXPECT_EQ(GetCaptureControl(), nullptr) << "a modal loop ran with the mouse still captured";
        return IDOK;
    });

    // The click runs a modal loop: the capture is already gone.
    button->OnClick = [&](TObject*) {
        ++clicks;
        EXPECT_EQ(GetCaptureControl(), nullptr) << "the click ran with the mouse still captured";
        MessageBoxW(nullptr, u"Text", u"Caption", MB_OK);
    };
    press();
    EXPECT_EQ(GetCaptureControl(), button);
    release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);

    // Each way of cancelling: the press is forgotten, the release clicks nothing, nothing keeps
    // the mouse, and the next press and release click again.
    const std::vector<std::pair<const char*, std::function<void()>>> cancels = {
        {"a modal loop from the press", [&] { MessageBoxW(nullptr, u"Text", u"Caption", MB_OK); }},
        {"message pumping", [&] { Application->ProcessMessages(); }},
        {"hiding the control", [&] { button->SetVisible(false); }},
        {"disabling the control", [&] { button->SetEnabled(false); }},
        {"hiding its parent", [&] { panel->SetVisible(false); }},
    };
    button->OnClick = [&](TObject*) { ++clicks; };
    for (const auto& [what, cancel] : cancels) {
        clicks = 0;
        press();
        ASSERT_EQ(GetCaptureControl(), button) << what;
        cancel();
        EXPECT_EQ(GetCaptureControl(), nullptr) << what;
        release();
        EXPECT_EQ(clicks, 0) << what << ": the release after a cancel clicked";
        button->SetVisible(true);
        button->SetEnabled(true);
        panel->SetVisible(true);
        press();
        release();
        EXPECT_EQ(clicks, 1) << what << ": the next click was lost";
    }

    press();
    delete button;
    EXPECT_EQ(GetCaptureControl(), nullptr) << "a destroyed control kept the capture";
    release();
}

TEST_F(ControlsTest, FormFileBuildsControlsWithReferencesEventsAndFocus) {
    auto* form = new TDemoForm(Application);
    form->InitForm();
    EXPECT_EQ(form->created, 1);
    EXPECT_EQ(form->Caption(), u"Demo");
    auto* body = dynamic_cast<TTestPanel*>(form->FindComponent("Body"));
    auto* top = dynamic_cast<TTestPanel*>(form->FindComponent("Top"));
    auto* edit1 = dynamic_cast<TProbe*>(form->FindComponent("Edit1"));
    auto* edit2 = dynamic_cast<TProbe*>(form->FindComponent("Edit2"));
    auto* label = dynamic_cast<TTestLabel*>(form->FindComponent("NameLabel"));
    auto* ticker = dynamic_cast<TTimer*>(form->FindComponent("Ticker"));
    ASSERT_TRUE(body && top && edit1 && edit2 && label && ticker);
    EXPECT_EQ(label->Parent(), top);
    EXPECT_EQ(edit2->Parent(), body);
    EXPECT_EQ(label->FocusControl, edit2);
    EXPECT_EQ(form->ActiveControl(), edit2);
    EXPECT_EQ(body->TabOrder(), 0);
    EXPECT_EQ(top->TabOrder(), 1);
    EXPECT_EQ(body->Color(), static_cast<TColor>(0xFF00000F));
    EXPECT_EQ(top->Color(), static_cast<TColor>(0xFF000005));  // clWindow from the form
    EXPECT_EQ(edit1->Font()->Name(), u"Verdana");
    EXPECT_TRUE(edit1->Font()->Style().Contains(fsBold));
    // Written back: only what differs from the defaults, as read.
    const std::string text = ComponentToText(form);
    EXPECT_NE(text.find("  ActiveControl = Edit2\n"), std::string::npos);
    EXPECT_EQ(text.find("Visible"), std::string::npos);
    EXPECT_EQ(text.find("ParentColor = False\n    Color = clBtnFace"), std::string::npos);
    EXPECT_NE(text.find("    ParentColor = False\n"), std::string::npos);
    EXPECT_NE(text.find("OnClick = OkClick"), std::string::npos);
    EXPECT_NE(text.find("  Font.Name = 'Verdana'\n"), std::string::npos);
    EXPECT_EQ(text.find("    Font.Name"), std::string::npos);  // children follow the form's font

    form->Show();
    EXPECT_EQ(form->Left(), (1024 - 400) / 2);
    EXPECT_TRUE(edit2->Focused());
    // Tab moves on in tab order: Edit2 is last, so the next is Edit1 (Top has no tab stop).
    std::vector<std::string> events;
    edit1->OnEnter = [&](TObject*) { events.push_back("enter1"); };
    edit2->OnExit = [&](TObject*) { events.push_back("exit2"); };
    edit2->Perform(WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(edit1->Focused());
    EXPECT_EQ(events, (std::vector<std::string>{"exit2", "enter1"}));
    EXPECT_EQ(form->ActiveControl(), edit1);
    // Alt+N finds the label's accelerator.
    edit1->Perform(WM_SYSCHAR, u'n', 1 << 29);
    EXPECT_TRUE(edit2->Focused());
    // Key preview: the form sees keys first and may swallow them.
    std::vector<WORD> formKeys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        formKeys.push_back(key);
        if (key == 'X') key = 0;
    };
    std::vector<WORD> editKeys;
    edit2->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { editKeys.push_back(key); };
    edit2->Perform(WM_KEYDOWN, 'A', 0);
    edit2->Perform(WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(formKeys, (std::vector<WORD>{'A', 'X'}));
    EXPECT_EQ(editKeys, std::vector<WORD>{'A'});
    // A label click reaches the form's method.
    top->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    top->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(form->clicks, std::vector<TObject*>{label});
    delete form;
}

TEST_F(ControlsTest, ShowModalIsAnsweredByTheHookAndMessageBoxesToo) {
    TForm form(nullptr);
    form.SetCaption(u"Question");
    std::vector<WideString> asked;
    {
        TScopedModalHook hook([&](TModalRequest& r) {
            asked.push_back(r.What == TModalRequest::ModalForm ? u"form:" + r.Caption : u"box:" + r.Text);
            if (r.What == TModalRequest::ModalForm) {
                EXPECT_TRUE(r.Form->Visible());
                EXPECT_TRUE(r.Form->Modal());
                return mrOk;
            }
            return IDNO;
        });
        EXPECT_EQ(form.ShowModal(), mrOk);
        EXPECT_FALSE(form.Visible());
        EXPECT_EQ(Application->MessageBox(u"Delete?", u"Confirm", MB_YESNO), IDNO);
    }
    EXPECT_EQ(asked, (std::vector<WideString>{u"form:Question", u"box:Delete?"}));
    // No hook and no display: refused, never blocked.
    EXPECT_THROW(form.ShowModal(), EInvalidOperation);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_OK), 0);

    // A hook that lets the loop run: the form closes itself from a posted message; CloseQuery
    // may veto once.
    int queries = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    TScopedModalHook hook([&](TModalRequest& r) {
        PostMessageW(r.Form->WindowHandle(), WM_CLOSE, 0, 0);
        PostMessageW(r.Form->WindowHandle(), WM_CLOSE, 0, 0);
        return 0;
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST_F(ControlsTest, TheLoopDeliversPostsFromThreadsTimersAndReportsExceptions) {
    Application->Initialize();
    auto* form = new TForm(Application);
    form->HandleNeeded();
    std::vector<WPARAM> got;
    auto inherited = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_PING) {
            got.push_back(m.WParam);
            if (m.WParam == 13) throw EConvertError("unlucky");
            return;
        }
        inherited(m);
    };
    std::vector<std::string> errors;
    Application->OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    std::thread([h = form->WindowHandle()] {
        for (WPARAM i = 10; i < 15; ++i) PostMessageW(h, WM_PING, i, 0);
    }).join();
    Application->ProcessMessages();
    EXPECT_EQ(got, (std::vector<WPARAM>{10, 11, 12, 13, 14}));
    EXPECT_EQ(errors, std::vector<std::string>{"unlucky"});

    auto* timer = new TTimer(form);
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) {
        if (++ticks == 3) Application->Terminate();
    });
    bool idled = false;
    Application->OnIdle = [&](TObject*, bool&) { idled = true; };
    const auto start = std::chrono::steady_clock::now();
    while (!Application->Terminated() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        Application->HandleMessage();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(idled);
    Application->OnIdle = nullptr;
    Application->OnException = nullptr;
    Application->Initialize();
    delete form;
}

}  // namespace
