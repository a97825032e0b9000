#include "platform/desktop.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QString>
#include <QUrl>

#include <utility>

namespace snugbox {
namespace {

DesktopOpener& installedOpener()
{
    static DesktopOpener opener;
    return opener;
}

QUrl urlFor(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    // A Windows drive letter ("C:") would parse as a scheme; two letters at least are a scheme.
    const QUrl asAddress(text, QUrl::StrictMode);
    if (asAddress.isValid() && asAddress.scheme().size() > 1) {
        return asAddress;
    }
    return QUrl::fromLocalFile(text);
}

void openWithQt(const std::string& target)
{
    const QUrl url = urlFor(target);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        QDesktopServices::openUrl(url);
        return;
    }
    // Without a GUI application Qt has no desktop services; xdg-open is what they use.
    QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

} // namespace

void openWithDesktop(const std::string& target)
{
    if (installedOpener()) {
        installedOpener()(target);
        return;
    }
    openWithQt(target);
}

std::string desktopUrlFor(const std::string& target)
{
    return urlFor(target).toString(QUrl::FullyEncoded).toStdString();
}

DesktopOpener replaceDesktopOpener(DesktopOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}

} // namespace snugbox
