#include "LiveResults.h"

#include <algorithm>

namespace {
QString Seconds(int Milliseconds) {
    return QString::number(Milliseconds / 1000.0, 'f', 1) + QStringLiteral(" s");
}
} // namespace

TLivePlan TLiveSchedule::AfterEdit() const {
    if (FLastRun <= Pause) return {Pause, {}};
    if (FLastRun >= LongRun)
        return {-1, QStringLiteral("Live results paused: the last run took %1; press Enter to evaluate")
                        .arg(Seconds(FLastRun))};
    const int Delay = std::max(Pause, SlowFactor * FLastRun);
    return {Delay, QStringLiteral("Results are out of date: a run takes %1 ms, so it follows %2 after the last key")
                       .arg(FLastRun)
                       .arg(Seconds(Delay))};
}
