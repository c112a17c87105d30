#include "simulator/DesktopView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace turnlet::simulator {

namespace {

constexpr int margin = 16;

sim::PixelRegion united(const sim::PixelRegion& a, const sim::PixelRegion& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// The program's presentation window and its view: the window whose content is a GPU view.
std::pair<const sim::ServerWindow*, std::shared_ptr<sim::SimTouchView>> presentation(const sim::World& world) {
  for (const sim::ServerWindow* w : world.windows.windows())
    if (auto view = std::dynamic_pointer_cast<sim::SimGpuView>(w->contentView())) return {w, view->fingers()};
  return {nullptr, nullptr};
}

}  // namespace

DesktopView::DesktopView(sim::World& world, PhysicalArrangement& arrangement, QWidget* parent)
    : QWidget(parent), world(world), arrangement(arrangement) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(320, 200);
}

DesktopView::~DesktopView() {
  for (MainLoop::TimerId id : swipeSteps) world.loop.cancel(id);
}

void DesktopView::setScale(std::optional<double> scale) {
  fixedScale = scale;
  update();
}

void DesktopView::setHeld(bool on) {
  held = on;
  update();
}

int DesktopView::drawnTurn(DisplayID display) const { return held ? heldTurn(display) : 0; }

int DesktopView::heldTurn(DisplayID display) const {
  if (!turnDegrees) return 0;
  const auto fingers = presentationFingers();
  const auto screen = fingers ? fingers->windowScreenNumber() : std::nullopt;
  if (!screen || DisplayID(*screen) != display) return 0;
  const int degrees = ((turnDegrees() % 360) + 360) % 360;
  return degrees - degrees % 90;
}

// A held iPad turned a quarter stands with its sides swapped, keeping the edge that faces the
// main display where it was.
Rect DesktopView::drawnBounds(const PhysicalArrangement::Place& place) const {
  const Rect& b = place.bounds;
  if (drawnTurn(place.display.id) % 180 == 0) return b;
  const auto* main = world.displays.find(world.displays.mainDisplayID());
  const Rect m = main ? arrangement.find(main->id) ? arrangement.find(main->id)->bounds : main->bounds : Rect();
  const double x = b.maxX() <= m.minX() ? b.maxX() - b.height() : b.minX();
  const double y = b.maxY() <= m.minY() ? b.maxY() - b.width() : b.minY();
  return Rect(x, y, b.height(), b.width());
}

Rect DesktopView::drawnExtent() const {
  std::optional<Rect> all;
  for (const auto& p : arrangement.places()) all = all ? all->united(drawnBounds(p)) : drawnBounds(p);
  return all.value_or(Rect());
}

void DesktopView::setLabelsShown(bool shown) {
  labels = shown;
  update();
}

// What one display's picture is drawn from, as numbers: the displays and their places, the
// program's windows and the applications' windows over it (with the frames a view has shown), the
// pointer's events and an animated background. A display whose numbers did not change keeps its
// picture: a new frame on the iPad does not redraw the Mac's display.
std::vector<double> DesktopView::signature(const sim::SimDisplay& display) const {
  std::vector<double> s;
  for (const sim::SimDisplay& d : world.displays.displays())
    s.insert(s.end(), {double(d.id), d.bounds.minX(), d.bounds.minY(), d.bounds.width(), d.bounds.height(), d.scale});
  for (const auto& p : arrangement.places()) s.insert(s.end(), {p.bounds.minX(), p.bounds.minY()});
  const Rect& b = display.bounds;
  const auto over = [&](const Rect& r) {
    return r.minX() < b.maxX() && b.minX() < r.maxX() && r.minY() < b.maxY() && b.minY() < r.maxY();
  };
  for (const sim::ServerWindow* w : world.windows.windows()) {
    if (!over(world.compositor.globalFrame(*w))) continue;
    const WindowFrame f = w->frame();
    const auto view = std::dynamic_pointer_cast<sim::SimGpuView>(w->contentView());
    s.insert(s.end(), {f.x, f.y, f.width, f.height, w->alphaValue(), double(w->isVisible()),
                       view ? double(view->shownCount()) : -1.0});
  }
  for (const auto& [application, window] : world.windows.appWindowsFrontToBack())
    if (over(window->bounds))
      s.insert(s.end(), {double(window->number), window->bounds.minX(), window->bounds.minY(), window->bounds.width(),
                         window->bounds.height(), window->alpha});
  s.push_back(double(world.inputEvents.posted.size()));
  s.push_back(double(world.compositor.changeCount(display.id)));  // brightness, sleep, what windows show
  if (world.compositor.animateBackground) s.push_back(world.loop.now());
  return s;
}

