#include "dialogs/frm_stats.h"

#include <string>
#include <utility>

#include "graphics/colours.h"
#include "graphics/drawing.h"
#include "graphics/resource_strings.h"
#include "platform/application.h"
#include "platform/surface.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

constexpr int kClientWidth = 466;
constexpr int kClientHeight = 454;
const Font kTableFont{"Times New Roman", 14.25, true};

constexpr std::int32_t kTitleHeight = 30;
constexpr std::int32_t kButtonHeight = 30;
constexpr std::int32_t kRowTextShift = 1;
constexpr std::int32_t kTitleTextShift = 2;

constexpr int kOkButton = 1;
constexpr int kClearButton = 2;
constexpr int kButtonCount = 2;

// The name written over every row by "Clear Scores", spelled as the game always has.
constexpr char kClearedName[] = "Anonoymous";

} // namespace

frmStats::frmStats(GameState& state, std::function<void()> tablesCleared)
    : state_(state),
      tablesCleared_(std::move(tablesCleared)),
      window_(WindowKind::Dialog, kClientWidth, kClientHeight, *this),
      frame_(window_)
{
}

void frmStats::show()
{
    if (window_.isOpen()) {
        redrawRows();
        return;
    }
    window_.showModal();
}

Window& frmStats::window() { return window_; }

BestScoreTable* frmStats::shownTable()
{
    if (modeNum < 1 || modeNum > kGameModes) {
        return nullptr;
    }
    return &state_.bestScores[modeNum];
}

void frmStats::onLoad()
{
    // Every opening starts on a fresh surface, which has forgotten the font.
    window_.surface().setFont(kTableFont);
    const int width = window_.clientWidth();
    const int height = window_.clientHeight();

    background_ = dialogPanel(window_, 0, 0, width, height, darkBrush, Rgb{});
    drawBox(background_, kBoxFilled);

    // Laid out now, drawn only once the table has been cleared.
    title_ = dialogPanel(window_, nearest(width / 2.0 - 2 * cellSize), nearest(cellSize / 2.0), 4 * cellSize,
                         kTitleHeight, darkBrush, hoverTextColour);

    window_.setCaption("Best Scores - " + Application::title());

    layOutRows();
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        drawRow(row);
    }
    layOutButtons();
    frame_.drawButtonsNormal();
}

void frmStats::layOutRows()
{
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        nameCells_[row] = dialogPanel(window_, cellSize, row * cellSize, 6 * cellSize, cellSize, darkBrush,
                                      rowTextColour);
        scoreCells_[row] = dialogPanel(window_, 8 * cellSize, row * cellSize, 2 * cellSize, cellSize, darkBrush,
                                       rowTextColour);
    }
}

void frmStats::drawRow(int row)
{
    const BestScoreTable* table = shownTable();
    if (table == nullptr) {
        return;
    }
    drawShadowText(nameCells_[row], kRowTextShift, table->names[row], kShadowTextDefault);
    drawShadowText(scoreCells_[row], kRowTextShift, std::to_string(table->scores[row]), kShadowTextDefault);
}

// Each cell is filled with the background again first, so that no old text shows through.
void frmStats::redrawRows()
{
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        drawBox(nameCells_[row], kBoxFilled);
        drawBox(scoreCells_[row], kBoxFilled);
        drawRow(row);
    }
    window_.refresh();
}

void frmStats::layOutButtons()
{
    frame_.clearButtons();
    const std::int32_t lefts[kButtonCount] = {2 * cellSize, 6 * cellSize};
    for (int number = 1; number <= kButtonCount; ++number) {
        Panel panel = dialogPanel(window_, lefts[number - 1], 9 * cellSize, 3 * cellSize, kButtonHeight,
                                  panelBrush, buttonTextColour);
        panel.pen = hoverPen;
        const std::string caption = loadResString(static_cast<std::int16_t>(kStringButtonBase + number));
        if (number == kOkButton) {
            frame_.addButton(panel, caption, [this] { window_.close(); });
        } else {
            frame_.addButton(panel, caption, [this] { clearScores(); });
        }
    }
}

void frmStats::clearScores()
{
    drawBox(background_, kBoxFilled);
    drawButton(title_, kButtonFilled, false, kTitleTextShift,
               loadResString(static_cast<std::int16_t>(kStringModeNameBase + modeNum)));
    BestScoreTable* table = shownTable();
    for (int row = 1; row <= kBestScorePlaces; ++row) {
        if (table != nullptr) {
            table->names[row] = kClearedName;
            table->scores[row] = 0;
        }
        drawRow(row);
    }
    frame_.drawButtonsNormal();
    window_.refresh();
    // Saved at once: a crash before the game's own save must not bring the scores back.
    if (table != nullptr && tablesCleared_) {
        tablesCleared_();
    }
}

void frmStats::onMouseMove(int, int, float x, float y) { frame_.trackHover(x, y); }

void frmStats::onMouseDown(int, int, float x, float y) { frame_.pressAt(x, y); }

void frmStats::onKeyPress(int character)
{
    constexpr int kEnter = 13;
    constexpr int kEscape = 27;
    if (character == kEnter || character == kEscape) {
        window_.close();
    }
}

} // namespace snugbox
