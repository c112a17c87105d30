#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "sim/gpu/RotateFrameKernel.h"
#include "sim/world/World.h"
#include "simulator/PhysicalArrangement.h"

class QPainter;

namespace turnlet::simulator {

// The simulated Mac's physical displays, each at its place in the user's arrangement, scaled to
// fit, each showing the compositor's picture of it. The mouse on the iPad's picture is a finger
// on the program's presentation view (the right button, or the wheel, two fingers). Main loop
// only: the loop that runs the program is the one that runs the widgets.
class DesktopView : public QWidget {
 public:
  DesktopView(sim::World& world, PhysicalArrangement& arrangement, QWidget* parent = nullptr);
  ~DesktopView() override;

  // Window pixels per display pixel; nothing: fit the widget, at most one to one.
  void setScale(std::optional<double> scale);
  // Draws the iPad that shows the turned desktop as the person holds it: turned with the rotation,
  // so that the desktop on it reads upright (at 90° the iPad stands in portrait). The mouse on it
  // is still a finger at the same place of the iPad.
  void setHeld(bool held);
  bool isHeld() const { return held; }
  // How far the program turns the desktop on the iPad, in degrees clockwise (0, 90, 180, 270).
  std::function<int()> turnDegrees;
  // The display names drawn over the pictures' corners.
  void setLabelsShown(bool shown);
  // Takes new pictures when something that can be seen has changed since the last time.
  void refresh();
  // Where a display's picture is drawn, in widget pixels; empty when it is not.
  QRect pictureRect(DisplayID display) const;
  // The picture of a display as the last refresh took it (at its pixels, or halved to be shown
  // small); null when there is none.
  const sim::MemoryPixelBuffer* picture(DisplayID display) const;
  // Observation: called at the end of every paint.
  std::function<void()> onPainted;

  // The platform's device-independent modifier bits for the keys held.
  static std::uint64_t modifierFlags(Qt::KeyboardModifiers modifiers);
  static constexpr double twoFingerSpacing = 40;  // points apart on the view
  static constexpr double wheelPointsPerNotch = 40;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  struct Picture {
    std::shared_ptr<sim::MemoryPixelBuffer> buffer;
    QImage image;  // over the buffer's bytes
    std::uint64_t taken = 0;  // which refresh took it last
    std::optional<std::uint64_t> changes;  // the compositor's change count it shows
    sim::PixelRegion dirty;     // its pixels taken again since it was last drawn
  };
  // A picture as it is drawn: at the size of its place and turned, made again only when the
  // picture, that size or the turn changed.
  struct Drawn {
    std::uint64_t taken = 0;
    int turn = 0;
    QSize place;
    QImage image;
  };
  const QImage& drawnPicture(DisplayID display, Picture& picture, QSize place, int turn);
  // The size a display's picture is taken at: its pixels, halved while that still leaves at least
  // a pixel for each of its place.
  std::optional<QSize> takenSize(DisplayID display) const;
  static QSize fittedSize(const sim::RotateFrameParameters& parameters, QSize place);
  double pixelsPerPoint() const;
  // The degrees a display's picture is drawn turned by (0 unless held), and where it stands then.
  int drawnTurn(DisplayID display) const;
  // The degrees the person holds a display turned by: the program's turn, on the display that
  // shows it, drawn so or not.
  int heldTurn(DisplayID display) const;
  static void drawBezel(QPainter& painter, const QRect& picture, int turn);
  static double bezelWidth(QSize picture);
  Rect drawnBounds(const PhysicalArrangement::Place& place) const;
  Rect drawnExtent() const;
  std::vector<double> signature(const sim::SimDisplay& display) const;
  std::shared_ptr<sim::SimTouchView> presentationFingers() const;
  // The view point under a widget position, when the presentation view is on a display drawn
  // here (and, if asked, the position is on its picture).
  std::optional<Point> viewPoint(QPointF position, bool onPicture) const;
  void holdFingers(QPointF position, int count);
  void liftFingers();

  sim::World& world;
  PhysicalArrangement& arrangement;
  std::optional<double> fixedScale;
  bool labels = true;
  bool held = false;
  std::map<DisplayID, Picture> pictures;
  std::uint64_t refreshes = 0;
  std::map<DisplayID, Drawn> drawn;
  sim::RotateFrameKernel kernel;
  // Where the last paint put each picture, and turned how: a refresh that leaves them there
  // repaints only the pictures it took again.
  std::map<DisplayID, std::pair<QRect, int>> painted;
  std::map<DisplayID, std::vector<double>> shown;
  std::weak_ptr<sim::SimTouchView> touching;
  int fingersDown = 0;
  std::vector<MainLoop::TimerId> swipeSteps;
};

}  // namespace turnlet::simulator
