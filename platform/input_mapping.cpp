#include "platform/input_mapping_impl.h"

#include <QList>

#include <array>
#include <utility>

#include "platform/window.h"

namespace snugbox {
namespace {

// Keys whose codes are not simply their character.
constexpr std::array<std::pair<int, int>, 22> kNamedKeys{{
    {Qt::Key_Backspace, KeyCodes::Back},
    {Qt::Key_Tab, KeyCodes::Tab},
    {Qt::Key_Return, KeyCodes::Enter},
    {Qt::Key_Enter, KeyCodes::Enter},
    {Qt::Key_Shift, KeyCodes::Shift},
    {Qt::Key_Control, KeyCodes::Control},
    {Qt::Key_Alt, KeyCodes::Menu},
    {Qt::Key_Pause, KeyCodes::Pause},
    {Qt::Key_Escape, KeyCodes::Escape},
    {Qt::Key_Space, KeyCodes::Space},
    {Qt::Key_PageUp, KeyCodes::PageUp},
    {Qt::Key_PageDown, KeyCodes::PageDown},
    {Qt::Key_End, KeyCodes::End},
    {Qt::Key_Home, KeyCodes::Home},
    {Qt::Key_Left, KeyCodes::Left},
    {Qt::Key_Up, KeyCodes::Up},
    {Qt::Key_Right, KeyCodes::Right},
    {Qt::Key_Down, KeyCodes::Down},
    {Qt::Key_Insert, KeyCodes::Insert},
    {Qt::Key_Delete, KeyCodes::Delete},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
}};

constexpr int kFunctionKeyCount = 12;

} // namespace

int buttonCodeOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return MouseButtons::Left;
    case Qt::RightButton: return MouseButtons::Right;
    case Qt::MiddleButton: return MouseButtons::Middle;
    default: return 0;
    }
}

int buttonCodesOf(Qt::MouseButtons buttons)
{
    int codes = 0;
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & button) codes += buttonCodeOf(button);
    }
    return codes;
}

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ShiftModifier) state |= ShiftKeys::Shift;
    if (modifiers & Qt::ControlModifier) state |= ShiftKeys::Ctrl;
    if (modifiers & Qt::AltModifier) state |= ShiftKeys::Alt;
    return state;
}

int keyCodeOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return qtKey;   // Qt numbers these keys by their capital letter and digit, as the codes do
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeyCount) {
        return KeyCodes::F1 + (qtKey - Qt::Key_F1);
    }
    for (const auto& [key, code] : kNamedKeys) {
        if (key == qtKey) return code;
    }
    return 0;
}

int characterOf(const QString& text)
{
    if (text.isEmpty()) return -1;
    const auto characters = text.toUcs4();
    return characters.isEmpty() ? -1 : static_cast<int>(characters.front());
}

std::span<const std::pair<int, int>> namedKeyCodes() { return kNamedKeys; }

} // namespace snugbox
