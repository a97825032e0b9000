#pragma once
// The program as the desktop sees it: its name and version, its icon, the screen, the
// event loop that runs until the main window closes, and an orderly quit when the
// program is asked to end from outside (SIGTERM, SIGINT, the end of the desktop session).

#include <functional>
#include <memory>
#include <string>

namespace snugbox {

struct ScreenSize {
    int width = 0;
    int height = 0;
    bool operator==(const ScreenSize&) const = default;
};

class Application {
public:
    // The one application object, set up at the first call, which everything else makes
    // first: windows, timers and controls need it. It lives until the program ends.
    static Application& instance();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static std::string title();   // "Snugbox"
    static int versionMajor();
    static int versionMinor();

    // The primary screen in logical pixels.
    ScreenSize screenSize() const;

    // Handles events until the main window has closed; returns at once when no main
    // window is open. If the main window is still open when the loop ends for another
    // reason, it is closed the way its close box closes it.
    int run();

    // An orderly quit closes every modal window and every message box (as its OK button
    // would), lets the code that opened them run on, and then, once no modal window is
    // open, calls the quit handler on the user-interface thread. Without a handler the
    // main window is closed the way its close box closes it. Until then no message box
    // waits for the player. SIGTERM, SIGINT, SIGHUP and the end of the desktop session
    // all come here.
    void setQuitHandler(std::function<void()> handler);
    void requestQuit();
    bool isQuitting() const;   // a quit was requested and has not been delivered yet

    // The icon every window shows, from the files "snugbox-<size>.png" in the directory.
    // Without such files there is no icon; nothing is reported. Decoding all of them takes
    // longer than the window system needs to show a first window, so a program may load
    // the one size desktops ask for first and the rest once its first window is up.
    enum class IconSizes { FirstAsked, All };
    void loadIcon(const std::string& directory, IconSizes sizes = IconSizes::All);
    bool hasIcon() const;

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    Application();
    ~Application();
    std::unique_ptr<Impl> impl_;
};

} // namespace snugbox
