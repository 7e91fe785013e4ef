#include "app/ClockTick.h"

#include "calendar/CalendarClock.h"

#include <QTimer>
#include <algorithm>

using namespace std::chrono;

ClockTick::ClockTick(QTimer* timer, milliseconds lead) : timer_(timer), lead_(lead) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
}

void ClockTick::Schedule() {
    running_ = true;
    const auto now = system_clock::now();
    target_ = floor<seconds>(now) + seconds(1);
    const auto delay = duration_cast<milliseconds>(target_ - now) - lead_;
    timer_->start(std::max<milliseconds::rep>(delay.count(), 0));
}

void ClockTick::Stop() {
    running_ = false;
    timer_->stop();
}

// Fired just before the second turns, the sample waits a few milliseconds; a tick that came late
// takes the second that has already begun instead of waiting a whole one.
void ClockTick::Sample(CalendarClock& clock) const {
    const auto now = system_clock::now();
    if (target_ != system_clock::time_point{} && now >= target_) {
        SampleClock(clock, system_clock::to_time_t(floor<seconds>(now)));
    } else {
        ReadClock(clock);
    }
}