void DesktopView::refresh() {
  arrangement.update(world.displays);
  ++refreshes;
  std::map<DisplayID, Picture> taken;
  std::map<DisplayID, std::vector<double>> now;
  std::vector<DisplayID> changed;
  bool whole = pictures.size() != arrangement.places().size();
  for (const auto& place : arrangement.places()) {
    const DisplayID id = place.display.id;
    const auto* display = world.displays.find(id);
    const auto size = display ? takenSize(id) : std::nullopt;
    if (!size) continue;
    now[id] = signature(*display);
    auto old = pictures.find(id);
    // Kept while nothing on it changed and its place did not change the size it is taken at.
    if (old != pictures.end() && shown[id] == now[id] && old->second.image.size() == *size) {
      taken[id] = std::move(old->second);
      continue;
    }
    changed.push_back(id);
    const sim::StageTimer timer(world.timings, sim::FrameStage::windowCopy);
    // A picture of the same size is drawn again into the buffer it had, without allocating, and
    // only where it changed (the parked iPad overlaps the Mac's corner by a point: each of its
    // frames changes a few of the Mac's pixels).
    Picture picture;
    if (old != pictures.end() && old->second.image.size() == *size) {
      picture = std::move(old->second);
    } else {
      picture.buffer = sim::MemoryPixelBuffer::make(std::size_t(size->width()), std::size_t(size->height()));
      picture.image = QImage(picture.buffer->baseAddress(), size->width(), size->height(),
                             qsizetype(picture.buffer->bytesPerRow()), QImage::Format_RGB32);
    }
    const auto region = world.compositor.drawChanges(id, *picture.buffer, picture.changes);
    if (!region) continue;
    if (!region->empty()) picture.taken = refreshes, picture.dirty = united(picture.dirty, *region);
    taken[id] = std::move(picture);
  }
  pictures = std::move(taken);
  shown = std::move(now);
  if (changed.empty() && !whole) return;
  // A new frame on the iPad repaints the iPad's picture alone, while every picture stays where
  // and as the last paint put it.
  for (const auto& place : arrangement.places()) {
    const auto at = painted.find(place.display.id);
    whole = whole || at == painted.end() ||
            at->second != std::pair(pictureRect(place.display.id), drawnTurn(place.display.id));
  }
  if (whole) return update();
  for (DisplayID id : changed) update(pictureRect(id));
}

std::optional<QSize> DesktopView::takenSize(DisplayID display) const {
  const auto pixels = world.displays.currentModePixelSize(display);
  if (!pixels || pixels->width == 0 || pixels->height == 0) return std::nullopt;
  QSize size(int(pixels->width), int(pixels->height));
  QSize place = pictureRect(display).size();
  if (drawnTurn(display) % 180 != 0) place.transpose();
  // Fitted from less than twice its size, the bilinear fit passes over no texel; from more, it
  // would read texels only to pass over them.
  while (!place.isEmpty() && size.width() % 2 == 0 && size.height() % 2 == 0 && size.width() / 2 >= place.width() &&
         size.height() / 2 >= place.height())
    size /= 2;
  return size;
}

double DesktopView::pixelsPerPoint() const {
  const Rect all = drawnExtent();
  if (all.isEmpty()) return 0;
  double densest = 1;
  for (const auto& p : arrangement.places()) densest = std::max(densest, p.display.scale);
  if (fixedScale) return densest * *fixedScale;
  const double fit = std::min((width() - 2 * margin) / (all.width() * densest),
                              (height() - 2 * margin) / (all.height() * densest));
  return densest * std::clamp(fit, 0.01, 1.0);
}

