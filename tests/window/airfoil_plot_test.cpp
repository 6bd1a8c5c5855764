// The plot: the order of its drawing operations, the view transformation, and
// the pixels it leaves on the drawing surface.
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>

#include "window/airfoil_plot.h"
#include "window/picture_airfoil.h"
#include "window_test_support.h"

namespace quilane {
namespace {

// Surface and labels that write down what they are asked to do.
class RecordingSurface : public DrawingSurface, public PlotTitles {
 public:
  struct Op {
    char kind;  // 'C'ls, 'S'cale, 'L'ine, 'O' circle, 'T'itles
    float a = 0, b = 0, c = 0, d = 0;
    PlotColour colour{};
  };
  void Cls() override { ops.push_back({'C'}); }
  void Scale(float x1, float y1, float x2, float y2) override { ops.push_back({'S', x1, y1, x2, y2}); }
  void Line(float x1, float y1, float x2, float y2, PlotColour colour) override {
    ops.push_back({'L', x1, y1, x2, y2, colour});
  }
  void Circle(float x, float y, float radius, PlotColour colour) override {
    ops.push_back({'O', x, y, radius, 0, colour});
  }
  void SetTitles(const std::string& airfoil, const std::string& plot) override {
    ops.push_back({'T'});
    titles = airfoil + "|" + plot;
  }
  // The kinds in order, blue/red/magenta marked by b/r/m after L or O.
  std::string Script() const {
    std::string script;
    for (const Op& op : ops) {
      script += op.kind;
      if (op.kind == 'L' || op.kind == 'O') {
        if (op.colour == kNewPointColour) script += 'b';
        if (op.colour == kInputPointColour) script += 'r';
        if (op.colour == kCamberColour) script += 'm';
      }
      script += ' ';
    }
    return script;
  }
  std::vector<Op> ops;
  std::string titles;
};

struct Sets {
  int n;
  int ni;
  double ncamber;  // < 0: never set
};

std::unique_ptr<AirfoilWorkspace> PlotWorkspace(const Sets& sets) {
  auto ws = std::make_unique<AirfoilWorkspace>();
  ws->PlotScale = 1;
  for (int i = 1; i <= kPointCapacity; ++i) {
    ws->X[i] = ws->XI[i] = ws->XCamber[i] = i / 1000.0;
    ws->Y[i] = ws->YI[i] = ws->YCamber[i] = -i / 2000.0;
  }
  ws->N = sets.n;
  ws->NI = sets.ni;
  if (sets.ncamber >= 0) ws->NCamber = sets.ncamber;
  return ws;
}

std::string Draw(const Sets& sets) {
  auto ws = PlotWorkspace(sets);
  RecordingSurface surface;
  ShowAirfoil(*ws, surface, surface, ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
  return surface.Script();
}

const std::string kFrame = "C T S L L ";  // clear, titles, scale, two axes

TEST(AirfoilPlotTest, DrawsInItsOrder) {
  struct Case {
    const char* name;
    Sets sets;
    std::string script;
  };
  const Case cases[] = {
      {"nothing loaded", {0, 0, -1}, kFrame},
      {"one point each", {1, 1, 1}, kFrame + "Ob Or "},
      {"segments before the marker of their start",
       {3, 2, -1},
       kFrame + "Lb Ob Ob " + "Lr Or Lr Or Or "},
      {"camber segments join neighbours", {0, 0, 3}, kFrame + "Lm Lm "},
      {"a half camber count ends at its whole part", {0, 0, 3.5}, kFrame + "Lm Lm "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(c.sets), c.script);
  }
}

TEST(AirfoilPlotTest, CountsBeyondTheArraysDrawNothingOfTheirSet) {
  struct Case {
    const char* name;
    Sets sets;
    std::string script;
  };
  const Case cases[] = {
      {"input count too large", {1001, 1, -1}, kFrame + "Ob "},
      {"new count too large", {1, 1001, -1}, kFrame + "Or "},
      {"negative input count", {-3, 0, -1}, kFrame},
      {"camber count too large", {0, 0, 1000.5}, kFrame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(c.sets), c.script);
  }
}

TEST(AirfoilPlotTest, CamberCountOfTwentyFiveAndAHalfDrawsTwentyFourSegments) {
  const std::string script = Draw({0, 0, 25.5});
  size_t segments = 0;
  for (size_t at = script.find("Lm"); at != std::string::npos; at = script.find("Lm", at + 1)) {
    ++segments;
  }
  EXPECT_EQ(segments, 24u);
}

TEST(AirfoilPlotTest, FrameAxesAndMarkersUseTheirFixedValues) {
  auto ws = PlotWorkspace({1, 1, -1});
  ws->AirfoilTitle = "T1";
  ws->PlotTitle = "T1 - redistributed";
  RecordingSurface surface;
  ShowAirfoil(*ws, surface, surface, ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
  ASSERT_EQ(surface.ops.size(), 7u);
  EXPECT_EQ(surface.titles, "T1|T1 - redistributed");
  const auto& scale = surface.ops[2];
  EXPECT_EQ(std::vector<float>({scale.a, scale.b, scale.c, scale.d}),
            std::vector<float>({-0.6f, 0.3f, 0.6f, -0.3f}));
  const auto& horizontal = surface.ops[3];
  EXPECT_EQ(std::vector<float>({horizontal.a, horizontal.b, horizontal.c, horizontal.d}),
            std::vector<float>({-0.6f, 0.0f, 0.6f, 0.0f}));
  EXPECT_EQ(horizontal.colour, (PlotColour{150, 150, 150}));
  const auto& vertical = surface.ops[4];
  EXPECT_EQ(std::vector<float>({vertical.a, vertical.b, vertical.c, vertical.d}),
            std::vector<float>({0.0f, -0.3f, 0.0f, 0.3f}));
  EXPECT_EQ(vertical.colour, (PlotColour{200, 200, 200}));
  EXPECT_EQ(surface.ops[5].c, 0.003f);
  EXPECT_EQ(surface.ops[5].colour, (PlotColour{0, 0, 255}));
  EXPECT_EQ(surface.ops[6].c, 0.005f);
  EXPECT_EQ(surface.ops[6].colour, (PlotColour{255, 0, 0}));
}

TEST(AirfoilPlotTest, TransformsEveryPointByTheView) {
  struct Case {
    const char* name;
    double scale, x0, y0;
    double x, y;
    double plot_x, plot_y;
  };
  const Case cases[] = {
      {"chord middle on the axes' crossing", 1, 0, 0, 0.5, 0, 0, 0},
      {"nose a twelfth from the left edge", 1, 0, 0, 0, 0, -0.5, 0},
      {"zoom two", 2, 0, 0, 0.5, 0.1, 0, 0.2},
      {"zoom two puts the trailing edge outside", 2, 0, 0, 1, 0, 1, 0},
      {"x offset moves left by offset times zoom", 3, 0.1, 0, 0.5, 0, -0.3, 0},
      {"y offset moves down", 1, 0, 0.05, 0.5, 0.1, 0, 0.05},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ws = PlotWorkspace({1, 0, -1});
    ws->PlotScale = c.scale;
    ws->PlotX0 = c.x0;
    ws->PlotY0 = c.y0;
    ws->X[1] = c.x;
    ws->Y[1] = c.y;
    RecordingSurface surface;
    ShowAirfoil(*ws, surface, surface, ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
    ASSERT_EQ(surface.ops.back().kind, 'O');
    EXPECT_EQ(surface.ops.back().a, static_cast<float>((c.x - c.x0 - 0.5) * c.scale));
    EXPECT_EQ(surface.ops.back().b, static_cast<float>((c.y - c.y0) * c.scale));
    EXPECT_NEAR(surface.ops.back().a, c.plot_x, 1e-6);
    EXPECT_NEAR(surface.ops.back().b, c.plot_y, 1e-6);
  }
}

TEST(AirfoilPlotTest, ChangesNothingInTheWorkspace) {
  auto ws = PlotWorkspace({40, 30, 15});
  const auto before = std::make_unique<AirfoilWorkspace>(*ws);
  RecordingSurface surface;
  ShowAirfoil(*ws, surface, surface, ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
  EXPECT_TRUE(*ws == *before);
}

// Notes, for each drawing call, how many batches were open.
class BatchWatchingSurface : public RecordingSurface {
 public:
  void BeginBatch() override {
    ++depth;
    ++begun;
  }
  void EndBatch() override {
    --depth;
    ++ended;
  }
  void Cls() override {
    depths.push_back(depth);
    RecordingSurface::Cls();
  }
  void Scale(float x1, float y1, float x2, float y2) override {
    depths.push_back(depth);
    RecordingSurface::Scale(x1, y1, x2, y2);
  }
  void Line(float x1, float y1, float x2, float y2, PlotColour colour) override {
    depths.push_back(depth);
    RecordingSurface::Line(x1, y1, x2, y2, colour);
  }
  void Circle(float x, float y, float radius, PlotColour colour) override {
    depths.push_back(depth);
    RecordingSurface::Circle(x, y, radius, colour);
  }
  int depth = 0;
  int begun = 0;
  int ended = 0;
  std::vector<int> depths;
};

TEST(AirfoilPlotTest, DrawsTheWholePlotAsOneBatch) {
  const Sets cases[] = {{0, 0, -1}, {3, 2, 3}, {40, 30, 15}};
  for (const Sets& sets : cases) {
    SCOPED_TRACE(testing::Message() << "N " << sets.n << ", NI " << sets.ni);
    auto ws = PlotWorkspace(sets);
    BatchWatchingSurface surface;
    ShowAirfoil(*ws, surface, surface, ws->N, ws->X, ws->Y, ws->NI, ws->XI, ws->YI);
    EXPECT_EQ(surface.begun, 1);
    EXPECT_EQ(surface.ended, 1);
    ASSERT_FALSE(surface.depths.empty());
    EXPECT_EQ(std::count(surface.depths.begin(), surface.depths.end(), 1),
              static_cast<std::ptrdiff_t>(surface.depths.size()));
  }
}

// ----------------------------------------------------------------- pixels

class PlotPixelTest : public WindowTest {
 protected:
  void SetUp() override {
    OpenWindow();
    picture = Control<PictureAirfoil>("Picture_Airfoil");
    ws->PlotScale = 1;
  }
  void Plot(int n, int ni) { form->ShowAirfoil(n, ws->X, ws->Y, ni, ws->XI, ws->YI); }
  const QImage& Image() const { return picture->Picture(); }
  // Pixels inked at least half in `colour` (the plot is antialiased) whose
  // centre lies within [r0, r1] of (cx, cy), and outside that ring.
  std::pair<int, int> CountRing(double cx, double cy, double r0, double r1, QColor colour) {
    int in = 0;
    int out = 0;
    for (int y = 0; y < Image().height(); ++y) {
      for (int x = 0; x < Image().width(); ++x) {
        if (!InkOf(Image().pixel(x, y), colour, QColor(255, 255, 192))) continue;
        const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        (r >= r0 && r <= r1 ? in : out)++;
      }
    }
    return {in, out};
  }
  PictureAirfoil* picture = nullptr;
};

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kHorizontalAxis(150, 150, 150);
const QColor kVerticalAxis(200, 200, 200);
const QColor kBackground(255, 255, 192);

TEST_F(PlotPixelTest, AxesCrossInTheMiddle) {
  Plot(0, 0);
  ASSERT_EQ(Image().size(), QSize(800, 400));
  EXPECT_TRUE(SameColour(Image().pixel(100, 200), kHorizontalAxis));
  EXPECT_TRUE(SameColour(Image().pixel(700, 200), kHorizontalAxis));
  EXPECT_TRUE(SameColour(Image().pixel(400, 50), kVerticalAxis));
  EXPECT_TRUE(SameColour(Image().pixel(400, 350), kVerticalAxis));
  EXPECT_TRUE(SameColour(Image().pixel(100, 100), kBackground));
  EXPECT_TRUE(SameColour(Image().pixel(0, 200), kHorizontalAxis));
  EXPECT_TRUE(SameColour(Image().pixel(799, 200), kHorizontalAxis));
}

TEST_F(PlotPixelTest, MarkersLieWhereTheViewPutsThem) {
  // Input point (0, 0): plot (-0.5, 0), pixel (66.7, 200); radius 0.005 plot
  // units = 3.33 pixels. New point (0.6, 0.1): plot (0.1, 0.1), pixel
  // (466.7, 133.3); radius 0.003 = 2 pixels.
  ws->X[1] = 0;
  ws->Y[1] = 0;
  ws->XI[1] = 0.6;
  ws->YI[1] = 0.1;
  Plot(1, 1);
  const auto [red_in, red_out] = CountRing(800.0 / 12, 200, 3.33 - 1.5, 3.33 + 1.5, kRed);
  EXPECT_GE(red_in, 12);
  EXPECT_EQ(red_out, 0);
  const auto [blue_in, blue_out] = CountRing(1400.0 / 3, 400.0 / 3, 2 - 1.5, 2 + 1.5, kBlue);
  EXPECT_GE(blue_in, 8);
  EXPECT_EQ(blue_out, 0);
  // Unfilled: the centre keeps the background.
  EXPECT_TRUE(SameColour(Image().pixel(466, 133), kBackground));
}

TEST_F(PlotPixelTest, MarkersKeepTheirSizeAtEveryZoom) {
  for (double scale : {1.0, 5.0, 21.0}) {
    SCOPED_TRACE(scale);
    ws->PlotScale = scale;
    ws->PlotX0 = 0.5 - 0.5;  // the point 0.5 stays in the middle
    ws->XI[1] = 0.5;
    ws->YI[1] = 0.05 / scale;  // always at plot y = 0.05
    Plot(0, 1);
    const auto [in, out] = CountRing(400, 200 - 0.05 * 400 / 0.6, 0.5, 3.5, kBlue);
    EXPECT_GE(in, 8);
    EXPECT_EQ(out, 0);
  }
}

TEST_F(PlotPixelTest, ZoomTwoClipsAtTheRightEdge) {
  // (0.5, 0.1) -> plot (0, 0.2), pixel (400, 66.7); (1, 0.1) -> plot (1, 0.2),
  // pixel (1066.7, 66.7), beyond the right edge.
  ws->PlotScale = 2;
  ws->XI[1] = 0.5;
  ws->YI[1] = 0.1;
  ws->XI[2] = 1;
  ws->YI[2] = 0.1;
  Plot(0, 2);
  // Antialiased: the line at pixel y 66.7 inks row 66 or 67 at least half.
  for (int x : {600, 799}) {
    EXPECT_TRUE(InkOf(Image().pixel(x, 66), kBlue, kBackground) ||
                InkOf(Image().pixel(x, 67), kBlue, kBackground))
        << x;
  }
  int blue_below = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 800; ++x) {
      if (y >= 62 && y <= 71) continue;
      blue_below += SameColour(Image().pixel(x, y), kBlue);
    }
  }
  EXPECT_EQ(blue_below, 0);
}

TEST_F(PlotPixelTest, PointsFarOutsideDrawNothing) {
  Plot(0, 0);
  const QImage axes_only = Image().copy();
  ws->X[1] = 1e30;
  ws->Y[1] = -1e30;
  ws->X[2] = 2e30;
  ws->Y[2] = 1e30;
  ws->XI[1] = 1e300;  // beyond float: infinite in plot coordinates
  ws->YI[1] = 0;
  Plot(2, 1);
  EXPECT_EQ(Image(), axes_only);
}

TEST_F(PlotPixelTest, RedrawingTheSameDataGivesTheSamePicture) {
  ws->X[1] = 0.2;
  ws->Y[1] = 0.03;
  ws->X[2] = 0.7;
  ws->Y[2] = -0.02;
  Plot(2, 0);
  const QImage first = Image().copy();
  Plot(2, 0);
  EXPECT_EQ(Image(), first);
  ws->PlotX0 = 0.1;
  Plot(2, 0);
  EXPECT_NE(Image(), first);
}

TEST_F(PlotPixelTest, ThePictureIsKeptForRepaints) {
  ws->XI[1] = 0.5;
  ws->YI[1] = 0.1;
  Plot(0, 1);
  picture->repaint();
  const QImage shown = picture->grab(QRect(300, 100, 200, 80)).toImage();
  EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
            Image().copy(300, 100, 200, 80).convertToFormat(QImage::Format_RGB32));
}

TEST_F(PlotPixelTest, TitlesGoToTheirLabels) {
  ws->AirfoilTitle = "NACA 0012";
  ws->PlotTitle = "NACA 0012 - redistributed";
  Plot(0, 0);
  EXPECT_EQ(Control<QLabel>("Label3")->text(), "NACA 0012");
  EXPECT_EQ(Control<QLabel>("Label4")->text(), "NACA 0012 - redistributed");
}

TEST(PictureAirfoilTest, KeepsItsPictureWhenResized) {
  PictureAirfoil picture(QColor(255, 255, 192));
  picture.resize(100, 50);
  picture.Scale(0, 0, 100, 50);
  picture.Line(10, 10, 90, 10, {0, 0, 255});
  picture.resize(200, 100);
  EXPECT_EQ(picture.Picture().size(), QSize(200, 100));
  EXPECT_TRUE(SameColour(picture.Picture().pixel(50, 10), QColor(0, 0, 255)));
  EXPECT_TRUE(SameColour(picture.Picture().pixel(150, 80), QColor(255, 255, 192)));
  picture.Cls();
  EXPECT_TRUE(SameColour(picture.Picture().pixel(50, 10), QColor(255, 255, 192)));
}

// The same calls with and without a batch around them, and in nested
// batches, leave the same pixels; a resize or a clear within a batch is
// painted over correctly.
TEST(PictureAirfoilTest, ABatchLeavesTheSamePixelsAsSingleCalls) {
  struct Case {
    const char* name;
    int batches;        // nesting depth around the drawing
    bool resize_within;  // grow the widget halfway through
  };
  const Case cases[] = {
      {"no batch", 0, false},
      {"one batch", 1, false},
      {"nested batches", 2, false},
      {"resized within a batch", 1, true},
      {"resized without a batch", 0, true},
  };
  auto draw = [](PictureAirfoil& picture, int batches, bool resize_within) {
    std::vector<std::unique_ptr<SurfaceBatch>> open;
    for (int k = 0; k < batches; ++k) open.push_back(std::make_unique<SurfaceBatch>(picture));
    picture.Line(0, 0, 99, 49, {255, 0, 0});  // cleared below
    picture.Cls();
    picture.Scale(-1, 1, 1, -1);
    picture.Line(-1, 0, 1, 0, {150, 150, 150});
    picture.Circle(0.5f, 0.5f, 0.1f, {0, 0, 255});
    if (resize_within) picture.resize(160, 90);
    picture.Line(0, -1, 0, 1, {200, 200, 200});
    picture.Circle(-0.5f, -0.5f, 0.2f, {255, 0, 255});
    while (!open.empty()) open.pop_back();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureAirfoil single(QColor(255, 255, 192));
    single.resize(100, 50);
    draw(single, 0, c.resize_within);
    PictureAirfoil batched(QColor(255, 255, 192));
    batched.resize(100, 50);
    draw(batched, c.batches, c.resize_within);
    EXPECT_EQ(batched.Picture(), single.Picture());
    // Something of every colour was drawn, nothing of the cleared line kept.
    const QImage& image = batched.Picture();
    EXPECT_TRUE(SameColour(image.pixel(image.width() / 2, image.height() / 4),
                           QColor(200, 200, 200)));
    EXPECT_TRUE(SameColour(image.pixel(0, 0), QColor(255, 255, 192)));
  }
}

}  // namespace
}  // namespace quilane
