// Holds a window to at most one paint a frame, however often a scan asks it to repaint.
#pragma once

#include <chrono>

class PaintPace {
 public:
  using Clock = std::chrono::steady_clock;

  // A screen shows a new picture about every 15 ms; painting more often only costs time.
  static constexpr Clock::duration kFrame = std::chrono::milliseconds(15);

  explicit PaintPace(Clock::duration frame = kFrame) : frame_(frame) {}

  // True when a paint asked for at `now` is to be done (and it then counts as done): the first
  // one, and any that comes a frame or more after the last one done. A skipped paint loses
  // nothing: what changed stays marked for painting until a later paint or the message loop.
  bool Due(Clock::time_point now) {
    if (painted_ && now - last_ < frame_) return false;
    painted_ = true;
    last_ = now;
    return true;
  }

 private:
  Clock::duration frame_;
  Clock::time_point last_{};
  bool painted_ = false;
};