const sim::MemoryPixelBuffer* DesktopView::picture(DisplayID display) const {
  const auto found = pictures.find(display);
  return found == pictures.end() ? nullptr : found->second.buffer.get();
}

QRect DesktopView::pictureRect(DisplayID display) const {
  const auto* place = arrangement.find(display);
  const double k = pixelsPerPoint();
  if (!place || k <= 0) return {};
  const Rect all = drawnExtent();
  // Whole-pixel offsets, so that at one to one every display pixel lands on one window pixel.
  const double left = std::floor((width() - all.width() * k) / 2), top = std::floor((height() - all.height() * k) / 2);
  const Rect b = drawnBounds(*place);
  const auto x0 = std::lround(left + (b.minX() - all.minX()) * k), x1 = std::lround(left + (b.maxX() - all.minX()) * k);
  const auto y0 = std::lround(top + (b.minY() - all.minY()) * k), y1 = std::lround(top + (b.maxY() - all.minY()) * k);
  return QRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0));
}

void DesktopView::paintEvent(QPaintEvent*) {
  sim::StageTimings* timings = world.timings;
  const double start = timings ? timings->now() : 0;
  double turning = 0;
  QPainter painter(this);
  painter.fillRect(rect(), QColor(46, 48, 54));
  const auto [window, fingers] = presentation(world);
  const auto turnedOn = fingers ? fingers->windowScreenNumber() : std::nullopt;
  painted.clear();
  // Outlines first: they show only in the gaps and margins, never over a picture.
  painter.setPen(QPen(QColor(120, 124, 134), 1));
  for (const auto& place : arrangement.places()) painter.drawRect(pictureRect(place.display.id).adjusted(-1, -1, 0, 0));
  for (const auto& place : arrangement.places()) {
    const QRect r = pictureRect(place.display.id);
    const auto picture = pictures.find(place.display.id);
    painted[place.display.id] = {r, drawnTurn(place.display.id)};
    if (picture == pictures.end()) {
      painter.fillRect(r, Qt::black);
    } else {
      const int turn = drawnTurn(place.display.id);
      const double turnStart = timings && turn ? timings->now() : 0;
      // The drawn picture misses its place by a pixel at most; stretched that little, nearest.
      const QImage& image = drawnPicture(place.display.id, picture->second, r.size(), turn);
      if (image.size() == r.size()) painter.drawImage(r.topLeft(), image);
      else painter.drawImage(r, image);
      if (timings && turn) turning += timings->now() - turnStart;
    }
  }
  const auto* ipad = arrangement.ipad(world.displays.mainDisplayID());
  if (ipad) drawBezel(painter, pictureRect(ipad->display.id), drawnTurn(ipad->display.id));
  if (labels) {
    for (const auto& place : arrangement.places()) {
      QString text = QString::fromStdString(place.display.name) + " · ";
      if (ipad && place.display.id == ipad->display.id) {
        // The iPad as the person holds it, whether or not it is drawn so.
        const bool quarter = heldTurn(place.display.id) % 180 != 0;
        const double w = quarter ? place.bounds.height() : place.bounds.width();
        const double h = quarter ? place.bounds.width() : place.bounds.height();
        text += QString(w < h ? "portrait " : "landscape ");
        text += QString("%1×%2").arg(w).arg(h);
      } else {
        text += QString("%1×%2").arg(place.bounds.width()).arg(place.bounds.height());
      }
      if (place.display.id == world.displays.mainDisplayID()) text += " · main";
      if (turnedOn && *turnedOn == std::int64_t(place.display.id)) text += " · showing the turned desktop";
      QFont font = painter.font();
      font.setPixelSize(13);
      painter.setFont(font);
      const QRect r = pictureRect(place.display.id);
      const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-6, -3, 6, 3);
      const QRect at = box.translated(r.topLeft() - box.topLeft() + QPoint(8, 8));
      painter.fillRect(at, QColor(0, 0, 0, 170));
      painter.setPen(Qt::white);
      painter.drawText(at, Qt::AlignCenter, text);
    }
  }
  if (timings) {
    if (turning > 0) timings->add(sim::FrameStage::heldTurn, turning);
    timings->add(sim::FrameStage::windowPaint, timings->now() - start - turning);
  }
  if (onPainted) onPainted();
}

