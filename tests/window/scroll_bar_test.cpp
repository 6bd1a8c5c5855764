// The scroll bars commit a value once, synchronously, and never for the value
// they already have; the zoom and offset bars turn their values into the
// plot's view.
#include <QLineEdit>
#include <QTest>
#include <cmath>
#include <functional>

#include "window/committed_scroll_bar.h"
#include "window/picture_airfoil.h"
#include "window/view_bars.h"
#include "window_test_support.h"

namespace quilane {
namespace {

// A bar with a handler that notes each commit and whether it ran while the
// committing call was still on the stack.
struct WatchedBar {
  WatchedBar() : bar(Qt::Horizontal, -5, 100, 1) {
    QObject::connect(&bar, &CommittedScrollBar::Committed, [this](int value) {
      commits.push_back(value);
      inside_call.push_back(in_call);
    });
  }
  void Do(const std::function<void()>& action) {
    in_call = true;
    action();
    in_call = false;
  }
  CommittedScrollBar bar;
  std::vector<int> commits;
  std::vector<bool> inside_call;
  bool in_call = false;
};

struct CommitCase {
  const char* name;
  std::function<void(CommittedScrollBar&)> action;
  std::vector<int> commits;  // values committed, in order
  int value_after;
};

TEST(CommittedScrollBarTest, CommitsOnceAndInsideTheCall) {
  const CommitCase cases[] = {
      {"program sets another value", [](CommittedScrollBar& b) { b.setValue(7); }, {7}, 7},
      {"arrow click adds one",
       [](CommittedScrollBar& b) { b.triggerAction(QAbstractSlider::SliderSingleStepAdd); }, {2}, 2},
      {"arrow click takes one",
       [](CommittedScrollBar& b) { b.triggerAction(QAbstractSlider::SliderSingleStepSub); }, {0}, 0},
      {"trough click adds five",
       [](CommittedScrollBar& b) { b.triggerAction(QAbstractSlider::SliderPageStepAdd); }, {6}, 6},
      {"trough click takes five",
       [](CommittedScrollBar& b) { b.triggerAction(QAbstractSlider::SliderPageStepSub); }, {-4}, -4},
      {"thumb dragged then released",
       [](CommittedScrollBar& b) {
         b.setSliderDown(true);
         b.setSliderPosition(30);
         b.setSliderPosition(60);
         b.setSliderDown(false);
       },
       {60}, 60},
      {"value beyond the range stops at the end", [](CommittedScrollBar& b) { b.setValue(500); },
       {100}, 100},
      {"two settings commit twice",
       [](CommittedScrollBar& b) {
         b.setValue(3);
         b.setValue(-5);
       },
       {3, -5}, -5},
  };
  for (const CommitCase& c : cases) {
    SCOPED_TRACE(c.name);
    WatchedBar watched;
    watched.Do([&] { c.action(watched.bar); });
    EXPECT_EQ(watched.commits, c.commits);
    EXPECT_EQ(watched.bar.value(), c.value_after);
    for (bool inside : watched.inside_call) EXPECT_TRUE(inside);
  }
}

TEST(CommittedScrollBarTest, CommitsNothingWithoutANewValue) {
  const CommitCase cases[] = {
      {"program sets the same value", [](CommittedScrollBar& b) { b.setValue(1); }, {}, 1},
      {"thumb dragged without release",
       [](CommittedScrollBar& b) {
         b.setSliderDown(true);
         b.setSliderPosition(40);
       },
       {}, 1},
      {"thumb dragged back to where it was",
       [](CommittedScrollBar& b) {
         b.setSliderDown(true);
         b.setSliderPosition(40);
         b.setSliderPosition(1);
         b.setSliderDown(false);
       },
       {}, 1},
      {"arrow click at the end",
       [](CommittedScrollBar& b) {
         b.setValue(100);
         b.triggerAction(QAbstractSlider::SliderSingleStepAdd);
       },
       {100}, 100},
      {"below the range when at the start",
       [](CommittedScrollBar& b) {
         b.setValue(-5);
         b.setValue(-50);
       },
       {-5}, -5},
  };
  for (const CommitCase& c : cases) {
    SCOPED_TRACE(c.name);
    WatchedBar watched;
    watched.Do([&] { c.action(watched.bar); });
    EXPECT_EQ(watched.commits, c.commits);
    EXPECT_EQ(watched.bar.value(), c.value_after);
  }
}

TEST(CommittedScrollBarTest, ShowingAValueCommitsNothing) {
  WatchedBar watched;
  watched.Do([&] { watched.bar.ShowValue(37); });
  EXPECT_TRUE(watched.commits.empty());
  EXPECT_EQ(watched.bar.value(), 37);
  // The bar's own steps go on from the value shown.
  watched.Do([&] { watched.bar.triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  EXPECT_EQ(watched.commits, std::vector<int>({38}));
}

TEST(ViewBarsTest, NearestBarValuesRoundAndStayInRange) {
  struct Case {
    const char* name;
    double offset;
    int x0_bar;
    int y0_bar;
  };
  const Case cases[] = {
      {"zero", 0.0, 0, 0},
      {"on a step", 0.3, 3, -300},
      {"between steps, nearer the lower", 0.0349, 0, -35},
      {"between steps, nearer the upper", -0.26, -3, 260},
      {"beyond the ends", 7.5, 50, -2000},
      {"beyond the other ends", -7.5, -50, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NearestX0Bar(c.offset), c.x0_bar);
    EXPECT_EQ(NearestY0Bar(c.offset), c.y0_bar);
  }
  // Every bar value is its own nearest.
  for (int v = kX0BarMin; v <= kX0BarMax; ++v) EXPECT_EQ(NearestX0Bar(OffsetX(v)), v);
  for (int v = kY0BarMin; v <= kY0BarMax; ++v) EXPECT_EQ(NearestY0Bar(OffsetY(v)), v);
}

// Properties of the gestures' view arithmetic: a drag keeps the point under
// the pointer with it and a drag back undoes it; a zoom keeps the point under
// the pointer; both keep the offsets within the bars' ranges.
TEST(ViewBarsTest, GesturesKeepThePointUnderThePointer) {
  const SurfaceSpan span{800, 400, 1.2, 0.6};
  const PlotView views[] = {{1, 0, 0}, {17, 0.3, -0.02}, {0.2, -4.9, 1.9}, {21, 4.99, -1.99}};
  for (const PlotView& view : views) {
    SCOPED_TRACE(testing::Message() << view.scale << " " << view.x0 << " " << view.y0);
    const PlotView dragged = DraggedView(view, span, 37, -11);
    EXPECT_GE(dragged.x0, -5.0);
    EXPECT_LE(dragged.x0, 5.0);
    EXPECT_GE(dragged.y0, -2.0);
    EXPECT_LE(dragged.y0, 2.0);
    const bool clamped = dragged.x0 == -5.0 || dragged.x0 == 5.0 || dragged.y0 == -2.0 ||
                         dragged.y0 == 2.0;
    if (!clamped) {
      EXPECT_NEAR(DataXAt(dragged, span, 437), DataXAt(view, span, 400), 1e-12);
      EXPECT_NEAR(DataYAt(dragged, span, 189), DataYAt(view, span, 200), 1e-12);
      const PlotView back = DraggedView(dragged, span, -37, 11);
      EXPECT_NEAR(back.x0, view.x0, 1e-12);
      EXPECT_NEAR(back.y0, view.y0, 1e-12);
    }
    const PlotView zoomed = ZoomedAbout(view, span, view.scale + 0.2, 123, 45);
    EXPECT_EQ(zoomed.scale, view.scale + 0.2);
    if (zoomed.x0 > -5.0 && zoomed.x0 < 5.0) {
      EXPECT_NEAR(DataXAt(zoomed, span, 123), DataXAt(view, span, 123), 1e-12);
    }
    if (zoomed.y0 > -2.0 && zoomed.y0 < 2.0) {
      EXPECT_NEAR(DataYAt(zoomed, span, 45), DataYAt(view, span, 45), 1e-12);
    }
  }
}

TEST(ViewBarsTest, ZoomFactorIsOnePlusAFifthAndNeverZero) {
  for (int v = kZoomBarMin; v <= kZoomBarMax; ++v) {
    const double s = ZoomFactor(v);
    EXPECT_GT(s, 0.0) << v;
    if (v != -5) {
      EXPECT_EQ(s, 1 + v / 5.0) << v;
    }
  }
  EXPECT_EQ(ZoomFactor(-5), ZoomFactor(-4));
}

class ViewBarWindowTest : public WindowTest {
 protected:
  void SetUp() override { OpenWindow(); }
  PictureAirfoil* picture() { return Control<PictureAirfoil>("Picture_Airfoil"); }
};

TEST_F(ViewBarWindowTest, ZoomBarSetsScaleAndItsBox) {
  struct Case {
    const char* name;
    int value;
    double scale;
    const char* shown;
  };
  const Case cases[] = {
      {"left end", -5, 0.2, "0.2"},   {"one right of the left end", -4, 0.2, "0.2"},
      {"zero", 0, 1.0, "1"},          {"three", 3, 1.6, "1.6"},
      {"right end", 100, 21.0, "21"}, {"beyond the right end", 150, 21.0, "21"},
  };
  auto* bar = Control<CommittedScrollBar>("HScroll_Olcek");
  auto* box = Control<QLineEdit>("Text_Scale");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->setValue(bar->value() == 50 ? 51 : 50);  // move away so the next value is new
    form->SetScrollOlcek(c.value);
    EXPECT_NEAR(ws->PlotScale, c.scale, 1e-15);
    EXPECT_EQ(box->text().toStdString(), c.shown);
  }
}

TEST_F(ViewBarWindowTest, OneArrowStepFromTheStartGivesOnePointFour) {
  auto* bar = Control<CommittedScrollBar>("HScroll_Olcek");
  ASSERT_EQ(bar->value(), 1);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar->value(), 2);
  EXPECT_DOUBLE_EQ(ws->PlotScale, 1.4);
  EXPECT_EQ(Control<QLineEdit>("Text_Scale")->text(), "1.4");
}

TEST_F(ViewBarWindowTest, OffsetBarsSetTheOffsets) {
  struct Case {
    const char* name;
    std::function<void(int)> set;
    int value;
    const double* item;
    double expected;
  };
  const Case cases[] = {
      {"X0 right end", [&](int v) { form->SetScrollX0(v); }, 50, &ws->PlotX0, 5.0},
      {"X0 left end", [&](int v) { form->SetScrollX0(v); }, -50, &ws->PlotX0, -5.0},
      {"X0 one step", [&](int v) { form->SetScrollX0(v); }, 1, &ws->PlotX0, 0.1},
      {"Y0 thumb at the top", [&](int v) { form->SetScrollY0(v); }, -2000, &ws->PlotY0, 2.0},
      {"Y0 thumb at the bottom", [&](int v) { form->SetScrollY0(v); }, 2000, &ws->PlotY0, -2.0},
      {"Y0 one step down", [&](int v) { form->SetScrollY0(v); }, 1, &ws->PlotY0, -0.001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(c.value);
    EXPECT_DOUBLE_EQ(*c.item, c.expected);
  }
  // Back to zero: +0, not -0.
  form->SetScrollY0(0);
  EXPECT_EQ(ws->PlotY0, 0.0);
  EXPECT_FALSE(std::signbit(ws->PlotY0));
}

TEST_F(ViewBarWindowTest, SettingTheCurrentValueChangesNothing) {
  ws->PlotScale = 7.0;  // a value no bar position gives
  form->SetScrollOlcek(1);
  EXPECT_EQ(ws->PlotScale, 7.0);
  EXPECT_EQ(Control<QLineEdit>("Text_Scale")->text(), "1");
  // An offset bar's value that the view already has raises nothing either.
  form->SetScrollX0(3);
  form->SetScrollY0(-250);
  picture()->Cls();
  const QImage cleared = picture()->Picture().copy();
  form->SetScrollX0(3);
  form->SetScrollY0(-250);
  EXPECT_EQ(ws->PlotX0, OffsetX(3));
  EXPECT_EQ(ws->PlotY0, OffsetY(-250));
  EXPECT_EQ(picture()->Picture(), cleared);
}

// A gesture leaves the offsets between the bars' steps; setting an offset
// bar to the value it shows then puts the view back on it, so a run's reset
// of the view always takes effect.
TEST_F(ViewBarWindowTest, SettingTheShownValueOfAnOffsetBarPutsTheViewOnIt) {
  ws->PlotX0 = 0.025;  // shown as 0 by the bar
  ws->PlotY0 = -0.0004;
  form->SetScrollX0(0);
  form->SetScrollY0(0);
  EXPECT_EQ(ws->PlotX0, 0.0);
  EXPECT_EQ(ws->PlotY0, 0.0);
}

TEST_F(ViewBarWindowTest, TypingInTheScaleBoxChangesNothing) {
  form->SetScrollOlcek(10);
  const double scale = ws->PlotScale;
  auto* box = Control<QLineEdit>("Text_Scale");
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "9");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(ws->PlotScale, scale);
  EXPECT_EQ(Control<CommittedScrollBar>("HScroll_Olcek")->value(), 10);
}

// A bar with the keyboard's focus is framed in the highlight colour.
TEST_F(ViewBarWindowTest, AFocusedBarShowsIt) {
  auto* bar = Control<CommittedScrollBar>("HScroll_Olcek");
  const QColor highlight = bar->palette().color(QPalette::Highlight);
  auto highlighted = [&] {
    const QImage image = bar->grab().toImage();
    int count = 0;
    for (int x = 0; x < image.width(); ++x) count += SameColour(image.pixel(x, 1), highlight);
    return count;
  };
  Control<QWidget>("Text_NI")->setFocus();
  const int without = highlighted();
  bar->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(bar->hasFocus());
  EXPECT_GT(highlighted(), without + bar->width() / 2);
}

TEST_F(ViewBarWindowTest, KeyboardMovesAFocusedBar) {
  auto* bar = Control<CommittedScrollBar>("HScroll_X0");
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(ws->PlotX0, 0.1);
  QTest::keyClick(bar, Qt::Key_PageUp);
  EXPECT_EQ(bar->value(), 1 - 5);
  EXPECT_DOUBLE_EQ(ws->PlotX0, -0.4);
  QTest::keyClick(bar, Qt::Key_Left);
  EXPECT_EQ(bar->value(), -5);

  auto* vertical = Control<CommittedScrollBar>("VScroll_Y0");
  vertical->setFocus();
  QTest::keyClick(vertical, Qt::Key_Down);
  EXPECT_DOUBLE_EQ(ws->PlotY0, -0.001);  // thumb down: the drawing moves up
  QTest::keyClick(vertical, Qt::Key_PageDown);
  EXPECT_EQ(vertical->value(), 6);
  QTest::keyClick(vertical, Qt::Key_Home);
  EXPECT_DOUBLE_EQ(ws->PlotY0, 2.0);
}

}  // namespace
}  // namespace quilane
