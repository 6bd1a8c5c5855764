// The File menu's import of coordinate files and export of the plot: what an
// import loads (as a choice in File1 loads a *.arf file), what a refused one
// leaves alone, and the pictures an export writes.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QXmlStreamReader>

#include "files/coordinate_file.h"
#include "window/committed_scroll_bar.h"
#include "window/file_browser.h"
#include "window/picture_airfoil.h"
#include "window/plot_export.h"
#include "window/workspace_values.h"
#include "window_test_support.h"

namespace quilane {
namespace {

const QString kShared = QStringLiteral(QUILANE_SHARED_AIRFOILS_DIR);
const char kSection[] = "section.arf";
const QColor kRed(255, 0, 0);

class ImportExportTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSection(kSection, "Test section 0012", 20);
    OpenWindow();
  }
  void Import(const QString& path) {
    dialogs.answers.push_back(path);
    form->ImportDatClicked();
  }
  void Export(const QString& path, const QString& filter = QString()) {
    dialogs.answers.push_back(path);
    dialogs.chosen_filter = filter;
    form->ExportPlotClicked();
  }
  QImage Picture() { return Control<PictureAirfoil>("Picture_Airfoil")->Picture().copy(); }
  QString Label(const char* name) { return Control<QLabel>(name)->text(); }
};

