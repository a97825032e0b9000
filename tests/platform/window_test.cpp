#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "tests/support/platform/event_simulation.h"
#include "tests/support/platform/message_box_recorder.h"
#include "platform/surface_impl.h"
#include "platform/window_impl.h"

namespace snugbox {
namespace {

using Lines = std::vector<std::string>;
const std::thread::id userInterfaceThread = std::this_thread::get_id();

// Writes every event down as a line: "load", "down 1 10 20", "dblclick",
// "keydown 27", "keypress 27", "resize", "unload"; one handled off the user-interface
// thread starts with "off-thread".
struct EventLog : WindowEvents {
    Lines lines;
    std::function<void()> whenLoading = [] {};

    void onLoad() override { add("load"); whenLoading(); }
    void onUnload() override { add("unload"); }
    void onResize() override { add("resize"); }
    void onMouseDown(int button, int, float x, float y) override { add("down", button, x, y); }
    void onDoubleClick() override { add("dblclick"); }
    void onKeyDown(int keyCode, int) override { add("keydown", keyCode); }
    void onKeyPress(int character) override { add("keypress", character); }

    void add(const char* word, auto... values)
    {
        std::ostringstream line;
        line << (std::this_thread::get_id() == userInterfaceThread ? "" : "off-thread ") << word;
        ((line << ' ' << values), ...);
        lines.push_back(line.str());
    }
    // The lines that start with one of the words, in order.
    Lines only(std::initializer_list<std::string> words) const
    {
        Lines kept = lines;
        std::erase_if(kept, [&](const std::string& line) {
            return std::ranges::count(words, line.substr(0, line.find(' '))) == 0;
        });
        return kept;
    }
};

// Handles events until the condition holds or about two seconds have passed.
bool waitUntil(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
}

// Whether the window system holds exactly the surface for the client area now, without
// handling any event first.
bool showsItsSurface(Window& window)
{
    const QPixmap grabbed = QGuiApplication::primaryScreen()->grabWindow(widgetOf(window)->winId());
    return grabbed.toImage().convertToFormat(QImage::Format_RGB32) == window.surface().impl().image;
}

bool open(Window& window)
{
    window.show();
    return waitUntil([&] { return widgetOf(window)->isVisible() && widgetOf(window)->windowHandle()->isExposed(); });
}

// The main window and a dialog of the game's sizes, neither open yet.
class Windows : public ::testing::Test {
protected:
    EventLog mainEvents;
    EventLog dialogEvents;
    Window main{WindowKind::Main, 765, 563, mainEvents};
    Window dialog{WindowKind::Dialog, 329, 207, dialogEvents};
};

TEST_F(Windows, ShowExactlyTheirSurfaceAndRefreshPresentsBeforeReturning)
{
    dialogEvents.whenLoading = [&] {
        // A colour of its own for every pixel, so that any shift, scaling or swap of pixels shows.
        for (int i = 0; i < 329 * 207; ++i) {
            const auto byte = [i](int shift) { return static_cast<std::uint8_t>(i >> shift); };
            dialog.surface().setPixel(i % 329, i / 329, Rgb{byte(0), byte(8), byte(16)});
        }
    };
    ASSERT_TRUE(open(dialog));
    EXPECT_TRUE(waitUntil([&] { return showsItsSurface(dialog); }));

    // Drawing alone puts nothing on the screen; refresh does, with no event handled between.
    dialog.surface().fillRect(Rect{20, 10, 40, 30}, Brush{true, Rgb{250, 10, 10}});
    EXPECT_FALSE(showsItsSurface(dialog));
    dialog.refresh();
    EXPECT_TRUE(showsItsSurface(dialog));
}

TEST_F(Windows, EachOpeningLoadsOnceAndTheCloseBoxUnloadsOnceTakingDialogsWithTheMainWindow)
{
    main.show();
    dialog.show();
    ASSERT_TRUE(open(dialog));   // open already: no second load
    simulate::closeBox(dialog);
    dialog.close();  // closed already: no second unload
    EXPECT_FALSE(dialog.isOpen() || widgetOf(dialog)->isVisible());
    EXPECT_TRUE(main.isOpen());

    ASSERT_TRUE(open(dialog) && open(main));
    simulate::closeBox(main);
    EXPECT_EQ(mainEvents.only({"load", "unload"}), (Lines{"load", "unload"}));
    EXPECT_EQ(dialogEvents.only({"load", "unload"}), (Lines{"load", "unload", "load", "unload"}));
    EXPECT_FALSE(main.isOpen() || dialog.isOpen());
}

TEST_F(Windows, WorkPutOffUntilOneIsShownRunsOnceItsFirstPictureIsOnTheScreen)
{
    int runs = 0;
    bool onScreenThen = false;
    dialog.afterFirstShown([&] {
        ++runs;
        onScreenThen = showsItsSurface(dialog);
    });
    ASSERT_TRUE(open(dialog));
    EXPECT_TRUE(waitUntil([&] { return runs > 0; }));
    dialog.refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(onScreenThen);
}

// The icon's sizes arrive in two steps at start-up; what a window finally shows must be
// the shipped pictures, every size of them, pixel for pixel.
TEST(Icon, FirstTheSizeAskedForFirstThenEverySizeExactlyAsShipped)
{
    const QString data = QStringLiteral(SNUGBOX_DATA_DIR "/");
    Application::instance().loadIcon(data.toStdString(), Application::IconSizes::FirstAsked);
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});

