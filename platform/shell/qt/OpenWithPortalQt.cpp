#include "platform/shell/qt/OpenWithPortalQt.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QVariantMap>

#include "platform/shell/OpenWith.h"

namespace {

constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.OpenURI";
// The portal answers at once (the chooser runs on its side); a bus that does not answer in
// this time has no portal to offer.
constexpr int kReplyTimeoutMs = 5000;

// OpenFile with "ask": the portal shows its chooser of programs for the file's type and
// opens the file with the one picked. The file goes by descriptor, so only it is handed over.
bool AskPortal(const std::string& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const QDBusUnixFileDescriptor file(fd);  // keeps its own duplicate
    ::close(fd);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "OpenFile");
    QVariantMap options;
    options.insert("ask", true);
    options.insert("writable", false);
    call << QString() << QVariant::fromValue(file) << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

void InstallOpenWithPortal() { SetOpenWithChooser(AskPortal); }
