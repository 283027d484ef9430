#pragma once

#include <QDateTime>
#include <functional>

// Local date and time. Tests inject a clock (date change of the serial log,
// times of bulk creation); everyone else reads the real one.
class TeboClock
{
public:
    static QDateTime now();
    static void setSource(std::function<QDateTime()> source); // empty = real clock
};