// A picture as it is drawn, made again only when it was taken again or its place or turn changed:
// scaling a whole picture on every paint cost more than all the rest of it. One pass of the
// rotation kernel turns and fits it (bilinear, as smooth drawing samples), where a turn of the
// whole picture and then its scaling read and wrote it twice and allocated one on every paint.
const QImage& DesktopView::drawnPicture(DisplayID display, Picture& picture, QSize place, int turn) {
  if (turn == 0 && place == picture.image.size()) return picture.image;
  Drawn& d = drawn[display];
  const bool same = d.turn == turn && d.place == place && !d.image.isNull();
  if (same && d.taken == picture.taken) return d.image;
  d.taken = picture.taken, d.turn = turn, d.place = place;
  const sim::PixelRegion dirty = std::exchange(picture.dirty, {});
  const sim::MemoryPixelBuffer& from = *picture.buffer;
  // The kernel's quarter turns go anticlockwise; the picture is drawn turned clockwise.
  sim::RotateFrameParameters p{std::uint32_t(from.width()), std::uint32_t(from.height()), 0, 0,
                               std::uint32_t((360 - turn) / 90 % 4)};
  const QSize size = fittedSize(p, place);
  if (size.isEmpty()) return d.image = QImage();
  if (d.image.size() != size) d.image = QImage(size, QImage::Format_RGB32);
  p.dw = std::uint32_t(size.width()), p.dh = std::uint32_t(size.height());
  sim::PixelRegion region{0, 0, std::size_t(size.width()), std::size_t(size.height())};
  if (same && turn == 0) {
    // Unturned, only the pixels that sample what was taken again (a texel's reach, and a pixel of
    // rounding, either side).
    const double scale = std::min(double(size.width()) / double(from.width()), double(size.height()) / double(from.height()));
    const auto edge = [scale](std::size_t v, double outwards, std::size_t limit) {
      return std::size_t(std::clamp(std::floor((double(v) + outwards) * scale + outwards), 0.0, double(limit)));
    };
    region = {edge(dirty.x0, -1, region.x1), edge(dirty.y0, -1, region.y1), edge(dirty.x1, 2, region.x1),
              edge(dirty.y1, 2, region.y1)};
    if (region.empty()) return d.image;
  }
  kernel.run({from.baseAddress(), from.width(), from.height(), from.bytesPerRow()}, p,
             {d.image.bits(), std::size_t(size.width()), std::size_t(size.height()), std::size_t(d.image.bytesPerLine())},
             region);
  return d.image;
}

// The largest size within the place that the kernel fills without its black bars: the picture's
// aspect, a few pixels short of the place on one side. The test is the kernel's own, in 32-bit
// floats, where a side the fit reaches can come out a hair over and push the picture a pixel off.
// The place itself when no size near it fills.
QSize DesktopView::fittedSize(const sim::RotateFrameParameters& p, QSize place) {
  const bool odd = p.turns % 2 != 0;
  const float sx = float(odd ? p.sh : p.sw), sy = float(odd ? p.sw : p.sh);
  const auto fills = [&](int w, int h) {
    const float scale = std::min(float(w) / sx, float(h) / sy);
    const float ox = std::floor((float(w) - sx * scale) * 0.5f), oy = std::floor((float(h) - sy * scale) * 0.5f);
    return ox == 0 && oy == 0 && (float(w) - 0.5f - ox) / scale < sx && (float(h) - 0.5f - oy) / scale < sy;
  };
  const int w = place.width(), h = place.height();
  QSize best;
  const auto consider = [&](int cw, int ch) {
    if (cw > 0 && ch > 0 && cw <= w && ch <= h && cw * ch > best.width() * best.height() && fills(cw, ch))
      best = QSize(cw, ch);
  };
  for (int shorter = 0; shorter < 6; ++shorter) {
    const int high = int(std::lround(sy * float(w - shorter) / sx)), wide = int(std::lround(sx * float(h - shorter) / sy));
    for (int d = -1; d <= 1; ++d) consider(w - shorter, high + d), consider(wide + d, h - shorter);
  }
  return best.isEmpty() ? place : best;
}

