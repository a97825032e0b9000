#include "dialogs/diag_un.h"

#include <algorithm>

#include "graphics/drawing.h"
#include "graphics/graphics.h"
#include "platform/surface.h"
#include "rules/best_scores.h"

namespace snugbox {
namespace {

constexpr int kClientWidth = 329;
constexpr int kClientHeight = 207;

constexpr int kCongratulationLeft = 153;
constexpr int kCongratulationTop = 22;
constexpr Rgb kCongratulationColour{255, 255, 0};
constexpr Rgb kPromptColour{255, 255, 128};
const Font kCongratulationFont{"Arial", 8.25, true};

constexpr char kEmptyName[] = "-";

} // namespace

std::string nameFromTyped(std::string_view typedText)
{
    const std::string kept = withoutInvisibleMarks(typedText);
    const std::string_view typed = kept;
    if (typed.empty()) {
        return kEmptyName;
    }
    std::size_t characters = 0;
    for (std::size_t at = 0; at < typed.size(); ++at) {
        if (startsCharacter(typed[at]) && ++characters > kMaxNameCharacters) {
            return std::string(typed.substr(0, at));
        }
    }
    return std::string(typed);
}

diagUN::diagUN(const GraphicsResources& graphics, RandomSource& random)
    : graphics_(graphics),
      random_(random),
      window_(WindowKind::Dialog, kClientWidth, kClientHeight, *this),
      lblCongMsg_(window_),
      label1_(window_),
      txtName_(window_),
      okButton_(window_)
{
    window_.setCaption("Best Score");
    setUpControls();
}

void diagUN::setUpControls()
{
    lblCongMsg_.setFont(kCongratulationFont);
    lblCongMsg_.setTextColour(kCongratulationColour);
    lblCongMsg_.setCentredLines(true);
    lblCongMsg_.setPosition(kCongratulationLeft, kCongratulationTop);

    label1_.setText("Enter Your Name");
    label1_.setTextColour(kPromptColour);
    label1_.setPosition(23, 106);

    txtName_.setGeometry(133, 101, 166, 22);

    okButton_.setCaption("OK");
    okButton_.setGeometry(128, 153, 81, 25);
    okButton_.setDefault(true);
    okButton_.setClickHandler([this] { window_.close(); });
}

void diagUN::keepCongratulationInside()
{
    // The message is wider than its place left room for in some fonts; it moves left
    // just enough to show its last letters instead of losing them at the window's edge.
    const int roomLeft = window_.clientWidth() - lblCongMsg_.width();
    lblCongMsg_.setPosition(std::max(0, std::min(kCongratulationLeft, roomLeft)), kCongratulationTop);
}

void diagUN::show() { window_.showModal(); }

Window& diagUN::window() { return window_; }

void diagUN::onLoad()
{
    std::string congratulation;
    congratulation += " Congratulations ! ";
    congratulation += "\r\n";
    congratulation += " Your Score is among High scores ";
    lblCongMsg_.setText(congratulation);
    keepCongratulationInside();

    // Nothing typed at one opening carries over to the next.
    txtName_.setText("");
    txtName_.setFocus();

    paintRandomTile(window_.surface(), graphics_.spriteSurface, random_,
                    static_cast<std::int16_t>(window_.clientWidth()),
                    static_cast<std::int16_t>(window_.clientHeight()));
}

void diagUN::onUnload() { nameEntered = nameFromTyped(txtName_.text()); }

} // namespace snugbox
