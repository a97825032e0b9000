#include "platform/application_instance.h"

#include <QApplication>

namespace snugbox {

bool ensureApplicationInstance()
{
    if (QCoreApplication::instance() == nullptr) {
        // QApplication keeps references to both for its whole life.
        static int argc = 1;
        static char name[] = "snugbox";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace snugbox
