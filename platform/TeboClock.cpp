#include "platform/TeboClock.h"

namespace {
std::function<QDateTime()> &source()
{
    static std::function<QDateTime()> s;
    return s;
}
} // namespace

QDateTime TeboClock::now()
{
    return source() ? source()() : QDateTime::currentDateTime();
}

void TeboClock::setSource(std::function<QDateTime()> s)
{
    source() = std::move(s);
}
