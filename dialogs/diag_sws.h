#pragma once
// The welcome picture shown for two seconds before the game window opens. A press in
// the maker's corner of it opens the maker's web site.

#include "platform/timer.h"
#include "platform/window.h"
#include "rules/panel.h"

namespace snugbox {

struct GraphicsResources;

class diagSWS : private WindowEvents {
public:
    // graphics must outlive the dialog.
    explicit diagSWS(const GraphicsResources& graphics);

    void show();                  // modal; closes itself 2000 ms after load
    Window& window();

private:
    void onLoad() override;
    void onMouseDown(int button, int shift, float x, float y) override;
    void splashTimer_Timer();

    const GraphicsResources& graphics_;
    Window window_;
    Timer splashTimer_;
    Panel picture_;
    Panel makerArea_;
};

} // namespace snugbox
