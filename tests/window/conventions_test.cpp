// Desktop conventions of the window: the menu's keys, the read-only zoom
// box, titles cut with an ellipsis, the About window's size, place and keys,
// and the texts the status bar is made of.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

#include "window/about_window.h"
#include "window/status_text.h"
#include "window_test_support.h"

namespace quilane {
namespace {

class ConventionsTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSection("section.arf", "Section", 10);
    OpenWindow();
    form->activateWindow();
    QApplication::setActiveWindow(form.get());
  }
  bool Shown(const char* frame) { return !Control<QFrame>(frame)->isHidden(); }
};

TEST_F(ConventionsTest, MenuKeys) {
  struct Case {
    const char* name;
    QKeyCombination keys;
    std::function<bool()> done;
  };
  const Case cases[] = {
      {"Ctrl+O opens the browser", Qt::CTRL | Qt::Key_O,
       [&] { return Shown("Frame3") && !Shown("Frame4"); }},
      {"Ctrl+S opens the save box", Qt::CTRL | Qt::Key_S,
       [&] { return Shown("Frame3") && Shown("Frame4"); }},
      {"+ zooms in one step", Qt::Key_Plus, [&] { return Control<QLineEdit>("Text_Scale")->text() == "1.4"; }},
      {"- zooms out one step", Qt::Key_Minus, [&] { return Control<QLineEdit>("Text_Scale")->text() == "1.2"; }},
      {"Ctrl+Q closes the window", Qt::CTRL | Qt::Key_Q, [&] { return !form->isVisible(); }},
  };
  OpenThroughFileList("section.arf");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form->HideBrowser();
    ASSERT_FALSE(c.done());
    QTest::keyClick(form.get(), c.keys.key(), c.keys.keyboardModifiers());
    EXPECT_TRUE(c.done());
  }
}

// Controls, menu and dialogs read in one size: the largest at which every
// caption fits its control.
TEST_F(ConventionsTest, OneFontSizeEverywhere) {
  const QFont controls = Control<QWidget>("Form_Quilane_Client")->font();
  EXPECT_EQ(QFontInfo(form->menuBar()->font()).pixelSize(), QFontInfo(controls).pixelSize());
  EXPECT_EQ(QFontInfo(QApplication::font("QMessageBox")).pixelSize(),
            QFontInfo(controls).pixelSize());
  EXPECT_GE(QFontInfo(controls).pixelSize(), kSmallestFontPixels);
}

TEST_F(ConventionsTest, TheZoomBoxIsReadOnlyAndLooksIt) {
  auto* box = Control<QLineEdit>("Text_Scale");
  EXPECT_TRUE(box->isReadOnly());
  EXPECT_EQ(box->palette().color(QPalette::Base), QColor(192, 192, 192));
  box->setFocus();
  QTest::keyClicks(box, "9");
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "1");
}

TEST_F(ConventionsTest, LongTitlesEndInAnEllipsisWithTheWholeTitleAsTooltip) {
  struct Case {
    const char* name;
    std::string title;
    bool cut;
  };
  const Case cases[] = {
      {"short title", "NACA 2412", false},
      {"long title", std::string(20, 'W') + " wing section of a long name with many words", true},
      {"long title, UTF-8", "Fl\xC3\xBC" "gelprofil " + std::string(60, 'M'), true},
  };
  auto* label3 = Control<QLabel>("Label3");
  auto* label4 = Control<QLabel>("Label4");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ws->AirfoilTitle = c.title;
    ws->PlotTitle = c.title + " - redistributed";
    form->ShowAirfoil(ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
    const QString whole = QString::fromStdString(c.title);
    for (QLabel* label : {label3, label4}) {
      // The second title keeps its suffix readable: the two never read alike.
      const QString suffix = label == label3 ? QString() : QString(" - redistributed");
      const QString full = whole + suffix;
      const QString shown = label->text();
      EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
      if (c.cut) {
        const QString head = shown.chopped(suffix.size());
        EXPECT_TRUE(shown.endsWith(QChar(0x2026) + suffix)) << shown.toStdString();
        // Cut at a whole character of the title.
        EXPECT_TRUE(whole.startsWith(head.chopped(1))) << shown.toStdString();
        EXPECT_EQ(label->toolTip(), full);
      } else {
        EXPECT_EQ(shown, full);
        EXPECT_TRUE(label->toolTip().isEmpty());
      }
    }
  }
}