    Application::instance().loadIcon(data.toStdString());
    EventLog events;
    Window window(WindowKind::Main, 765, 563, events);
    const QIcon shown = widgetOf(window)->windowIcon();
    QList<QSize> sizes = shown.availableSizes();
    std::ranges::sort(sizes, {}, &QSize::width);
    const QList<QSize> shipped{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    ASSERT_EQ(sizes, shipped);
    for (const QSize& size : shipped) {
        const QImage file(data + QStringLiteral("snugbox-%1.png").arg(size.width()));
        // A pixmap keeps its pixels premultiplied, as it always has.
        EXPECT_EQ(shown.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  file.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << size.width();
    }
    QApplication::setWindowIcon(QIcon());
}

TEST_F(Windows, KeepTheirSizeAndSnapBackFromADrag)
{
    ASSERT_TRUE(open(main) && open(dialog));
    // The main window's outer size, a dialog's client size.
    const auto sizes = [&] {
        return std::tuple(main.outerWidth(), main.outerHeight(), dialog.clientWidth(), dialog.clientHeight());
    };
    EXPECT_EQ(sizes(), std::tuple(765, 563, 329, 207));

    // A window manager resizing the windows past their fixed size, as a border drag does.
    widgetOf(main)->windowHandle()->resize(900, 700);
    widgetOf(dialog)->windowHandle()->resize(400, 300);
    ASSERT_TRUE(waitUntil([&] {
        return !mainEvents.only({"resize"}).empty() && !dialogEvents.only({"resize"}).empty();
    }));
    EXPECT_TRUE(waitUntil([&] { return sizes() == std::tuple(765, 563, 329, 207); }));
}

using Input = Windows;

TEST_F(Input, ArrivesWithButtonCodesAndPositionsADoubleClickForAQuickSecondPressAndKeyDownBeforeKeyPress)
{
    ASSERT_TRUE(open(dialog));
    simulate::mouseDown(dialog, MouseButtons::Left, 10, 20);
    simulate::mouseDown(dialog, MouseButtons::Middle, 328, 206);
    simulate::doubleClick(dialog, MouseButtons::Right, 1, 2);
    simulate::mouseDown(dialog, MouseButtons::Right, 1, 2);   // far apart in time from the last
    for (int key : {KeyCodes::Escape, int{'A'}, KeyCodes::F1}) {
        simulate::keyStroke(dialog, key);   // letters give their capital as code
    }
    EXPECT_EQ(dialogEvents.only({"down", "dblclick", "keydown", "keypress"}),
              (Lines{"down 1 10 20", "down 4 328 206", "down 2 1 2", "dblclick", "down 2 1 2", "keydown 27",
                     "keypress 27", "keydown 65", "keypress 97", "keydown 112"}));
}

TEST_F(Input, TypedTextGoesToTheFocusedBoxAndEnterPressesTheDefaultButton)
{
    TextBox name(dialog);
    PushButton ok(dialog);
    name.setGeometry(133, 101, 166, 22);
    ok.setClickHandler([&] { dialog.close(); });
    ok.setDefault(true);
    dialogEvents.whenLoading = [&] { name.setFocus(); };
    ASSERT_TRUE(open(dialog));
    simulate::typeText(dialog, "Zoë  O'Neil ");
    simulate::keyStroke(dialog, KeyCodes::Escape);   // the box has the focus: the window gets no keys
    simulate::keyStroke(dialog, KeyCodes::Enter);
    EXPECT_EQ(dialogEvents.only({"keydown", "keypress", "unload"}), Lines{"unload"}) << "closed by the button";
    EXPECT_EQ(name.text(), "Zoë  O'Neil ") << "still there for the closing code to read";
}

// The caller waits until the dialog closes while the main window's timer keeps ticking;
// the main window takes no mouse, keys or close box meanwhile, the dialog takes them all.
TEST_F(Windows, AModalOneBlocksTheCallerWhileOtherTimersTickAndWindowsBehindTakeNoInput)
{
    simulate::after(5000, [] {   // a fault that leaves the dialog open fails instead of hanging
        for (Window* stuck; (stuck = simulate::openModalWindow()) != nullptr; stuck->close()) {
            ADD_FAILURE() << "a modal window had to be closed by force";
        }
    });
    Timer pieces(main);
    int ticks = 0;
    pieces.setTickHandler([&] { ++ticks; });
    pieces.setInterval(5);
    pieces.setEnabled(true);
    ASSERT_TRUE(open(main));

    bool ticked = false;
    simulate::whenModalOpens([&](Window&) {
        ASSERT_TRUE(open(dialog));
        simulate::mouseDown(main, MouseButtons::Left, 100, 100);
        simulate::keyStroke(main, KeyCodes::Escape);
        simulate::closeBox(main);
        simulate::mouseDown(dialog, MouseButtons::Left, 10, 10);
        simulate::keyStroke(dialog, KeyCodes::Enter);
        ticked = waitUntil([&, from = ticks] { return ticks >= from + 3; });
        simulate::closeBox(dialog);
    });
    dialog.showModal();
    EXPECT_TRUE(ticked);
    EXPECT_EQ(mainEvents.only({"down", "keydown", "keypress", "unload"}), Lines{});
    EXPECT_EQ(dialogEvents.only({"load", "down", "keydown", "keypress", "unload"}),
              (Lines{"load", "down 1 10 10", "keydown 13", "keypress 13", "unload"}));
    simulate::mouseDown(main, MouseButtons::Left, 100, 100);
    EXPECT_EQ(mainEvents.only({"down"}).size(), 1u) << "once it has closed, the main window takes input again";
}

TEST_F(Windows, ATimerWithAZeroIntervalNeverTicks)
{
    main.show();
    Timer silent(main);
    int ticks = 0;
    silent.setTickHandler([&] { ++ticks; });
    silent.setEnabled(true);   // as the piece timer starts: enabled, with no interval
    simulate::processEvents(30);
    EXPECT_EQ(ticks, 0);
}

using OrderlyQuit = Windows;

TEST_F(OrderlyQuit, SigtermClosesTheMainWindowOnTheUserInterfaceThread)
{
    main.show();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(main.isOpen()) << "the signal handler itself only wakes the event loop";
    ASSERT_TRUE(waitUntil([&] { return !main.isOpen(); }));
    EXPECT_EQ(mainEvents.only({"unload"}), Lines{"unload"}) << "once, not off the thread";
    EXPECT_FALSE(Application::instance().isQuitting());
}

TEST(MessageBox, IsRecordedWhileARecorderLivesAndOtherwiseShownWithTheTitleTheTextAndAnOkButton)
{
    Application::instance();
    {
        MessageBoxRecorder recorder;
        showMessageBox("Snugbox", "first");
        EXPECT_EQ(recorder.messages(), (std::vector<ShownMessage>{{"Snugbox", "first"}}));
    }
    QStringList seen;   // what the real box held, which is then closed
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->windowTitle() << box->text() << QString::number(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        }
    });
    showMessageBox("Snugbox", " Error Failerd");
    EXPECT_EQ(seen, (QStringList{"Snugbox", " Error Failerd", "1"}));
}

TEST(Desktop, LocalPathsBecomeFileAddressesAndWebAddressesStayAsTheyAre)
{
    EXPECT_EQ(desktopUrlFor("/tmp/snug box/a#b.htm"), "file:///tmp/snug%20box/a%23b.htm") << "a # is part of the name";
    EXPECT_EQ(desktopUrlFor("https://snugbox.example.org/"), "https://snugbox.example.org/");
}

} // namespace
} // namespace snugbox
