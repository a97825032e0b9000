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

// A label takes the presses that land on it, as a label on a classic form does, and
// reports a click when the left button is released over it.
class ClickableLabel : public QLabel {
public:
    explicit ClickableLabel(QWidget* parent);
    std::function<void()> clicked;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

struct Label::Impl {
    QPointer<ClickableLabel> label;
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
