#include "platform/vcl/qt/WidgetSetQt.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/ClipbrdQt.h"
#include "platform/vcl/qt/DragDetectQt.h"
#include "platform/vcl/qt/DragSourceQt.h"
#include "platform/vcl/qt/DialogsQt.h"
#include "platform/vcl/qt/MenusQt.h"
#include "platform/vcl/qt/PeerClasses.h"

namespace vclqt {
namespace {

QString ToQString(const WideString& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// Receives the wake-up of a posted message. Inside a loop of Qt's own (a message box, a menu)
// it delivers the class library's messages itself, so they never wait for that loop to end.
class Waker : public QObject {
public:
    static constexpr QEvent::Type kWake = static_cast<QEvent::Type>(QEvent::User + 0x51);

    bool event(QEvent* e) override {
        if (e->type() != kWake) return QObject::event(e);
        if (InForeignLoop()) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
                    break;
                }
                try {
                    DispatchMessageW(&msg);
                } catch (...) {
                    if (Application) Application->HandleException(nullptr);
                }
            }
        }
        return true;
    }
};

// Qt ends the process with an abort when its platform cannot start (a display that is named
// but gone). While the application is made, its messages are kept and a fatal one goes to the
// caller's handler instead.
ToolkitStartFailure startFailure = nullptr;
std::string startMessages;

void StartMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& text) {
    const std::string line = text.toStdString();
    if (type != QtFatalMsg) {
        startMessages += line + "\n";
        return;
    }
    if (startFailure) startFailure((startMessages + line).c_str());
    std::fprintf(stderr, "%s%s\n", startMessages.c_str(), line.c_str());
    std::abort();
}

