#include "platform/timer.h"

#include <algorithm>

#include "platform/timer_impl.h"
#include "platform/window_impl.h"

namespace snugbox {

void Timer::Impl::restart()
{
    if (timer == nullptr) {
        return;
    }
    // A zero-interval Qt timer would fire on every pass of the event loop; here it is silent.
    if (enabled && interval > 0 && owner != nullptr) {
        timer->start(interval);
    } else {
        timer->stop();
    }
}

void Timer::Impl::ownerGone()
{
    owner = nullptr;
    restart();
}

Timer::Timer(Window& owner) : impl_(std::make_unique<Impl>())
{
    Window::Impl& window = owner.impl();
    impl_->owner = &window;
    impl_->timer = new QTimer(window.widget.get());
    impl_->timer->setTimerType(Qt::PreciseTimer);
    window.timers.push_back(impl_.get());
    QObject::connect(impl_->timer, &QTimer::timeout, impl_->timer, [tick = impl_->tick] {
        if (tick->ticking || !tick->handler) {
            return;
        }
        tick->ticking = true;
        const auto handler = tick->handler;   // the handler may replace itself
        handler();
        tick->ticking = false;
    });
}

Timer::~Timer()
{
    impl_->tick->handler = nullptr;
    if (impl_->owner != nullptr) {
        std::erase(impl_->owner->timers, impl_.get());
    }
    if (impl_->timer != nullptr) {
        impl_->timer->stop();
        impl_->timer->deleteLater();   // this may run inside its own tick
    }
}

void Timer::setInterval(int milliseconds)
{
    impl_->interval = std::max(milliseconds, 0);
    impl_->restart();
}

int Timer::interval() const { return impl_->interval; }

void Timer::setEnabled(bool enabled)
{
    if (enabled == impl_->enabled) {
        return;
    }
    impl_->enabled = enabled;
    impl_->restart();
}

bool Timer::isEnabled() const { return impl_->enabled; }

void Timer::setTickHandler(std::function<void()> handler) { impl_->tick->handler = std::move(handler); }

} // namespace snugbox
