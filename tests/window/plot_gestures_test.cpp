// Mouse gestures over the plot: the wheel zooms one bar step per notch about
// the point under the pointer, a drag with the left button moves the picture
// with the pointer exactly; the offsets stay continuous and the bars show the
// nearest value they can, while their own arrows keep their steps.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <functional>

#include <QLineEdit>

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
  // The bars show the values nearest to the view, the zoom factor exactly.
  void ExpectBarsNearestTheView() {
    EXPECT_EQ(ws->PlotScale, ZoomFactor(zoom->value()));
    EXPECT_EQ(x0->value(), NearestX0Bar(ws->PlotX0));
    EXPECT_EQ(y0->value(), NearestY0Bar(ws->PlotY0));
  }
  PlotView View() const { return {ws->PlotScale, ws->PlotX0, ws->PlotY0}; }
  SurfaceSpan Span() const {
    return {static_cast<double>(picture->width()), static_cast<double>(picture->height()),
            kPlotWidth, kPlotHeight};
  }

  PictureAirfoil* picture = nullptr;
  CommittedScrollBar* zoom = nullptr;
  CommittedScrollBar* x0 = nullptr;
  CommittedScrollBar* y0 = nullptr;
};

TEST_F(PlotGesturesTest, TheWheelZoomsOneStepPerNotchAboutThePointer) {
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
    form->SetScrollX0(0);
    form->SetScrollY0(0);
    QEvent leave(QEvent::Leave);  // the pointer went away and came back:
    QApplication::sendEvent(picture, &leave);  // no half notch is left over
    const double x_under = DataXAt(View(), Span(), kMiddle.x());
    const double y_under = DataYAt(View(), Span(), kMiddle.y());
    picture->Cls();  // anything drawn from here on is a redraw
    const QImage cleared = picture->Picture().copy();
    for (int delta : c.deltas) Wheel(picture, delta);
    EXPECT_EQ(zoom->value(), c.value);
    EXPECT_EQ(ws->PlotScale, ZoomFactor(c.value));
    EXPECT_NEAR(Control<QLineEdit>("Text_Scale")->text().toDouble(), ZoomFactor(c.value), 1e-12);
    ExpectBarsNearestTheView();
    // The data point under the pointer stays there.
    EXPECT_NEAR(DataXAt(View(), Span(), kMiddle.x()), x_under, 1e-12);
    EXPECT_NEAR(DataYAt(View(), Span(), kMiddle.y()), y_under, 1e-12);
    if (c.value != c.start) {
      EXPECT_NE(picture->Picture(), cleared);
    } else {
      EXPECT_EQ(picture->Picture(), cleared);
    }
  }
}

TEST_F(PlotGesturesTest, TheWheelOverTheMiddleOfThePlotZoomsAboutItsCentre) {
  // The centre of the surface is the data point (PlotX0 + 0.5, PlotY0): a
  // zoom about it leaves the offsets as they are and the bars on their step.
  const QPoint centre(picture->width() / 2, picture->height() / 2);
  form->SetScrollX0(3);
  form->SetScrollY0(-40);
  QWheelEvent event(QPointF(centre), QPointF(picture->mapToGlobal(centre)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(picture, &event);
  EXPECT_EQ(zoom->value(), 2);
  EXPECT_NEAR(ws->PlotX0, 0.3, 1e-15);
  EXPECT_NEAR(ws->PlotY0, 0.04, 1e-15);
  EXPECT_EQ(x0->value(), 3);
  EXPECT_EQ(y0->value(), -40);
}

TEST_F(PlotGesturesTest, ADragMovesThePictureWithThePointerExactly) {
  // At zoom 1 on the 800 x 400 surface a pixel is 1.2 / 800 chord units.
  struct Case {
    const char* name;
    int zoom;  // HScroll_Olcek
    int x0_start;
    int y0_start;
    std::vector<QPoint> steps;
    double x0;  // PlotX0 afterwards
    double y0;  // PlotY0 afterwards
  };
  const std::vector<QPoint> small_moves(41, QPoint(5, 0));
  const Case cases[] = {
      {"right 200 pixels", 0, 0, 0, {{200, 0}}, -0.3, 0},
      {"down 10 pixels", 0, 0, 0, {{0, 10}}, 0, 0.015},
      {"left and up", 0, 0, 0, {{-100, -4}}, 0.15, -0.006},
      {"small moves add up", 0, 0, 0, small_moves, -0.3075, 0},
      {"there and back again", 0, 4, 100, {{150, 33}, {-150, -33}}, 0.4, -0.1},
      // At zoom 17 a drag across most of the plot still moves the view.
      {"zoom 17, 760 pixels", 80, 0, 0, {{760, 0}}, -760 * 1.2 / 800 / 17, 0},
      {"stops at the ends of the ranges", 0, -49, 1990, {{400, -20}}, -5, -2},
      {"moves back at once from an end", 0, -49, 0, {{400, 0}, {-100, 0}}, -4.85, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->SetScrollOlcek(c.zoom);
    form->SetScrollX0(c.x0_start);
    form->SetScrollY0(c.y0_start);
    picture->Cls();  // anything drawn from here on is a redraw
    const QImage cleared = picture->Picture().copy();
    Drag(c.steps);
    EXPECT_NEAR(ws->PlotX0, c.x0, 1e-12);
    EXPECT_NEAR(ws->PlotY0, c.y0, 1e-12);
    EXPECT_EQ(zoom->value(), c.zoom);
    ExpectBarsNearestTheView();
    EXPECT_NE(picture->Picture(), cleared);
  }
}

TEST_F(PlotGesturesTest, ThePointUnderThePointerFollowsItThroughADrag) {
  form->SetScrollOlcek(20);  // zoom 5
  const QPoint start = kMiddle;
  const QPoint end = kMiddle + QPoint(-123, 57);
  const double x = DataXAt(View(), Span(), start.x());
  const double y = DataYAt(View(), Span(), start.y());
  Drag({{-60, 20}, {-63, 37}});
  EXPECT_NEAR(DataXAt(View(), Span(), end.x()), x, 1e-12);
  EXPECT_NEAR(DataYAt(View(), Span(), end.y()), y, 1e-12);
}

TEST_F(PlotGesturesTest, TheBarsOwnStepsPutTheViewBackOnTheirFormulas) {
  Drag({{201, -6}});  // PlotX0 -0.3015 (bar -3), PlotY0 -0.009 (bar 9)
  ASSERT_EQ(x0->value(), -3);
  ASSERT_EQ(y0->value(), 9);
  x0->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(x0->value(), -2);
  EXPECT_EQ(ws->PlotX0, OffsetX(-2));
  y0->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(y0->value(), 14);
  EXPECT_EQ(ws->PlotY0, OffsetY(14));
}

TEST_F(PlotGesturesTest, ARunResetsTheViewEvenWhenTheBarsAlreadyShowZero) {
  form->SetScrollOlcek(20);  // zoom 5: a pixel is 0.0003 chord
  Drag({{10, 1}});  // a little off the bars' 0 in both directions
  ASSERT_EQ(x0->value(), 0);
  ASSERT_EQ(y0->value(), 0);
  ASSERT_NE(ws->PlotX0, 0.0);
  ASSERT_NE(ws->PlotY0, 0.0);
  form->CalculateClicked();
  EXPECT_TRUE(messages.texts.empty());
  ExpectViewFromBars();
  EXPECT_EQ(ws->PlotX0, 0.0);
  EXPECT_EQ(ws->PlotY0, 0.0);
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