class QtWidgetSet : public TWidgetSet {
public:
    QtWidgetSet() {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "quillora";
            static char* argv[] = {name, nullptr};
            // An embedded web view shares the application's graphics contexts; Qt needs to
            // know before the application exists.
            QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
            // Lives until the process ends: Qt cannot be torn down during exit's destructors.
            const QtMessageHandler earlier = qInstallMessageHandler(StartMessageHandler);
            static QApplication* app = new QApplication(argc, argv);
            (void)app;
            qInstallMessageHandler(earlier);
            // What the start said on the way is no failure: it is passed on as Qt would have.
            if (!startMessages.empty()) std::fputs(startMessages.c_str(), stderr);
            startMessages.clear();
        }
        InstallQtGdi();
        InstallWindowDcProvider();
        RegisterAllPeerClasses();
        InstallQtDialogs();
        InstallQtClipboard();
        InstallQtDragDrop();
        InstallQtDragDetect();
        SetGuiThread();
        waker_ = std::make_unique<Waker>();
        QPointer<Waker> target = waker_.get();
        SetQueueWakeup([target] {
            if (target) QCoreApplication::postEvent(target.data(), new QEvent(Waker::kWake));
        });
        wakeTimer_.setSingleShot(true);
    }

    ~QtWidgetSet() override {
        SetQueueWakeup(nullptr);
        SetWindowDcProvider(nullptr);
        QToolTip::hideText();
    }

    const char* Name() const override { return "qt"; }
    bool HasDisplay() const override { return true; }

    std::unique_ptr<TWidgetPeer> CreatePeer(TWinControl& control, const TCreateParams& params, TWidgetPeer* parent) override {
        auto* parentWidget = dynamic_cast<PeerWidget*>(parent);
        if (auto peer = CreateRegisteredPeer(control, params, parentWidget)) return peer;
        return std::make_unique<PeerWidget>(control, params, parentWidget);
    }

    void ProcessEvents() override {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

    void WaitEvents(std::optional<std::chrono::steady_clock::time_point> deadline) override {
        if (deadline) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now()).count();
            if (ms <= 0) return;
            wakeTimer_.start(static_cast<int>(ms));
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wakeTimer_.stop();
    }

    bool KeyDown(int virtualKey) const override {
        const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
        switch (virtualKey) {
        case VK_SHIFT: return held.testFlag(Qt::ShiftModifier);
        case VK_CONTROL: return held.testFlag(Qt::ControlModifier);
        case VK_MENU: return held.testFlag(Qt::AltModifier);
        case VK_LBUTTON: return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
        case VK_RBUTTON: return QGuiApplication::mouseButtons().testFlag(Qt::RightButton);
        default: return false;
        }
    }

    TPoint CursorPos() const override {
        const QPoint p = QCursor::pos();
        return TPoint(p.x(), p.y());
    }
    void SetCursorPos(TPoint p) override { QCursor::setPos(p.x, p.y); }

    void SetScreenCursor(int cursor) override {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
        if (cursor == crHourGlass || cursor == crSQLWait) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else if (cursor == crAppStart) QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        else if (cursor != crDefault) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }

    TRect DesktopRect() const override { return RectOf(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768)); }
    TRect WorkAreaRect() const override {
        return RectOf(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1024, 768));
    }
    std::vector<TMonitorArea> Monitors() const override {
        std::vector<TMonitorArea> monitors;
        // screens() lists the primary first.
        for (const QScreen* screen : QGuiApplication::screens())
            monitors.push_back({RectOf(screen->geometry()), RectOf(screen->availableGeometry())});
        if (monitors.empty()) monitors.push_back({DesktopRect(), WorkAreaRect()});
        return monitors;
    }

    TRect WorkAreaAt(TPoint p) const override {
        // The offscreen platform's screen is a fixed stand-in: windows keep their designed size.
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) return {};
        QScreen* screen = QGuiApplication::screenAt(QPoint(p.x, p.y));
        if (!screen) screen = QGuiApplication::primaryScreen();
        return screen ? RectOf(screen->availableGeometry()) : TRect{};
    }

    std::vector<WideString> FontNames() const override {
        std::vector<WideString> names;
        for (const QString& f : QFontDatabase::families()) names.push_back(f.toStdU16String());
        return names;
    }

    int MessageBox(const TMessageBoxRequest& r) override {
        QWidget* owner = nullptr;
        if (TWinControl* c = FindControl(r.Owner)) owner = dynamic_cast<PeerWidget*>(c->Peer());
        QMessageBox box(owner);
        box.setWindowTitle(ToQString(r.Caption));
        box.setText(ToQString(r.Text));
        switch (r.Flags & MB_ICONMASK) {
        case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        std::vector<std::pair<QAbstractButton*, int>> answers;
        const auto add = [&](QMessageBox::StandardButton b, int id) { answers.emplace_back(box.addButton(b), id); };
        switch (r.Flags & MB_TYPEMASK) {
        case MB_OKCANCEL: add(QMessageBox::Ok, IDOK); add(QMessageBox::Cancel, IDCANCEL); break;
        case MB_ABORTRETRYIGNORE: add(QMessageBox::Abort, IDABORT); add(QMessageBox::Retry, IDRETRY); add(QMessageBox::Ignore, IDIGNORE); break;
        case MB_YESNOCANCEL: add(QMessageBox::Yes, IDYES); add(QMessageBox::No, IDNO); add(QMessageBox::Cancel, IDCANCEL); break;
        case MB_YESNO: add(QMessageBox::Yes, IDYES); add(QMessageBox::No, IDNO); break;
        case MB_RETRYCANCEL: add(QMessageBox::Retry, IDRETRY); add(QMessageBox::Cancel, IDCANCEL); break;
        default: add(QMessageBox::Ok, IDOK); break;
        }
        const std::size_t def = (r.Flags & MB_DEFBUTTON3) ? 2 : (r.Flags & MB_DEFBUTTON2) ? 1 : 0;
        if (def < answers.size()) box.setDefaultButton(static_cast<QPushButton*>(answers[def].first));
        {
            ForeignLoopScope loop;
            box.exec();
        }
        for (const auto& [button, id] : answers)
            if (box.clickedButton() == button) return id;
        // Closed by the window frame or Escape: the cancelling answer.
        const UINT type = r.Flags & MB_TYPEMASK;
        return type == MB_YESNO ? IDNO : type == MB_OK ? IDOK : IDCANCEL;
    }

    void Beep() override { QApplication::beep(); }

    UINT TrackPopupMenu(HMENU menu, UINT flags, TPoint at, HWND owner) override { return ExecPopupMenu(menu, flags, at, owner); }

    void ShowHint(const WideString& text, TPoint at) override {
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(QPoint(at.x, at.y), ToQString(text));
    }

    std::vector<std::uint32_t> DesktopIcon(const WideString& themeName, const WideString& fileName,
                                           int size) const override {
        // Outside a desktop session Qt knows no theme; the freedesktop default one is installed.
        static const bool themed = [] {
            // Without XDG_DATA_DIRS Qt looks for themes in its resources only.
            QStringList paths = QIcon::themeSearchPaths();
            const QString data = qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
            for (const QString& dir : data.split(u':', Qt::SkipEmptyParts))
                if (!paths.contains(dir + QStringLiteral("/icons"))) paths << dir + QStringLiteral("/icons");
            QIcon::setThemeSearchPaths(paths);
            if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
                QIcon::setThemeName(QStringLiteral("Adwaita"));
            return true;
        }();
        (void)themed;
        QIcon icon;
        if (!themeName.empty()) {
            icon = QIcon::fromTheme(ToQString(themeName));
        } else {
            const QMimeType type = QMimeDatabase().mimeTypeForFile(ToQString(fileName), QMimeDatabase::MatchExtension);
            icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
            if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
        }
        if (icon.isNull() || size <= 0) return {};
        const QImage image =
            icon.pixmap(size, size).toImage().scaled(size, size).convertToFormat(QImage::Format_ARGB32);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
        for (int y = 0; y < size; ++y) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            std::copy(line, line + size, pixels.begin() + static_cast<std::ptrdiff_t>(y) * size);
        }
        return pixels;
    }

private:
    static TRect RectOf(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

    std::unique_ptr<Waker> waker_;
    QTimer wakeTimer_;
};

}  // namespace
}  // namespace vclqt

void InstallQtWidgetSet(ToolkitStartFailure onStartFailure) {
    if (std::string_view(WidgetSet().Name()) == "qt") return;
    vclqt::startFailure = onStartFailure;
    // Windows of the headless set cannot move to Qt; they go first.
    DoneApplication();
    SetWidgetSet(std::make_unique<vclqt::QtWidgetSet>());
    SetShownMenuSource(vclqt::ShownMenuItems);
}
