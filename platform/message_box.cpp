#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <utility>

namespace snugbox {
namespace {

MessageBoxHandler& currentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

void showRealMessageBox(const std::string& title, const std::string& text)
{
    // A widget needs a widget application; without one a box would abort the program.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
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