// Bounding box of the pixels of `colour` at or below row `top`.
QRect ColourBox(const QImage& image, const QColor& colour, int top) {
  QRect box;
  for (int y = top; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (SameColour(image.pixel(x, y), colour)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// ----------------------------------------------------------------- import

TEST_F(ImportExportTest, ImportLoadsTheFileAsAChoiceInTheFileListWould) {
  struct Case {
    const char* name;
    QString path;
    int points;
  };
  const Case cases[] = {
      {"Selig Clark Y", kShared + "/selig/clarky.dat", 0},
      {"Selig NACA 23012", kShared + "/selig/naca23012.dat", 0},
      {"Selig S1223", kShared + "/selig/s1223.dat", 0},
      {"Lednicer E387, told by its content", kShared + "/lednicer/e387.dat", 0},
      {"a *.arf file through the same entry", InTemp(kSection), 41},
  };
  // A calculation and a moved view first: an import keeps the offsets and
  // the bars and resets the zoom factor, as a choice in File1 does.
  OpenThroughFileList(kSection);
  form->CalculateClicked();
  form->SetScrollOlcek(10);
  form->SetScrollX0(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(QFile::exists(c.path)) << c.path.toStdString();
    auto expected = std::make_unique<AirfoilWorkspace>(*ws);
    const Expected<LoadedFile> read = LoadCoordinateFile(QFile::encodeName(c.path).toStdString());
    ASSERT_TRUE(read.has_value());
    LoadIntoWorkspace(*read, *expected);
    form->OpenClicked();
    const QImage before = Picture();
    const std::size_t asked = dialogs.asked.size();

    Import(c.path);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    ASSERT_EQ(dialogs.asked.size(), asked + 1);
    EXPECT_EQ(dialogs.asked.back().start, Control<FileList>("File1")->Path());
    EXPECT_TRUE(*ws == *expected);
    EXPECT_EQ(ws->InputPath, QFile::encodeName(c.path).toStdString());
    EXPECT_TRUE(ws->FileLoaded);
    EXPECT_EQ(ws->NI, ws->N);
    if (c.points != 0) {
      EXPECT_EQ(ws->N, c.points);
    }
    EXPECT_EQ(ws->PlotScale, 1.0);
    EXPECT_DOUBLE_EQ(ws->PlotX0, 0.3);
    EXPECT_EQ(Control<CommittedScrollBar>("HScroll_Olcek")->value(), 10);
    EXPECT_FALSE(Label("Label3").isEmpty());
    EXPECT_EQ(Label("Label3"), TitleText(ws->AirfoilTitle));
    EXPECT_EQ(Label("Label4"), "");
    EXPECT_TRUE(Control<QFrame>("Frame3")->isHidden());
    EXPECT_NE(Picture(), before);
    // File1's selection no longer names the file read; the save box
    // proposes the file imported.
    EXPECT_EQ(Control<FileList>("File1")->FileName(), "");
    form->SaveMenuClicked();
    EXPECT_EQ(Control<QLineEdit>("Text_Save")->text(), QFileInfo(c.path).fileName());
    form->HideBrowser();
  }
  EXPECT_EQ(Label("Label3"), "Test section 0012");
}

// The published NACA 23012 has an open trailing edge, which the route along
// the chord cannot take: the message box keeps the method's own text, the
// status bar adds the way out, and conformal mapping then does it.
TEST_F(ImportExportTest, ARouteRefusalNamesTheWayOutInTheStatusBar) {
  Import(kShared + "/selig/naca23012.dat");
  ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
  form->CalculateClicked();
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts.front().find("is not in the given interpolation range"),
            std::string::npos)
      << messages.texts.front();
  EXPECT_TRUE(form->StatusText().contains(QString::fromUtf8(
      "range \u2014 The contour's first and last points lie at x = ")))
      << form->StatusText().toStdString();
  EXPECT_TRUE(form->StatusText().endsWith(
      QStringLiteral("; for this section tick Conformal Mapping and calculate again.")))
      << form->StatusText().toStdString();

  // A refusal that mapping would not avoid gets no such advice.
  messages.texts.clear();
  Control<QLineEdit>("Text_NI")->setText("1");
  form->CalculateClicked();
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_FALSE(form->StatusText().contains(QStringLiteral("Conformal Mapping")));

  messages.texts.clear();
  Control<QLineEdit>("Text_NI")->setText("51");
  Control<QWidget>("Chk_Mapping")->setProperty("checked", true);
  form->CalculateClicked();
  EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
  EXPECT_TRUE(form->StatusText().startsWith(QStringLiteral("51 new points, conformal mapping")));
}

TEST_F(ImportExportTest, ARefusedOrCancelledImportChangesNothing) {
  struct Case {
    const char* name;
    std::string text;  // written to bad.dat; "" leaves it missing
    QString answer;
    std::string message_part;  // "" expects no message
  };
  const Case cases[] = {
      {"a word among the numbers", "Broken\n1.0 0.0\n0.5 oops\n0.0 0.0\n0.5 0.05\n1.0 0.0\n",
       InTemp("bad.dat"), "bad.dat"},
      {"three numbers on a line", "Broken\n1.0 0.0 7\n0.0 0.0\n1.0 0.01\n", InTemp("bad.dat"),
       "bad.dat"},
      {"a file that is not there", "", InTemp("missing.dat"), "missing.dat"},
      {"the dialog cancelled", "", "", ""},
  };
  OpenThroughFileList(kSection);
  form->CalculateClicked();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(InTemp("bad.dat"));
    if (!c.text.empty()) {
      ASSERT_TRUE(WriteText(InTemp("bad.dat"), c.text));
    }
    messages.texts.clear();
    const auto before = std::make_unique<AirfoilWorkspace>(*ws);
    const QImage picture = Picture();
    const QString title = Label("Label4");

    Import(c.answer);
    if (c.message_part.empty()) {
      EXPECT_TRUE(messages.texts.empty());
    } else {
      ASSERT_EQ(messages.texts.size(), 1u);
      EXPECT_NE(messages.texts[0].find(c.message_part), std::string::npos) << messages.texts[0];
    }
    EXPECT_TRUE(*ws == *before);
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(Label("Label4"), title);
    EXPECT_EQ(Control<FileList>("File1")->FileName(), kSection);
  }
}

// ----------------------------------------------------------------- export

TEST_F(ImportExportTest, ExportWritesThePictureOfTheView) {
  struct Case {
    const char* name;
    QString typed;
    QString filter;  // chosen in the dialog; "" keeps the first (PNG)
    QString written;
    bool svg;
  };
  const Case cases[] = {
      {"PNG by its suffix", "plot.png", "", "plot.png", false},
      {"PNG suffix in capitals", "PLOT2.PNG", "SVG drawing (*.svg)", "PLOT2.PNG", false},
      {"SVG by its suffix", "plot.svg", "", "plot.svg", true},
      {"SVG by the filter, suffix added", "drawing", "SVG drawing (*.svg)", "drawing.svg", true},
      {"PNG by the filter, suffix added", "picture.v1", "PNG image (*.png)", "picture.v1.png",
       false},
  };
  OpenThroughFileList(kSection);
  form->CalculateClicked();
  form->SetScrollOlcek(5);  // zoom 2, the nose moved right by half a chord
  form->SetScrollX0(-5);
  const QImage screen = Picture();
  // The window's plot is antialiased: its red contour, drawn over the blue
  // new points, is a red mixed with blue or the background, never magenta.
  auto reddish = [](QRgb p) {
    return qRed(p) >= 150 && qGreen(p) <= 140 && qRed(p) - qBlue(p) >= 40;
  };
  QRect screen_red;
  for (int y = 30; y < screen.height(); ++y) {  // below the titles
    for (int x = 0; x < screen.width(); ++x) {
      if (reddish(screen.pixel(x, y))) screen_red |= QRect(x, y, 1, 1);
    }
  }
  ASSERT_FALSE(screen_red.isEmpty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Export(InTemp(c.typed), c.filter);
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    ASSERT_TRUE(QFile::exists(InTemp(c.written)));
    EXPECT_TRUE(form->StatusText().startsWith("Exported the plot to "));
    EXPECT_TRUE(form->StatusText().endsWith(c.written)) << form->StatusText().toStdString();
    if (!c.svg) {
      QImage png;
      ASSERT_TRUE(png.load(InTemp(c.written), "PNG"));
      EXPECT_EQ(png.size(), screen.size() * 2);
      // The same drawing at twice the size: the red contour where the
      // window shows it, and the red title in Label3's place.
      const QRect png_red = ColourBox(png, kRed, 60);
      EXPECT_NEAR(png_red.left(), 2 * screen_red.left(), 3);
      EXPECT_NEAR(png_red.right(), 2 * screen_red.right() + 1, 3);
      EXPECT_NEAR(png_red.top(), 2 * screen_red.top(), 3);
      EXPECT_NEAR(png_red.bottom(), 2 * screen_red.bottom() + 1, 3);
      const QRect label3 = Control<QLabel>("Label3")->geometry();
      const QRect title_red =
          ColourBox(png.copy(QRect(label3.topLeft() * 2, label3.size() * 2)), kRed, 0);
      EXPECT_FALSE(title_red.isEmpty());
    } else {
      const std::string text = ReadText(InTemp(c.written));
      QXmlStreamReader xml(QByteArray::fromStdString(text));
      QStringList elements;
      while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) elements << xml.name().toString();
      }
      EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
      ASSERT_FALSE(elements.isEmpty());
      EXPECT_EQ(elements.front(), "svg");
      EXPECT_TRUE(elements.contains("path") || elements.contains("polyline") ||
                  elements.contains("line"));
      EXPECT_NE(text.find("#ff0000"), std::string::npos);  // the contour
      EXPECT_NE(text.find("#0000ff"), std::string::npos);  // the new points
      EXPECT_NE(text.find("Test section 0012 - redistributed"), std::string::npos);
      EXPECT_EQ(text.find("image"), std::string::npos);  // drawn, not a bitmap
    }
  }
  // The dialog proposed the input's name in the current directory first,
  // then the folder and kind of the last picture.
  ASSERT_EQ(dialogs.asked.size(), std::size(cases));
  EXPECT_EQ(dialogs.asked[0].start, InTemp("section.png"));
  EXPECT_EQ(dialogs.asked[0].filters, QStringList({"PNG image (*.png)", "SVG drawing (*.svg)"}));
  EXPECT_EQ(dialogs.asked[2].filter, "SVG drawing (*.svg)");
  EXPECT_EQ(dialogs.asked[2].start, InTemp("section.svg"));
}

TEST_F(ImportExportTest, AFailedOrCancelledExportWritesNothing) {
  struct Case {
    const char* name;
    QString answer;
    std::string message_part;  // "" expects no message
  };
  const Case cases[] = {
      {"a folder that does not exist", InTemp("no_such_folder/plot.png"), "plot.png"},
      {"an existing folder", InTemp("a_folder.svg"), "a_folder.svg"},
      {"the dialog cancelled", "", ""},
  };
  ASSERT_TRUE(QDir(temp.path()).mkpath("a_folder.svg"));
  OpenThroughFileList(kSection);
  const QStringList files = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  const auto before = std::make_unique<AirfoilWorkspace>(*ws);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.texts.clear();
    Export(c.answer);
    if (c.message_part.empty()) {
      EXPECT_TRUE(messages.texts.empty());
    } else {
      ASSERT_EQ(messages.texts.size(), 1u);
      EXPECT_NE(messages.texts[0].find(c.message_part), std::string::npos) << messages.texts[0];
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
    EXPECT_TRUE(*ws == *before);
  }
}

}  // namespace
}  // namespace quilane
