#pragma once

#include <chrono>

class QTimer;
struct CalendarClock;

// When the window's clock tick fires. It fires lead before the second turns, so that the sample
// waits only that long, and is scheduled anew after each tick while it runs.
class ClockTick {
public:
    // The timer is made single-shot and precise.
    ClockTick(QTimer* timer, std::chrono::milliseconds lead);

    void Schedule();
    void Stop();
    bool Running() const { return running_; }
    // Reads the clock at the second the tick aimed at.
    void Sample(CalendarClock& clock) const;

private:
    QTimer* timer_;
    std::chrono::milliseconds lead_;
    bool running_ = false;
    std::chrono::system_clock::time_point target_{};
};
