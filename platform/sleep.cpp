#include "platform/sleep.h"

#include <chrono>
#include <thread>

namespace snugbox {

void sleepMilliseconds(int milliseconds)
{
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

} // namespace snugbox
