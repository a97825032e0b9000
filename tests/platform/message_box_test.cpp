#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/application.h"
#include "platform/message_box.h"

namespace snugbox {
namespace {

TEST(MessageBox, IsAModalBoxWithTheTitleTheTextAndOneOkButton)
{
    Application::instance();
    QString title;
    QString text;
    qsizetype buttons = 0;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                buttons = box->buttons().size();
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    showMessageBox("Snugbox", " Error Failerd");
    EXPECT_EQ(title, "Snugbox");
    EXPECT_EQ(text, " Error Failerd");
    EXPECT_EQ(buttons, 1);
}

} // namespace
} // namespace snugbox
