#include "platform/controls.h"

#include <QMouseEvent>
#include <QPalette>

#include <algorithm>
#include <limits>

#include "platform/controls_impl.h"
#include "platform/window_impl.h"
#include "rules/rounding.h"

namespace snugbox {
namespace {

// What a classic dialog shows when nothing else is chosen.
const Font kDialogFont{"Arial", 8.25, false};

QString qtText(std::string_view text)
{
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QChar('\r'), QChar('\n'));
    return result;
}

QRect qtRect(int x, int y, int width, int height)
{
    return QRect(x, y, std::max(width, 0), std::max(height, 0));
}

} // namespace

QFont qtFontFor(const Font& font)
{
    QFont result(QString::fromStdString(font.family));
    result.setPixelSize(std::max(1, nearest(font.pointSize * 96.0 / 72.0)));
    result.setBold(font.bold);
    return result;
}

// ---- Label ----

PressableLabel::PressableLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(0);
    setIndent(0);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);   // only the glyphs: the window's picture shows through
}

void PressableLabel::mousePressEvent(QMouseEvent* event) { takePress(event); }

void PressableLabel::mouseDoubleClickEvent(QMouseEvent* event) { takePress(event); }

void PressableLabel::takePress(QMouseEvent* event)
{
    event->accept();
    if (pressed) {
        const auto handler = pressed;   // the handler may hide or delete the label
        handler();
    }
}

void Label::Impl::fitText()
{
    if (label != nullptr && sizedToText) {
        label->adjustSize();
    }
}

Label::Label(Window& owner) : impl_(std::make_unique<Impl>())
{
    impl_->label = new PressableLabel(owner.impl().widget.get());
    impl_->label->setFont(qtFontFor(kDialogFont));
    impl_->label->setVisible(true);
    impl_->fitText();
}

Label::~Label() { delete impl_->label; }

void Label::setText(std::string_view text)
{
    if (impl_->label == nullptr) return;
    impl_->label->setText(qtText(text));
    impl_->fitText();
}

std::string Label::text() const
{
    return impl_->label != nullptr ? impl_->label->text().toStdString() : std::string();
}

void Label::setFont(const Font& font)
{
    if (impl_->label == nullptr) return;
    impl_->label->setFont(qtFontFor(font));
    impl_->fitText();
}

void Label::setTextColour(Rgb colour)
{
    if (impl_->label == nullptr) return;
    QPalette palette = impl_->label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    impl_->label->setPalette(palette);
}

void Label::setCentredLines(bool centred)
{
    if (impl_->label == nullptr) return;
    impl_->label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
}

void Label::setPosition(int x, int y)
{
    if (impl_->label == nullptr) return;
    impl_->sizedToText = true;
    impl_->label->move(x, y);
    impl_->fitText();
}

void Label::setGeometry(int x, int y, int width, int height)
{
    if (impl_->label == nullptr) return;
    impl_->sizedToText = false;
    impl_->label->setGeometry(qtRect(x, y, width, height));
}

int Label::x() const { return impl_->label != nullptr ? impl_->label->x() : 0; }
int Label::y() const { return impl_->label != nullptr ? impl_->label->y() : 0; }
int Label::width() const { return impl_->label != nullptr ? impl_->label->width() : 0; }
int Label::height() const { return impl_->label != nullptr ? impl_->label->height() : 0; }

void Label::setVisible(bool visible)
{
    if (impl_->label != nullptr) impl_->label->setVisible(visible);
}

bool Label::isVisible() const { return impl_->label != nullptr && !impl_->label->isHidden(); }

void Label::setPressHandler(std::function<void()> handler)
{
    if (impl_->label != nullptr) impl_->label->pressed = std::move(handler);
}

// ---- TextBox ----

TextBox::TextBox(Window& owner) : impl_(std::make_unique<Impl>())
{
    impl_->edit = new QLineEdit(owner.impl().widget.get());
    impl_->edit->setFont(qtFontFor(kDialogFont));
    impl_->edit->setMaxLength(std::numeric_limits<int>::max());
    impl_->edit->setVisible(true);
}

TextBox::~TextBox() { delete impl_->edit; }

void TextBox::setText(std::string_view text)
{
    if (impl_->edit != nullptr) impl_->edit->setText(qtText(text));
}

std::string TextBox::text() const
{
    return impl_->edit != nullptr ? impl_->edit->text().toStdString() : std::string();
}

void TextBox::setFont(const Font& font)
{
    if (impl_->edit != nullptr) impl_->edit->setFont(qtFontFor(font));
}

void TextBox::setGeometry(int x, int y, int width, int height)
{
    if (impl_->edit != nullptr) impl_->edit->setGeometry(qtRect(x, y, width, height));
}

void TextBox::setFocus()
{
    if (impl_->edit != nullptr) impl_->edit->setFocus(Qt::OtherFocusReason);
}

bool TextBox::hasFocus() const { return impl_->edit != nullptr && impl_->edit->hasFocus(); }

// ---- PushButton ----

PushButton::PushButton(Window& owner) : impl_(std::make_unique<Impl>())
{
    impl_->owner = &owner.impl();
    impl_->button = new QPushButton(owner.impl().widget.get());
    impl_->button->setFont(qtFontFor(kDialogFont));
    // A focused button takes Enter itself, as on a classic form.
    impl_->button->setAutoDefault(true);
    impl_->button->setVisible(true);
    QObject::connect(impl_->button, &QPushButton::clicked, impl_->button, [impl = impl_.get()] {
        if (impl->clicked) {
            const auto handler = impl->clicked;
            handler();
        }
    });
}

PushButton::~PushButton() { delete impl_->button; }

void PushButton::setCaption(std::string_view caption)
{
    if (impl_->button != nullptr) impl_->button->setText(qtText(caption));
}

void PushButton::setFont(const Font& font)
{
    if (impl_->button != nullptr) impl_->button->setFont(qtFontFor(font));
}

void PushButton::setGeometry(int x, int y, int width, int height)
{
    if (impl_->button != nullptr) impl_->button->setGeometry(qtRect(x, y, width, height));
}

void PushButton::setDefault(bool isDefault)
{
    // Without the button its window is gone too.
    if (impl_->button == nullptr) return;
    QPointer<QPushButton>& windowDefault = impl_->owner->defaultButton;
    if (isDefault) {
        if (windowDefault != nullptr && windowDefault != impl_->button) {
            windowDefault->setDefault(false);
        }
        windowDefault = impl_->button;
    } else if (windowDefault == impl_->button) {
        windowDefault = nullptr;
    }
    impl_->button->setDefault(isDefault);
}

bool PushButton::isDefault() const
{
    return impl_->button != nullptr && impl_->owner->defaultButton == impl_->button;
}

void PushButton::setClickHandler(std::function<void()> handler) { impl_->clicked = std::move(handler); }

} // namespace snugbox
