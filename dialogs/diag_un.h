#pragma once
// The name entry shown when a finished game earns a place among the best scores.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "platform/window.h"

namespace snugbox {

struct GraphicsResources;
class RandomSource;

// The longest name the best-score tables keep, in characters.
inline constexpr std::size_t kMaxNameCharacters = 19;

// The name stored for what the player typed: as typed, spaces kept, without the
// invisible U+FEFF (which names never hold), cut to its first kMaxNameCharacters
// characters (whole UTF-8 characters, never half of one); nothing typed gives "-".
std::string nameFromTyped(std::string_view typed);

class diagUN : private WindowEvents {
public:
    // Both must outlive the dialog; the random source picks each opening's background tile.
    diagUN(const GraphicsResources& graphics, RandomSource& random);

    std::string nameEntered;      // output: read after show() returns; rewritten at every close
    void show();                  // modal
    Window& window();

    // The standard controls, for tests.
    Label& lblCongMsg() { return lblCongMsg_; }
    Label& Label1() { return label1_; }
    TextBox& txtName() { return txtName_; }
    PushButton& OKButton() { return okButton_; }

private:
    void onLoad() override;
    void onUnload() override;
    void setUpControls();
    void keepCongratulationInside();

    const GraphicsResources& graphics_;
    RandomSource& random_;
    Window window_;   // before the controls, which live on it
    Label lblCongMsg_;
    Label label1_;
    TextBox txtName_;
    PushButton okButton_;
};

} // namespace snugbox
