#include "clock.h"

#include "dates.h"

double SystemClock::now() const
{
    return secondsSinceReference(QDateTime::currentDateTimeUtc());
}
