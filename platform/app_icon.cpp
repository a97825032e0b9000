#include "platform/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace snugbox {

int installApplicationIcon(const std::string& appPath)
{
    const QDir directory(QString::fromStdString(appPath));
    QIcon icon;
    int sizes = 0;
    for (const QString& name : directory.entryList({QStringLiteral("snugbox-*.png")}, QDir::Files, QDir::Name)) {
        const QPixmap picture(directory.filePath(name));
        if (!picture.isNull()) {
            icon.addPixmap(picture);
            ++sizes;
        }
    }
    if (sizes > 0) {
        QGuiApplication::setWindowIcon(icon);
    }
    return sizes;
}

} // namespace snugbox
