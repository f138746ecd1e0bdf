// Writes the program's icon as PNG files of the usual sizes, for the desktop
// entry: ostreltz-export-icons DIR writes DIR/<size>x<size>/ostreltz.png.
#include <QDir>
#include <QGuiApplication>

#include "res/Icons.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) return 2;
    const QIcon icon = AppIcon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(dir) || !icon.pixmap(size, size).save(dir + QStringLiteral("/ostreltz.png"))) return 1;
    }
    return 0;
}
