#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <utility>

#include "platform/application.h"
#include "platform/application_impl.h"

namespace snugbox {
namespace {

MessageBoxHandler& currentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

void writeToStandardError(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void showRealMessageBox(const std::string& title, const std::string& text)
{
    // A widget needs a widget application; without one a box would abort the program.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        writeToStandardError(title, text);
        return;
    }
    // A program asked to end must not stay waiting for an OK.
    Application::Impl& application = Application::instance().impl();
    if (application.quitUnderWay()) {
        writeToStandardError(title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok);
    application.toolkitDialogOpened(box);
    box.exec();
    application.toolkitDialogEnded(box);
}

} // namespace

void showMessageBox(const std::string& title, const std::string& text)
{
    if (const MessageBoxHandler& handler = currentHandler()) {
        handler(title, text);
        return;
    }
    showRealMessageBox(title, text);
}

MessageBoxHandler replaceMessageBox(MessageBoxHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace snugbox
