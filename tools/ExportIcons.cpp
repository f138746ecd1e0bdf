// Writes the program's pictures as PNG files.
//   ostreltz-export-icons DIR        the icon for the desktop entry: DIR/<size>x<size>/ostreltz.png
//   ostreltz-export-icons --web DIR  the browser page's: DIR/icon-192.png and icon-512.png for
//                                    its manifest, DIR/tool-<command id>.png for its toolbar
#include <QDir>
#include <QGuiApplication>

#include "res/CommandTable.h"
#include "res/Icons.h"

namespace {

// Toolbar pictures at twice the desktop's size, sharp on high-density screens.
constexpr int kWebToolSize = 36;

bool ExportWeb(const QString& dir) {
    if (!QDir().mkpath(dir)) return false;
    for (int size : {192, 512})
        if (!AppIconPixmap(size).save(QStringLiteral("%1/icon-%2.png").arg(dir).arg(size))) return false;
    for (int id : ToolbarButtons())
        if (id != kMenuSeparator &&
            !ToolbarPixmap(id, kWebToolSize).save(QStringLiteral("%1/tool-%2.png").arg(dir).arg(id)))
            return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--web") return ExportWeb(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc != 2) return 2;
    const QIcon icon = AppIcon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(dir) || !icon.pixmap(size, size).save(dir + QStringLiteral("/ostreltz.png"))) return 1;
    }
    return 0;
}
