// The application over the Qt widget set, offscreen: forms shown as real windows, Qt input as
// window messages through WindowProc, painting through WM_PAINT on a device context, the loop
// with posts from other threads, and ShowModal answered by the modal hook.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QWidget* WidgetOf(TWinControl* control) { return dynamic_cast<QWidget*>(control->Peer()); }

class QtApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The gui label's environment sets this too; a run by hand or by name may not have it.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

// A custom control that paints through its WM_PAINT hook, as a control handling WM_PAINT does.
struct Painted {
    explicit Painted(TCustomControl* c) : control(c) {
        auto inherited = c->WindowProc;
        c->WindowProc = [this, inherited](TMessage& m) {
            inherited(m);
            if (m.Msg == WM_PAINT && m.WParam) {
                ++paints;
                HDC dc = reinterpret_cast<HDC>(m.WParam);
                HBRUSH red = CreateSolidBrush(0x0000FF);
                const RECT r{0, 0, control->Width(), control->Height() / 2};
                FillRect(dc, &r, red);
                DeleteObject(red);
            }
        };
    }
    TCustomControl* control;
    int paints = 0;
};

// Controls that paint in Paint on their canvas: windowed and windowless.
class TSwatch : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
};

class TDot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clYellow);
        Canvas()->FillRect(ClientRect());
    }
};

TEST_F(QtApplicationTest, PaintDrawsOnTheCanvasOfCustomAndGraphicControls) {
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 200, 100);
    form->SetColor(clWhite);
    auto* swatch = new TSwatch(form);
    swatch->SetParent(form);
    swatch->SetBounds(10, 10, 40, 40);
    auto* dot = new TDot(form);
    dot->SetParent(form);
    dot->SetBounds(100, 20, 8, 6);
    form->Show();
    const QImage shot = WidgetOf(form)->grab().toImage();
    EXPECT_EQ(shot.pixelColor(12, 12), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(19, 19), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(255, 255, 255));  // the swatch's own background
    EXPECT_EQ(shot.pixelColor(100, 20), QColor(255, 255, 0));
    EXPECT_EQ(shot.pixelColor(107, 25), QColor(255, 255, 0));
    EXPECT_EQ(shot.pixelColor(108, 25), QColor(255, 255, 255));  // right edge excluded
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(255, 255, 255));
    delete form;
}

TEST_F(QtApplicationTest, FormShowsRealWidgetsAndQtInputBecomesMessages) {
    auto* form = new TForm(Application);
    form->SetBounds(50, 60, 240, 160);
    form->SetCaption(u"Qt form \u00E9");
    form->SetColor(0x00FF00);  // green background
    auto* box = new TCustomControl(form);
    box->SetParent(form);
    box->SetBounds(20, 20, 100, 60);
    box->SetTabStop(true);
    Painted painted(box);
    std::vector<UINT> seen;
    std::vector<WPARAM> chars;
    auto inherited = box->WindowProc;
    box->WindowProc = [&, inherited](TMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP || m.Msg == WM_KEYDOWN || m.Msg == WM_SETFOCUS) seen.push_back(m.Msg);
        if (m.Msg == WM_CHAR) chars.push_back(m.WParam);
        inherited(m);
    };
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    Application->ProcessMessages();

    QWidget* window = WidgetOf(form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Qt form \xC3\xA9"));
    QWidget* child = WidgetOf(box);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->parentWidget(), window);
    EXPECT_EQ(child->geometry(), QRect(20, 20, 100, 60));

    // Painted by the form (green background) and by the control (red upper half).
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(25, 25), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(25, 75), QColor(0, 255, 0));  // the control's background, the parent's colour
    EXPECT_GE(painted.paints, 1);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 12), QPointF(10, 12), child->mapToGlobal(QPointF(10, 12)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(11, 12), QPointF(11, 12), child->mapToGlobal(QPointF(11, 12)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(child, &press);
    // Qt sends the pressed widget its moves and release; a grab of our own would keep every
    // later press in the window for this control.
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "a press left the toolkit's mouse grab on the control";
    QApplication::sendEvent(child, &release);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QApplication::sendEvent(child, &key);
    QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\xE2\x82\xAC"));
    QApplication::sendEvent(child, &euro);
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_LBUTTONDOWN), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_KEYDOWN), seen.end());
    EXPECT_EQ(chars, (std::vector<WPARAM>{u'A', 0x20AC}));

    // Closing through the window frame asks the form; its OnClose may refuse.
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        if (++closes == 1) action = caNone;
    };
    window->close();
    EXPECT_TRUE(form->Visible());
    window->close();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(window->isVisible());
    delete form;
}

TEST_F(QtApplicationTest, PostsFromAnotherThreadArriveOnTheGuiThreadDuringTheLoop) {
    auto* form = new TForm(Application);
    form->HandleNeeded();
    std::vector<std::thread::id> threads;
    auto inherited = form->WindowProc;
    form->WindowProc = [&, inherited](TMessage& m) {
        if (m.Msg == WM_USER + 1125) {
            threads.push_back(std::this_thread::get_id());
            if (threads.size() == 3) Application->Terminate();
            return;
        }
        inherited(m);
    };
    HWND h = form->WindowHandle();
    std::thread watcher([h] {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            PostMessageW(h, WM_USER + 1125, static_cast<WPARAM>(i), 0);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    while (!Application->Terminated() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        Application->HandleMessage();
    watcher.join();
    ASSERT_EQ(threads.size(), 3u);
    for (auto id : threads) EXPECT_EQ(id, std::this_thread::get_id());
    delete form;
}

TEST_F(QtApplicationTest, RunShowsTheMainFormAndShowModalIsAnsweredByTheHook) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetCaption(u"Main");
    auto* dialog = new TForm(Application);
    dialog->SetCaption(u"Dialog");
    dialog->SetPosition(poMainFormCenter);
    TModalResult result = mrNone;
    int boxAnswer = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) return IDYES;
        EXPECT_TRUE(WidgetOf(r.Form)->isVisible());
        EXPECT_TRUE(WidgetOf(r.Form)->isModal());
        return mrOk;
    });
    main->OnShow = [&](TObject*) {
        // Once the loop runs: a modal dialog and a question, then the main form closes.
        PostMessageW(main->Handle(), WM_USER + 5, 0, 0);
    };
    auto inherited = main->WindowProc;
    main->WindowProc = [&, inherited](TMessage& m) {
        if (m.Msg == WM_USER + 5) {
            result = dialog->ShowModal();
            boxAnswer = Application->MessageBox(u"Sure?", u"Q", MB_YESNO);
            main->Close();
            return;
        }
        inherited(m);
    };
    Application->Run();
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(boxAnswer, IDYES);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(Application->Terminated());
    DoneApplication();
}

TEST_F(QtApplicationTest, AFormShownModallyLeavesNoModalWindowBehind) {
    // Shown once before: its window exists when it becomes modal.
    auto dialog = std::make_unique<TForm>(nullptr);
    dialog->Show();
    dialog->Hide();
    TScopedModalHook hook([](TModalRequest&) { return mrOk; });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    dialog.reset();
    TForm other(nullptr);
    other.Show();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
