#pragma once
// Shared by the dialog tests, Qt-free like the dialogs: a guard against a modal dialog that
// never closes, and comparing one area of two pictures.

#include <gtest/gtest.h>

#include <memory>

#include "platform/application.h"
#include "platform/event_simulation.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace snugbox::testing {

// While it lives, a dialog left open for seconds is closed and the test fails, instead of
// the test never ending.
class ModalGuard {
public:
    ModalGuard()
    {
        Application::instance();
        simulate::after(6000, [armed = armed_] {
            while (Window* stuck = *armed ? simulate::openModalWindow() : nullptr) {
                ADD_FAILURE() << "a modal dialog had to be closed by force";
                stuck->close();
            }
        });
    }
    ~ModalGuard() { *armed_ = false; }

private:
    std::shared_ptr<bool> armed_ = std::make_shared<bool>(true);
};

inline bool sameArea(const Surface& one, const Surface& other, const Rect& area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (one.pixel(x, y) != other.pixel(x, y)) return false;
        }
    }
    return true;
}

} // namespace snugbox::testing
