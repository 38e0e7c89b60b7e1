#include "platform/shell/qt/ShellIconsQt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QFileIconProvider>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "platform/shell/ShellIcons.h"

namespace {

QIcon IconOf(ShellIcon icon) {
    const QFileIconProvider provider;
    const QIcon folder = provider.icon(QAbstractFileIconProvider::Folder);
    switch (icon) {
    case ShellIcon::Folder: return folder;
    case ShellIcon::FolderOpen: return QIcon::fromTheme(QStringLiteral("folder-open"), folder);
    case ShellIcon::Home: return QIcon::fromTheme(QStringLiteral("user-home"), folder);
    case ShellIcon::Desktop: return QIcon::fromTheme(QStringLiteral("user-desktop"), provider.icon(QAbstractFileIconProvider::Desktop));
    case ShellIcon::Documents: return QIcon::fromTheme(QStringLiteral("folder-documents"), folder);
    case ShellIcon::Computer: return QIcon::fromTheme(QStringLiteral("computer"), provider.icon(QAbstractFileIconProvider::Computer));
    case ShellIcon::Drive: return QIcon::fromTheme(QStringLiteral("drive-harddisk"), provider.icon(QAbstractFileIconProvider::Drive));
    case ShellIcon::RemovableDrive:
        return QIcon::fromTheme(QStringLiteral("drive-removable-media"), provider.icon(QAbstractFileIconProvider::Drive));
    case ShellIcon::NetworkDrive: return QIcon::fromTheme(QStringLiteral("folder-remote"), provider.icon(QAbstractFileIconProvider::Network));
    case ShellIcon::File: return provider.icon(QAbstractFileIconProvider::File);
    case ShellIcon::LinkOverlay: return QIcon::fromTheme(QStringLiteral("emblem-symbolic-link"));
    }
    return {};
}

// A small curved arrow in the lower left corner, for themes without a link emblem.
QImage DrawnLinkOverlay(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 2.0;
    const QRectF box(0.5, size - s - 0.5, s, s);
    p.fillRect(box, Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(box);
    QPainterPath arrow;
    arrow.moveTo(box.left() + s * 0.25, box.bottom() - s * 0.2);
    arrow.quadTo(box.left() + s * 0.25, box.top() + s * 0.35, box.right() - s * 0.25, box.top() + s * 0.35);
    p.drawPath(arrow);
    p.drawLine(QPointF(box.right() - s * 0.25, box.top() + s * 0.35), QPointF(box.right() - s * 0.45, box.top() + s * 0.2));
    p.drawLine(QPointF(box.right() - s * 0.25, box.top() + s * 0.35), QPointF(box.right() - s * 0.45, box.top() + s * 0.5));
    return image;
}

bool HasWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

std::vector<std::uint32_t> SquarePixels(QImage image, int size) {
    if (image.isNull()) return {};
    image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
    // Centred on a clear square of the list's size.
    QImage square(size, size, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    QPainter(&square).drawImage((size - image.width()) / 2, (size - image.height()) / 2, image);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(square.constScanLine(y));
        std::copy(row, row + size, pixels.begin() + static_cast<std::ptrdiff_t>(y) * size);
    }
    return pixels;
}

std::vector<std::uint32_t> Pixels(ShellIcon icon, int size) {
    // The file icon provider draws through the widget style: without an application of
    // widgets there is none.
    if (!HasWidgets()) return {};
    const QIcon qicon = IconOf(icon);
    QImage image;
    if (icon == ShellIcon::LinkOverlay) {
        // An emblem covers the lower left quarter, leaving the item's own picture visible.
        const int half = std::max(1, size / 2);
        const QImage emblem = qicon.isNull() ? QImage() : qicon.pixmap(half, half).toImage();
        if (emblem.isNull()) return SquarePixels(DrawnLinkOverlay(size), size);
        image = QImage(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).drawImage(QRect(0, size - half, half, half), emblem);
        return SquarePixels(std::move(image), size);
    }
    if (!qicon.isNull()) image = qicon.pixmap(size, size).toImage();
    return SquarePixels(std::move(image), size);
}

std::string TypeIconName(const std::string& path) {
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(path)), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return {};
    for (const QString& name : {type.iconName(), type.genericIconName()})
        if (QIcon::hasThemeIcon(name)) return name.toStdString();
    return {};
}

std::vector<std::uint32_t> NamedPixels(const std::string& name, int size) {
    if (!HasWidgets()) return {};
    const QIcon icon = QIcon::fromTheme(QString::fromStdString(name));
    return icon.isNull() ? std::vector<std::uint32_t>() : SquarePixels(icon.pixmap(size, size).toImage(), size);
}

// The MIME database's description, capitalised as the other type names are; nothing for a
// folder or a type it does not know, which have names of their own.
WideString TypeName(const std::string& path, bool folder) {
    static const QMimeDatabase database;
    if (folder) return {};
    const QMimeType type =
        database.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(path)), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return {};
    QString comment = type.comment();
    if (!comment.isEmpty()) comment[0] = comment[0].toUpper();
    return comment.toStdU16String();
}

std::vector<std::string> MimeTypes(const std::string& path, bool) {
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(path)), QMimeDatabase::MatchExtension);
    if (!type.isValid()) return {};
    std::vector<std::string> types{type.name().toStdString()};
    for (const QString& t : type.aliases()) types.push_back(t.toStdString());
    for (const QString& t : type.allAncestors()) types.push_back(t.toStdString());
    return types;
}

// Without a desktop that names an icon theme (no platform theme), the theme folders the
// desktop's icon-theme layout names and the system's default theme, so file types still get
// their pictures.
void UseDefaultThemeWhenUnset() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor")) return;
    QStringList paths = QIcon::themeSearchPaths();
    QStringList wanted{QDir::homePath() + QLatin1String("/.icons")};
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + QLatin1String("/.local/share"));
    wanted << dataHome + QLatin1String("/icons");
    const QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    for (const QString& dir : (dataDirs.isEmpty() ? QStringLiteral("/usr/local/share:/usr/share") : dataDirs).split(u':', Qt::SkipEmptyParts))
        wanted << dir + QLatin1String("/icons");
    for (const QString& dir : wanted)
        if (!paths.contains(dir) && QDir(dir).exists()) paths << dir;
    QIcon::setThemeSearchPaths(paths);
    for (const QString& dir : paths) {
        if (QFile::exists(dir + QLatin1String("/default/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("default"));
            return;
        }
    }
}

}  // namespace

void InstallQtShellIcons() {
    UseDefaultThemeWhenUnset();
    SetShellIconSource(Pixels);
    SetShellTypeIconNameSource(TypeIconName);
    SetShellNamedIconSource(NamedPixels);
    SetShellMimeTypeSource(MimeTypes);
    SetShellTypeNameSource(TypeName);
}
