#include "platform/gui_application.h"

#include <QApplication>

namespace snugbox {

void ensureGuiApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt keeps references to argc and argv for the application's whole life.
    static int argc = 1;
    static char name[] = "snugbox";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

} // namespace snugbox
