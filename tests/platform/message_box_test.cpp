#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/message_box.h"

namespace snugbox {
namespace {

TEST(MessageBox, IsAModalBoxWithTheTitleTheTextAndOneOkButtonUnlessRecorded)
{
    Application::instance();
    QStringList seen;
    // Closes the real box the next call shows, writing down what it held.
    const auto closeTheNextBox = [&seen] {
        QTimer::singleShot(0, [&seen] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    seen << box->windowTitle() << box->text() << QString::number(box->buttons().size());
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
    };
    closeTheNextBox();
    showMessageBox("Snugbox", " Error Failerd");
    EXPECT_EQ(seen, (QStringList{"Snugbox", " Error Failerd", "1"}));

    MessageBoxRecorder outer;
    {
        MessageBoxRecorder inner;
        showMessageBox("Snugbox", "first");
        EXPECT_EQ(inner.messages(), (std::vector<ShownMessage>{{"Snugbox", "first"}}));
    }
    closeTheNextBox();
    showMessageBox("Snugbox", "second");
    QCoreApplication::processEvents();   // the closing timer runs while `seen` is still here
    EXPECT_EQ(outer.messages(), (std::vector<ShownMessage>{{"Snugbox", "second"}})) << "the outer one again";
    EXPECT_EQ(seen.size(), 3) << "no real box";
}

TEST(Desktop, LocalPathsBecomeFileAddressesAndWebAddressesStayAsTheyAre)
{
    EXPECT_EQ(desktopUrlFor("/opt/snug box/Snugbox.htm"), "file:///opt/snug%20box/Snugbox.htm");
    EXPECT_EQ(desktopUrlFor("/tmp/a#b.htm"), "file:///tmp/a%23b.htm") << "a # is part of the name";
    EXPECT_EQ(desktopUrlFor("https://snugbox.example.org/"), "https://snugbox.example.org/");
}

} // namespace
} // namespace snugbox
