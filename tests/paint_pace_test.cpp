#include "ui/PaintPace.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

TEST(PaintPace, PaintsTheFirstRequestThenOnceAFrame) {
  struct Request {
    int at;  // ms
    bool painted;
  };
  // A frame is 15 ms, counted from the last paint done, not from the last request.
  const Request requests[] = {{0, true},   {1, false},  {14, false}, {15, true},  {16, false},
                              {29, false}, {30, true},  {500, true}, {500, false}, {514, false},
                              {515, true}};
  PaintPace pace(milliseconds(15));
  const PaintPace::Clock::time_point origin{};  // the clock's own origin must not look like a paint
  for (const Request& r : requests) EXPECT_EQ(pace.Due(origin + milliseconds(r.at)), r.painted) << "at " << r.at << " ms";
}

}  // namespace