TEST_F(ConventionsTest, AboutIsAsLargeAsItsTextCentredAndClosesWithEscape) {
  form->move(100, 80);
  form->AboutClicked();
  auto* about = form->findChild<AboutWindow*>("About_Window");
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(about->isVisible());
  auto* text = about->findChild<QLabel*>("About_Text");
  EXPECT_GE(text->height(), text->heightForWidth(text->width()));
  EXPECT_TRUE(about->rect().contains(text->geometry()));
  const QPoint offset = about->frameGeometry().center() - form->frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4);  // rounding of both centres
  QTest::keyClick(about, Qt::Key_Escape);
  EXPECT_FALSE(about->isVisible());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(ConventionsTest, AboutDescribesTheGesturesKeysAndTools) {
  const QString text = AboutWindow::Description();
  for (const char* part : {"Import .dat", "Export plot", "wheel", "dragging", "Ctrl+O", "Ctrl+S",
                           "Ctrl+Q", "Escape", "Enter", "quilane-redistribute", "quilane-naca",
                           "status bar"}) {
    EXPECT_TRUE(text.contains(QLatin1String(part))) << part;
  }
}

TEST(StatusTextTest, OneLinePerEvent) {
  LoadSummary arf;
  arf.format = "arf";
  arf.points = 61;
  arf.nose_index = 31;
  LoadSummary selig = arf;
  selig.format = "Selig";
  selig.trailing_edge_gap = 0.0025;
  selig.ignored_lines = 2;
  QualityReport close;
  close.max_deviation = 3.1e-5;
  close.max_deviation_point = 48;
  QualityReport far = close;
  far.max_deviation = 0.0085;
  far.max_deviation_point = 2;
  far.blunt_trailing_edge = true;
  Refusal route_refusal(RefusalCode::kStationOutOfRange,
                        "xI(1) = 1 is not in the given interpolation range");
  route_refusal.way_out = WayOut::kConformalMapping;
  route_refusal.way_out_reason = "Open";
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"start", StartHint(), "Open a coordinate file: File > Open, or File > Import .dat\u2026"},
      {"*.arf load", LoadStatus("a.arf", arf),
       "Read a.arf: arf, 61 points, nose at point 31, trailing edge gap 0.00000"},
      {".dat load with notes", LoadStatus("b.dat", selig),
       "Read b.dat: Selig, 61 points, nose at point 31, trailing edge gap 0.00250, "
       "2 lines of notes ignored"},
      {"Lagrange run", RunStatus({101, Route::kAlongChord, Method::kLagrange, 3, true}, close),
       "101 new points, cosine spacing along the chord, Lagrange nPoly = 3; " +
           DescribeReport(close)},
      {"spline run far off the contour",
       RunStatus({101, Route::kConformalMapping, Method::kPwCubic, 7, true}, far),
       "101 new points, conformal mapping, PW cubic spline; warning: new points lie up to "
       "0.85 % of the chord off the contour near point 2; to place them on a spline through "
       "the input, choose Calculation > Place new points on a spline through the input; " +
           DescribeReport(far)},
      {"save", SaveStatus("/home/me/x.arf", "/home/me/Camber_x.arf"),
       "Saved x.arf and Camber_x.arf in /home/me"},
      {"kept", KeptStatus("old.arf"), "Nothing saved; old.arf is kept as it was"},
      {"refusal of one line", RefusalStatus(Refusal(RefusalCode::kNoContour, "Open a file")),
       "Open a file"},
      {"refusal of several lines",
       RefusalStatus(Refusal(RefusalCode::kUsage, "first\nsecond\nthird")), "first"},
      {"refusal with CR LF", RefusalStatus(Refusal(RefusalCode::kUsage, "first\r\nsecond")),
       "first"},
      {"refusal with a way out", RefusalStatus(route_refusal),
       "xI(1) = 1 is not in the given interpolation range \u2014 Open; for this section tick "
       "Conformal Mapping and calculate again."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.text, c.expected);
  }
}

}  // namespace
}  // namespace quilane
