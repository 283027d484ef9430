#pragma once

// Shows the wait cursor for its lifetime; restored on every path.
class HourglassGuard
{
public:
    HourglassGuard();
    ~HourglassGuard();
    HourglassGuard(const HourglassGuard &) = delete;
    HourglassGuard &operator=(const HourglassGuard &) = delete;
};
