// Mouse gestures over the plot: the wheel moves the zoom bar, a drag with the
// left button moves the offset bars, and the bars stay the one source of the
// view (the workspace's view follows their values and the plot is redrawn).
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <functional>

#include "window/committed_scroll_bar.h"
#include "window/picture_airfoil.h"
#include "window/view_bars.h"
#include "window_test_support.h"

namespace quilane {
namespace {

const QPoint kMiddle(400, 200);

class PlotGesturesTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSection("section.arf", "Gestures", 20);
    OpenWindow();
    picture = Control<PictureAirfoil>("Picture_Airfoil");
    zoom = Control<CommittedScrollBar>("HScroll_Olcek");
    x0 = Control<CommittedScrollBar>("HScroll_X0");
    y0 = Control<CommittedScrollBar>("VScroll_Y0");
    OpenThroughFileList("section.arf");
  }

  void Wheel(QWidget* target, int delta) {
    QWheelEvent event(QPointF(kMiddle), QPointF(target->mapToGlobal(kMiddle)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(picture->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &event);
  }
  // Presses `button` in the middle of the plot, moves by each step in turn,
  // and lets go.
  void Drag(const std::vector<QPoint>& steps, Qt::MouseButton button = Qt::LeftButton) {
    QPoint at = kMiddle;
    Mouse(QEvent::MouseButtonPress, at, button, button);
    for (const QPoint& step : steps) {
      at += step;
      Mouse(QEvent::MouseMove, at, Qt::NoButton, button);
    }
    Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
  }

  // The view in the workspace is what the bars say.
  void ExpectViewFromBars() {
    EXPECT_EQ(ws->PlotScale, ZoomFactor(zoom->value()));
    EXPECT_EQ(ws->PlotX0, OffsetX(x0->value()));
    EXPECT_EQ(ws->PlotY0, OffsetY(y0->value()));
  }

  PictureAirfoil* picture = nullptr;
  CommittedScrollBar* zoom = nullptr;
  CommittedScrollBar* x0 = nullptr;
  CommittedScrollBar* y0 = nullptr;
};

TEST_F(PlotGesturesTest, TheWheelMovesTheZoomBarOneStepPerNotch) {
  struct Case {
    const char* name;
    int start;
    std::vector<int> deltas;
    int value;
  };
  const Case cases[] = {
      {"one notch up zooms in", 0, {120}, 1},
      {"two notches down at once", 0, {-240}, -2},
      {"half notches add up", 0, {60, 60}, 1},
      {"a half notch alone does nothing", 0, {60}, 0},
      {"a reversal drops the other way's half", 0, {60, -60, -60}, -1},
      {"stops at the top of the range", 99, {360}, 100},
      {"stops at the bottom of the range", -4, {-360}, -5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->SetScrollOlcek(c.start);
    QEvent leave(QEvent::Leave);  // the pointer went away and came back:
    QApplication::sendEvent(picture, &leave);  // no half notch is left over
    picture->Cls();  // anything drawn from here on is a redraw
    const QImage cleared = picture->Picture().copy();
    for (int delta : c.deltas) Wheel(picture, delta);
    EXPECT_EQ(zoom->value(), c.value);
    if (c.value != c.start) {
      ExpectViewFromBars();
      EXPECT_NE(picture->Picture(), cleared);
    } else {
      EXPECT_EQ(picture->Picture(), cleared);
    }
  }
}

TEST_F(PlotGesturesTest, ADragMovesTheOffsetBarsSoThePictureFollows) {
  // At zoom 1 on the 800 x 400 surface a pixel is 1.2 / 800 chord units:
  // HScroll_X0 falls 0.015 steps per pixel to the right, VScroll_Y0 1.5 per
  // pixel downwards.
  struct Case {
    const char* name;
    int zoom;  // HScroll_Olcek
    int x0_start;
    int y0_start;
    std::vector<QPoint> steps;
    int x0;
    int y0;
  };
  const std::vector<QPoint> small_moves(41, QPoint(5, 0));
  const Case cases[] = {
      {"right 200 pixels", 0, 0, 0, {{200, 0}}, -3, 0},
      {"down 10 pixels", 0, 0, 0, {{0, 10}}, 0, -15},
      {"left and up", 0, 0, 0, {{-100, -4}}, 1, 6},
      {"small moves add up", 0, 0, 0, small_moves, -3, 0},
      {"there and back again", 0, 4, 100, {{150, 33}, {-150, -33}}, 4, 100},
      {"zoom 3 moves three times finer", 10, 0, 0, {{500, 21}}, -2, -10},
      {"stops at the ends of the ranges", 0, -49, 1990, {{400, -20}}, -50, 2000},
      {"moves back at once from an end", 0, -49, 0, {{400, 0}, {-67, 0}}, -49, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->SetScrollOlcek(c.zoom);
    form->SetScrollX0(c.x0_start);
    form->SetScrollY0(c.y0_start);
    picture->Cls();  // anything drawn from here on is a redraw
    const QImage cleared = picture->Picture().copy();
    Drag(c.steps);
    EXPECT_EQ(x0->value(), c.x0);
    EXPECT_EQ(y0->value(), c.y0);
    EXPECT_EQ(zoom->value(), c.zoom);
    ExpectViewFromBars();
    EXPECT_NE(picture->Picture(), cleared);
  }
}

TEST_F(PlotGesturesTest, OnlyTheLeftButtonDrags) {
  struct Case {
    const char* name;
    std::function<void()> gesture;
  };
  const Case cases[] = {
      {"right button", [&] { Drag({{200, 50}}, Qt::RightButton); }},
      {"middle button", [&] { Drag({{200, 50}}, Qt::MiddleButton); }},
      {"moving with no button",
       [&] { Mouse(QEvent::MouseMove, kMiddle + QPoint(200, 50), Qt::NoButton, Qt::NoButton); }},
      {"moving after the release",
       [&] {
         Drag({});
         Mouse(QEvent::MouseMove, kMiddle + QPoint(200, 50), Qt::NoButton, Qt::LeftButton);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.gesture();
    EXPECT_EQ(x0->value(), 0);
    EXPECT_EQ(y0->value(), 0);
  }
}

}  // namespace
}  // namespace quilane
