// Live results: when the input runs again after an edit. A run follows a short
// quiet pause after the last key. A program whose run takes longer than that
// pause would make every pause in typing a wait for the run, so it waits for a
// quiet spell a few times its run instead; one that takes very long is not run
// live at all until the next Evaluate shows it has become quicker. The window
// owns the timer and the run; this only decides, and says what it decided in
// words for the status bar.
#pragma once
#include <QString>

struct TLivePlan {
    int Delay = 0; // milliseconds of quiet before the run; negative: no live run
    QString Note;  // for the status bar; empty when all is as usual
    bool operator==(const TLivePlan&) const = default;
};

class TLiveSchedule {
  public:
    static constexpr int Pause = 300;    // ms after the last edit
    static constexpr int LongRun = 2000; // a run at least this long is not repeated live
    static constexpr int SlowFactor = 3; // a slow run waits this many times its length

    void RunTook(int Milliseconds) { FLastRun = Milliseconds; }
    TLivePlan AfterEdit() const;

  private:
    int FLastRun = 0;
};
