#pragma once
// Inside the platform layer only: the Qt widgets behind the standard controls.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <functional>

#include "platform/controls.h"
#include "platform/window.h"

namespace snugbox {

// A label takes the presses that land on it, as a label on a classic form does, and acts
// on the press itself, with any button, as the game's buttons do.
class PressableLabel : public QLabel {
public:
    explicit PressableLabel(QWidget* parent);
    std::function<void()> pressed;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a quick double press arrives only as this; it is a press too.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void takePress(QMouseEvent* event);
};

struct Label::Impl {
    QPointer<PressableLabel> label;
    bool sizedToText = true;
    void fitText();
};

struct TextBox::Impl {
    QPointer<QLineEdit> edit;
};

struct PushButton::Impl {
    Window::Impl* owner = nullptr;
    QPointer<QPushButton> button;
    std::function<void()> clicked;
};

// A Qt font sized in pixels as a 96 dots-per-inch desktop sizes the given points.
QFont qtFontFor(const Font& font);

} // namespace snugbox
