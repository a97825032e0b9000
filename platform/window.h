#pragma once
// The game's windows: the main window, the title-bar dialogs and the borderless welcome
// picture. Each window keeps a persistent drawing surface and always shows exactly what
// was drawn into it; refresh() puts what changed on the screen at once, so that a frame
// painted before a blocking sleep is seen during the sleep.
//
// All sizes and positions are logical pixels. On a high-density screen the whole window is
// scaled by the platform and mouse positions still arrive in the same logical pixels,
// as whole numbers.

#include <functional>
#include <memory>
#include <string>

namespace snugbox {

class Surface;

// Mouse buttons as the handlers receive them; several held at once are added together.
namespace MouseButtons {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;
} // namespace MouseButtons

// The shift state passed along with mouse and key events.
namespace ShiftKeys {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace ShiftKeys

// Key codes of key-down events, in the classic desktop numbering: letters are their
// capitals ('A' = 65), digits their characters ('0' = 48).
namespace KeyCodes {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;
inline constexpr int Pause = 19;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;   // F1 to F12 are 112 to 123
} // namespace KeyCodes

enum class WindowKind {
    Main,        // caption with minimize and close boxes; its outer size stays fixed; closing it ends the program
    Dialog,      // caption with a close box; fixed client size; opens centred on the screen
    Borderless,  // no frame and no caption; fixed size; opens centred on the screen
};

enum class WindowState { Normal, Minimized, Maximized };

// What a window tells its owner. Every handler runs on the user-interface thread and runs
// to its end before the next event or timer tick is handled. The defaults do nothing.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    // Once per opening, before the window first appears: build the layout and draw.
    // The surface is black and sized to the window when this runs.
    virtual void onLoad() {}
    // Whenever the window becomes the active window.
    virtual void onActivate() {}
    // After a change of size or of window state (minimized, restored).
    virtual void onResize() {}
    // When the window closes, whatever closed it: close(), the close box, the end of the program.
    virtual void onUnload() {}

    // A press of one button (MouseButtons) at a client position. The second press of a
    // quick double press arrives as onDoubleClick() instead.
    virtual void onMouseDown(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
    // buttons: the buttons held during the move, added together.
    virtual void onMouseMove(int /*buttons*/, int /*shift*/, float /*x*/, float /*y*/) {}
    virtual void onDoubleClick() {}

    // For every key pressed while no control of the window has the keyboard focus: first
    // key-down with the key code (KeyCodes), then key-press with the character it types
    // (13 for Enter, 27 for Esc) when it types one.
    virtual void onKeyDown(int /*keyCode*/, int /*shift*/) {}
    virtual void onKeyPress(int /*character*/) {}
};

class Window {
public:
    // Main: width x height is the outer size, frame included. Where a window manager adds
    // a frame the client area is that much smaller, once the frame is known.
    // Dialog and Borderless: width x height is the client area.
    // The events object must outlive the window.
    Window(WindowKind kind, int width, int height, WindowEvents& events);
    // An open window just disappears: its owner is going away, so onUnload does not run.
    // Close it first where the unload handler matters.
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    WindowKind kind() const;

    // Loads the window (onLoad) unless it is open already, then shows it. Not modal. When
    // the program is quitting, the window loads but does not appear; the quit closes it.
    void show();
    // Loads and shows the window modally and returns when it has closed. Meanwhile the
    // other windows take no mouse or keyboard input, and every enabled timer keeps
    // ticking. When the program is quitting, the window loads and closes at once.
    void showModal();
    // Runs the action once, from the event loop, after the window's first picture has been
    // put on the screen: work that this window does not need can wait until then.
    void afterFirstShown(std::function<void()> action);
    // Runs onUnload, hides the window and disables its timers. The surface is kept until
    // the next opening loads afresh. Closing the main window closes every other open
    // window and ends the program's event loop.
    void close();
    bool isOpen() const;
    bool isModal() const;   // open inside showModal() now

    // The persistent drawing surface; the same object for the window's whole life.
    Surface& surface();
    // Presents what was drawn since the last refresh, before returning.
    void refresh();

    void setCaption(const std::string& caption);
    std::string caption() const;

    // Fixes the client area; the surface grows with it when needed.
    void setClientSize(int width, int height);
    int clientWidth() const;
    int clientHeight() const;
    // Fixes the outer size, frame included: the client area is that size less the frame.
    void setOuterSize(int width, int height);
    int outerWidth() const;
    int outerHeight() const;
    // The outer top-left corner on the screen. A position set before the window opens or
    // while it loads is kept; otherwise each opening places the window by its kind's rule:
    // the main window by mainWindowPosition(), the others centred on the screen.
    void moveTo(int left, int top);
    int left() const;
    int top() const;

    WindowState state() const;
    void minimize();
    void restore();
    bool isActive() const;

    struct Impl;
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// Twips, the classic screen unit: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Where the main window opens, in pixels: left = (screen width - outer width) / 2 and
// top = (screen height - outer height - 100) / 2, both worked out in twips; a top above
// the screen becomes 1 twip, a left off the screen is kept.
ScreenPoint mainWindowPosition(int screenWidth, int screenHeight, int outerWidthTwips,
                               int outerHeightTwips);

// Centred on the screen by the outer size, in pixels.
ScreenPoint centredPosition(int screenWidth, int screenHeight, int outerWidth, int outerHeight);

} // namespace snugbox
