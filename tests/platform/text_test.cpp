#include <gtest/gtest.h>

#include <QApplication>

#include "platform/application.h"
#include "platform/surface.h"

namespace snugbox {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{10, 20, 30};

struct Ink {
    Rect bounds;
    int rowsWithInk = 0;
    int lineCount = 0;
};

Ink inkIn(const Surface& surface, const Rect& area)
{
    Ink ink;
    ink.bounds = Rect{area.right, area.bottom, area.left, area.top};
    bool previousRowInked = false;
    for (int y = area.top; y < area.bottom; ++y) {
        bool inked = false;
        for (int x = area.left; x < area.right; ++x) {
            if (surface.pixel(x, y) == kInk) {
                inked = true;
                ink.bounds.left = std::min(ink.bounds.left, x);
                ink.bounds.right = std::max(ink.bounds.right, x + 1);
                ink.bounds.top = std::min(ink.bounds.top, y);
                ink.bounds.bottom = std::max(ink.bounds.bottom, y + 1);
            }
        }
        ink.rowsWithInk += inked ? 1 : 0;
        ink.lineCount += inked && !previousRowInked ? 1 : 0;
        previousRowInked = inked;
    }
    return ink;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application::instance();
        surface.fillRect(Rect{0, 0, 400, 200}, Brush{true, kPaper});
        surface.setTextColour(kInk);
    }
    Surface surface{400, 200};
};

TEST_F(Text, TheApplicationObjectIsMadeOnceAndCanShowWidgets)
{
    Application::instance();
    EXPECT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
}

TEST_F(Text, CentredSingleLineSitsInTheMiddleBothWays)
{
    const Rect box{100, 50, 300, 150};
    surface.drawText("Centre\nline", box, TextFlags::CenteredLine);
    const Ink ink = inkIn(surface, Rect{0, 0, 400, 200});
    EXPECT_EQ(ink.lineCount, 1) << "a line break does not start a second line";
    EXPECT_NEAR((ink.bounds.left + ink.bounds.right) / 2.0, 200, 2.0);
    EXPECT_NEAR((ink.bounds.top + ink.bounds.bottom) / 2.0, 100, 4.0);
}

TEST_F(Text, CentredLinesStartAtTheTop)
{
    const Rect box{0, 40, 400, 200};
    surface.drawText("Wide first line\nIt", box, TextFlags::Center);
    const Ink ink = inkIn(surface, Rect{0, 0, 400, 200});
    EXPECT_EQ(ink.lineCount, 2);
    EXPECT_LT(ink.bounds.top, 40 + 8);
    const Ink second = inkIn(surface, Rect{0, ink.bounds.top + 19, 400, 200});
    EXPECT_NEAR((second.bounds.left + second.bounds.right) / 2.0, 200, 2.0) << "each line centred";
    EXPECT_GT(second.bounds.left, ink.bounds.left + 40);
}

TEST_F(Text, LeftAlignedLinesFromTheTopAreNeverWrapped)
{
    const Rect box{20, 30, 120, 200};
    surface.drawText("A long name that does not fit\nB", box, TextFlags::VCenter);
    const Ink ink = inkIn(surface, Rect{0, 0, 400, 200});
    EXPECT_EQ(ink.lineCount, 2) << "vertical centring applies to single lines only";
    EXPECT_LE(ink.bounds.left, 22);
    EXPECT_LT(ink.bounds.top, 30 + 8);
    EXPECT_LE(ink.bounds.right, 120) << "cut at the right edge, not wrapped";
    EXPECT_GE(ink.bounds.right, 115) << "the first line runs up to the edge";
}

TEST_F(Text, TextIsDrawnInTheCurrentFontAndKeepsTheBackground)
{
    surface.fillRect(Rect{0, 0, 200, 200}, Brush{true, Rgb{0, 99, 0}});
    surface.drawText("Mixed", Rect{150, 0, 250, 40}, TextFlags::VCenter);
    const int small = inkIn(surface, Rect{0, 0, 400, 200}).rowsWithInk;
    EXPECT_EQ(surface.pixel(150, 39), (Rgb{0, 99, 0})) << "transparent: the fill shows through";
    EXPECT_EQ(surface.pixel(250, 39), kPaper);

    surface.fillRect(Rect{0, 0, 400, 200}, Brush{true, kPaper});
    surface.setFont(Font{"Arial", 16.0, true});
    surface.drawText("Mixed", Rect{150, 0, 400, 40}, TextFlags::VCenter);
    EXPECT_GT(inkIn(surface, Rect{0, 0, 400, 200}).rowsWithInk, small) << "a bigger font, taller letters";
}

} // namespace
} // namespace snugbox
