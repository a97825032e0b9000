// The floor the game's start-up is measured against: the least a Qt Widgets program does to
// put a window of the main window's size on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(765, 563);
    window.show();
    return application.exec();
}