// The iPad's case around its picture, drawn over the neighbours' edges, with the camera in the
// middle of its top edge and the port in the middle of its right edge (the bottom one, for an iPad
// whose own pixels stand in portrait), where they are as it sits: turned with the picture.
void DesktopView::drawBezel(QPainter& painter, const QRect& picture, int turn) {
  if (picture.isEmpty()) return;
  const bool quarter = turn % 180 != 0;
  const QSizeF own = quarter ? QSizeF(picture.height(), picture.width()) : QSizeF(picture.size());
  const double t = bezelWidth(picture.size());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(QRectF(picture).center());
  painter.rotate(turn);
  const QRectF screen(-own.width() / 2, -own.height() / 2, own.width(), own.height());
  QPainterPath bezel;
  bezel.addRoundedRect(screen.adjusted(-t, -t, t, t), 2 * t, 2 * t);
  QPainterPath hole;
  hole.addRect(screen);
  // Filled without a pen, not a hair over the picture; the outline on the outer edge only.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(28, 28, 31));
  painter.drawPath(bezel.subtracted(hole));
  painter.setPen(QPen(QColor(96, 98, 106), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(screen.adjusted(-t, -t, t, t), 2 * t, 2 * t);
  const double lens = std::max(1.5, t * 0.28);
  painter.setPen(QPen(QColor(70, 74, 90), std::max(1.0, lens * 0.5)));
  painter.setBrush(QColor(8, 8, 12));
  painter.drawEllipse(QPointF(0, screen.top() - t / 2), lens, lens);
  const bool portrait = own.width() < own.height();
  const QSizeF port = portrait ? QSizeF(t * 1.8, t * 0.4) : QSizeF(t * 0.4, t * 1.8);
  const QPointF at = portrait ? QPointF(0, screen.bottom() + t) : QPointF(screen.right() + t, 0);
  painter.setPen(QPen(QColor(20, 20, 22), 1));
  painter.setBrush(QColor(170, 172, 180));
  painter.drawRoundedRect(QRectF(at - QPointF(port.width() / 2, port.height() / 2), port), port.width() / 3,
                          port.height() / 3);
  painter.restore();
}

double DesktopView::bezelWidth(QSize picture) {
  return std::clamp(std::round(0.04 * std::min(picture.width(), picture.height())), 4.0, double(margin - 4));
}

std::uint64_t DesktopView::modifierFlags(Qt::KeyboardModifiers modifiers) {
  std::uint64_t flags = 0;
  if (modifiers & Qt::ShiftModifier) flags |= std::uint64_t{1} << 17;
  if (modifiers & Qt::ControlModifier) flags |= std::uint64_t{1} << 18;
  if (modifiers & Qt::AltModifier) flags |= std::uint64_t{1} << 19;
  if (modifiers & Qt::MetaModifier) flags |= std::uint64_t{1} << 20;
  return flags;
}

std::shared_ptr<sim::SimTouchView> DesktopView::presentationFingers() const { return presentation(world).second; }

std::optional<Point> DesktopView::viewPoint(QPointF position, bool onPicture) const {
  const auto [window, fingers] = presentation(world);
  const auto screen = fingers ? fingers->windowScreenNumber() : std::nullopt;
  if (!screen) return std::nullopt;
  const auto id = DisplayID(*screen);
  const auto* place = arrangement.find(id);
  const auto* now = world.displays.find(id);
  const auto* main = world.displays.find(world.displays.mainDisplayID());
  const QRectF r = pictureRect(id);
  if (!place || !now || !main || r.isEmpty() || (onPicture && !r.contains(position))) return std::nullopt;
  // Widget pixels to fractions of the held picture, turned back to fractions of the iPad's own;
  // to the display's points (y down), to global window-system points (y up, from
  // the main display's bottom-left corner, where the display is now), to the window's own.
  const double u = (position.x() - r.left()) / r.width(), v = (position.y() - r.top()) / r.height();
  double a = u, b = v;
  switch (drawnTurn(id)) {
    case 90: a = v, b = 1 - u; break;
    case 180: a = 1 - u, b = 1 - v; break;
    case 270: a = 1 - v, b = u; break;
    default: break;
  }
  const double x = a * place->bounds.width(), y = b * place->bounds.height();
  const WindowFrame frame = window->frame();
  const Point local{now->bounds.minX() + x - frame.x, main->bounds.height() - (now->bounds.minY() + y) - frame.y};
  return fingers->isFlipped() ? Point{local.x, fingers->bounds().height() - local.y} : local;
}

void DesktopView::holdFingers(QPointF position, int count) {
  auto fingers = presentationFingers();
  const auto at = viewPoint(position, true);
  if (fingersDown || !fingers || !at) return;
  touching = fingers;
  fingersDown = count;
  fingers->touchDown(1, *at);
  if (count == 2) fingers->touchDown(2, {at->x + twoFingerSpacing, at->y});
}

void DesktopView::liftFingers() {
  auto fingers = touching.lock();
  const int count = std::exchange(fingersDown, 0);
  if (!fingers) return;
  for (int finger = 1; finger <= count; ++finger) fingers->touchUp(std::uint64_t(finger));
}

void DesktopView::mousePressEvent(QMouseEvent* event) {
  if (auto fingers = presentationFingers()) fingers->modifierFlags = modifierFlags(event->modifiers());
  if (event->button() == Qt::LeftButton) holdFingers(event->position(), 1);
  if (event->button() == Qt::RightButton) holdFingers(event->position(), 2);
}

void DesktopView::mouseMoveEvent(QMouseEvent* event) {
  auto fingers = touching.lock();
  if (!fingersDown || !fingers) return;
  fingers->modifierFlags = modifierFlags(event->modifiers());
  const auto at = viewPoint(event->position(), false);
  if (!at) return;
  fingers->touchMove(1, *at);
  if (fingersDown == 2) fingers->touchMove(2, {at->x + twoFingerSpacing, at->y});
}

void DesktopView::mouseReleaseEvent(QMouseEvent* event) {
  if (auto fingers = touching.lock()) fingers->modifierFlags = modifierFlags(event->modifiers());
  const bool ends = (fingersDown == 1 && event->button() == Qt::LeftButton) ||
                    (fingersDown == 2 && event->button() == Qt::RightButton);
  if (ends && swipeSteps.empty()) liftFingers();
}

// A wheel turn is a short two-finger swipe on the loop's clock: fingers moving down the picture
// as it is drawn scroll up, as on the iPad. The swipe's ends go through the drawn turn as a press
// does, so the desktop scrolls the way the wheel turned however the iPad is held.
void DesktopView::wheelEvent(QWheelEvent* event) {
  if (fingersDown) return;
  const QPointF notches = QPointF(event->angleDelta()) / 120.0;
  const QPointF from = event->position(), to = from + notches * wheelPointsPerNotch * pixelsPerPoint();
  const auto start = viewPoint(from, true), end = viewPoint(to, false);
  if (!start || !end) return;
  holdFingers(from, 2);
  if (!fingersDown) return;
  constexpr int steps = 6;
  for (int i = 1; i <= steps + 1; ++i) {
    swipeSteps.push_back(world.loop.schedule(i / 60.0, [this, i, a = *start, b = *end] {
      if (i > steps) {
        swipeSteps.clear();
        return liftFingers();
      }
      if (auto fingers = touching.lock()) {
        const Point p{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps};
        fingers->touchMove(1, p);
        fingers->touchMove(2, {p.x + twoFingerSpacing, p.y});
      }
    }));
  }
}

void DesktopView::keyPressEvent(QKeyEvent* event) {
  if (auto fingers = presentationFingers()) fingers->modifierFlags = modifierFlags(event->modifiers());
  QWidget::keyPressEvent(event);
}

void DesktopView::keyReleaseEvent(QKeyEvent* event) {
  if (auto fingers = presentationFingers()) fingers->modifierFlags = modifierFlags(event->modifiers());
  QWidget::keyReleaseEvent(event);
}

}  // namespace turnlet::simulator
