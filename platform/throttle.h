#pragma once

#include <chrono>

namespace platform {

// Says when a long loop should let window events run: at most every
// `interval`, so that a million small steps do not cost a million event passes
// and the window still repaints several times a second.
class EventThrottle
{
public:
    explicit EventThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(25))
        : m_interval(interval), m_next(std::chrono::steady_clock::now() + interval)
    { }

    // True once the interval has passed since the last true.
    bool due()
    {
        if (++m_calls % 32 != 0)
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now < m_next)
            return false;
        m_next = now + m_interval;
        return true;
    }

private:
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_next;
    unsigned m_calls = 0;
};

} // namespace platform
