#include "simulator/ControlWindowPlacement.h"

#include <algorithm>
#include <tuple>

namespace turnlet::simulator {

namespace {

long long overlap(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// `low` to `high` (the last position at which a window still fits); `low` when it does not fit.
int clampedTo(int value, int low, int high) { return high < low ? low : std::clamp(value, low, high); }

}  // namespace

QPoint ControlWindowPlacement::position() const {
  const int w = controlFrame.width(), h = controlFrame.height();
  const QRect& sim = simulatorFrame;
  // Edges as QRect has them: right() and bottom() are the last pixels inside.
  std::vector<int> xs{available.left(), available.right() + 1 - w, sim.right() + 1 + gap, sim.left() - gap - w,
                      sim.right() + 1 - w, sim.left()};
  std::vector<int> ys{available.top(), available.bottom() + 1 - h, sim.top(), sim.bottom() + 1 + gap,
                      sim.top() - gap - h, sim.bottom() + 1 - h};
  std::vector<QRect> pictures = otherPictures;
  if (!ipadPicture.isEmpty()) pictures.push_back(ipadPicture);
  for (const QRect& p : pictures) {
    xs.insert(xs.end(), {p.left() - gap - w, p.right() + 1 + gap});
    ys.insert(ys.end(), {p.top() - gap - h, p.bottom() + 1 + gap});
  }
  const QPoint preferred(sim.right() + 1 + gap, sim.top());
  std::tuple<long long, long long, long long, long long> best{-1, 0, 0, 0};
  QPoint chosen;
  for (int x : xs) {
    for (int y : ys) {
      const QRect spot(clampedTo(x, available.left(), available.right() + 1 - w),
                       clampedTo(y, available.top(), available.bottom() + 1 - h), w, h);
      long long others = 0;
      for (const QRect& p : otherPictures) others += overlap(spot, p);
      const long long dx = spot.left() - preferred.x(), dy = spot.top() - preferred.y();
      const std::tuple cost{overlap(spot, ipadPicture), others, overlap(spot, sim), dx * dx + dy * dy};
      if (std::get<0>(best) < 0 || cost < best) best = cost, chosen = spot.topLeft();
    }
  }
  return chosen;
}

}  // namespace turnlet::simulator
