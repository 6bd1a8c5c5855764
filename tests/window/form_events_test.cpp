// The window's events from start to saved files: the browser and save box
// visibility, opening a file through File1, calculating through Command1,
// saving through Command_Save, and the information window.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "window/committed_scroll_bar.h"
#include "window/file_browser.h"
#include "window/picture_airfoil.h"
#include "window_test_support.h"

namespace quilane {
namespace {

const char kSection[] = "section.arf";
const char kTitle[] = "Test section 0012";

class FormEventsTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSection(kSection, kTitle, 20);  // 41 points
    OpenWindow();
  }
  QFrame* Frame(const char* name) { return Control<QFrame>(name); }
  void Click(const char* button) {
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
  }
  void Type(const char* box, const QString& text) {
    auto* edit = Control<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void CalculateWith(const QString& ni) {
    Type("Text_NI", ni);
    Click("Command1");
  }
  void SaveAs(const QString& name) {
    form->SaveMenuClicked();
    Type("Text_Save", name);
    Click("Command_Save");
  }
};

// ------------------------------------------------------------ visibility

TEST_F(FormEventsTest, BrowserAndSaveBoxFollowTheirTable) {
  struct Step {
    const char* name;
    std::function<void()> action;
    bool frame3_shown;
    bool frame4_shown;
  };
  const std::vector<Step> steps = {
      {"start", [] {}, false, false},
      {"after Open", [&] { form->OpenClicked(); }, true, false},
      {"after a file is selected", [&] { OpenThroughFileList(kSection); }, false, false},
      {"after Save in the menu", [&] { form->SaveMenuClicked(); }, true, true},
      {"after Command_Save with the input file's name", [&] { Click("Command_Save"); }, true,
       true},
      {"after a file is selected with the save box open",
       [&] {
         ClickItem(Control<QListWidget>("File1"),
                   ItemNamed(Control<QListWidget>("File1"), kSection));
       },
       false, true},
      {"after Open again the save box is back", [&] { form->OpenClicked(); }, true, true},
      {"after Command_Save with an accepted name",
       [&] {
         Type("Text_Save", "accepted.arf");
         Click("Command_Save");
       },
       false, false},
      {"after Open with the save box closed", [&] { form->OpenClicked(); }, true, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.action();
    EXPECT_EQ(!Frame("Frame3")->isHidden(), step.frame3_shown);
    EXPECT_EQ(!Frame("Frame4")->isHidden(), step.frame4_shown);
  }
  EXPECT_EQ(messages.texts, std::vector<std::string>({"Use a different file name then the old one"}));
}

// ------------------------------------------------------------- open a file

TEST_F(FormEventsTest, CalculatingBeforeAFileOnlySaysSo) {
  const auto before = std::make_unique<AirfoilWorkspace>(*ws);
  Click("Command1");
  EXPECT_EQ(messages.texts, std::vector<std::string>({"Open a file containing airfoil coordinates"}));
  EXPECT_TRUE(*ws == *before);
}

TEST_F(FormEventsTest, WindowLoadSetsPi) {
  EXPECT_EQ(ws->Pi, 3.141592653589793);
}

TEST_F(FormEventsTest, ChoosingAFileReadsAndPlotsIt) {
  OpenThroughFileList(kSection);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(ws->InputPath,
            QFile::encodeName(QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator() +
                              kSection)
                .toStdString());
  EXPECT_TRUE(ws->FileLoaded);
  EXPECT_EQ(ws->N, 41);
  EXPECT_EQ(ws->NI, 41);
  EXPECT_EQ(ws->ILE, 21);
  EXPECT_EQ(ws->X[21], 0.0);
  EXPECT_EQ(ws->X[41], 1.0);
  for (int i = 1; i <= 41; ++i) {
    EXPECT_EQ(ws->XI[i], ws->X[i]);
    EXPECT_EQ(ws->YI[i], ws->Y[i]);
  }
  EXPECT_EQ(ws->PlotScale, 1.0);
  EXPECT_EQ(ws->PlotTitle, "");
  EXPECT_EQ(Control<QLabel>("Label3")->text(), kTitle);
  EXPECT_EQ(Control<QLabel>("Label4")->text(), "");
  EXPECT_TRUE(Frame("Frame3")->isHidden());
  // The nose (0, 0) is drawn at pixel (66.7, 200) with a red marker.
  const QImage& image = Control<PictureAirfoil>("Picture_Airfoil")->Picture();
  int red = 0;
  for (int y = 195; y <= 205; ++y) {
    for (int x = 60; x <= 72; ++x) {
      red += InkOf(image.pixel(x, y), QColor(255, 0, 0), QColor(255, 255, 192));
    }
  }
  EXPECT_GT(red, 0);
}

TEST_F(FormEventsTest, AFileChosenKeepsOffsetsAndBarsButResetsTheZoom) {
  form->SetScrollOlcek(10);
  form->SetScrollX0(3);
  OpenThroughFileList(kSection);
  EXPECT_EQ(ws->PlotScale, 1.0);
  EXPECT_DOUBLE_EQ(ws->PlotX0, 0.3);
  EXPECT_EQ(Control<QLineEdit>("Text_Scale")->text(), "3");
  EXPECT_EQ(Control<CommittedScrollBar>("HScroll_Olcek")->value(), 10);
}

TEST_F(FormEventsTest, ARefusedFileChangesNothing) {
  ASSERT_TRUE(WriteText(InTemp("broken.arf"), "title\r\n 5 \r\n 1 1.0 0.0\r\n 2 oops 0.1\r\n"));
  OpenThroughFileList(kSection);
  Control<QLineEdit>("Text_NI")->setText("31");
  Click("Command1");
  messages.texts.clear();
  const auto before = std::make_unique<AirfoilWorkspace>(*ws);
  const QImage picture = Control<PictureAirfoil>("Picture_Airfoil")->Picture().copy();

  OpenThroughFileList("broken.arf");
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("broken.arf"), std::string::npos) << messages.texts[0];
  EXPECT_TRUE(*ws == *before);
  EXPECT_EQ(Control<PictureAirfoil>("Picture_Airfoil")->Picture(), picture);
  EXPECT_EQ(Control<QLabel>("Label4")->text().toStdString(),
            std::string(kTitle) + " - redistributed");
}

TEST_F(FormEventsTest, TheKeyboardChoosesAFile) {
  WriteSection("another.arf", "Another", 10);
  form->OpenClicked();
  auto* file1 = Control<QListWidget>("File1");
  file1->setFocus();
  file1->setCurrentRow(-1);
  QTest::keyClick(file1, Qt::Key_Down);  // first entry: another.arf
  EXPECT_FALSE(ws->FileLoaded);          // moving alone reads nothing
  QTest::keyClick(file1, Qt::Key_Down);
  QTest::keyClick(file1, Qt::Key_Return);
  EXPECT_TRUE(ws->FileLoaded);
  EXPECT_EQ(ws->AirfoilTitle, kTitle);
  EXPECT_TRUE(Frame("Frame3")->isHidden());
}

// -------------------------------------------------------------- calculate

TEST_F(FormEventsTest, CalculatingResetsTheViewThroughTheBars) {
  OpenThroughFileList(kSection);
  form->SetScrollOlcek(20);
  form->SetScrollX0(-7);
  form->SetScrollY0(300);
  Click("Command1");
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(Control<CommittedScrollBar>("HScroll_Olcek")->value(), 0);
  EXPECT_EQ(Control<CommittedScrollBar>("HScroll_X0")->value(), 0);
  EXPECT_EQ(Control<CommittedScrollBar>("VScroll_Y0")->value(), 0);
  EXPECT_EQ(Control<QLineEdit>("Text_Scale")->text(), "1");
  EXPECT_EQ(ws->PlotScale, 1.0);
  EXPECT_EQ(ws->PlotX0, 0.0);
  EXPECT_EQ(ws->PlotY0, 0.0);
  EXPECT_EQ(ws->NI, 51);
  EXPECT_EQ(static_cast<double>(ws->NCamber), 26.0);
  EXPECT_EQ(Control<QLabel>("Label3")->text(), kTitle);
  EXPECT_EQ(Control<QLabel>("Label4")->text().toStdString(),
            std::string(kTitle) + " - redistributed");
}

TEST_F(FormEventsTest, TheRunsRefusalsArriveAsMessages) {
  struct Case {
    const char* name;
    const char* ni;
    const char* npoly;
    std::string message_start;
  };
  const Case cases[] = {
      {"degree as large as the point count", "51", "41", "nPoly must be lower then 41"},
      {"too many new points", "1001", "1", ""},
      {"no number", "many", "1", ""},
  };
  OpenThroughFileList(kSection);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.texts.clear();
    Control<QLineEdit>("Text_nPoly")->setText(c.npoly);
    CalculateWith(c.ni);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0].rfind(c.message_start, 0), 0u) << messages.texts[0];
    EXPECT_FALSE(ws->NCamber.IsSet());
  }
}

// ------------------------------------------------------------------- save

TEST_F(FormEventsTest, SaveMenuProposesTheSelectedName) {
  form->SaveMenuClicked();
  EXPECT_EQ(Control<QLineEdit>("Text_Save")->text(), "");
  OpenThroughFileList(kSection);
  form->SaveMenuClicked();
  EXPECT_EQ(Control<QLineEdit>("Text_Save")->text(), kSection);
  EXPECT_TRUE(Control<QLineEdit>("Text_Save")->hasFocus() || !QApplication::focusWindow());
}

TEST_F(FormEventsTest, SavingWritesBothFilesInTheCurrentDirectory) {
  OpenThroughFileList(kSection);
  Click("Command1");
  SaveAs("out.arf");
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(ws->SaveName, "out.arf");
  EXPECT_EQ(ws->CamberName, "Camber_out.arf");
  const std::string points = ReadText(InTemp("out.arf"));
  const std::string camber = ReadText(InTemp("Camber_out.arf"));
  EXPECT_EQ(CountLines(points), 53);
  EXPECT_EQ(CountLines(camber), 28);
  EXPECT_EQ(points.rfind(std::string(kTitle) + " - redistributed\r\n 51 \r\n", 0), 0u);
  EXPECT_EQ(camber.rfind(std::string(kTitle) + " - redistributed\r\n 26 \r\n", 0), 0u);
  EXPECT_TRUE(Frame("Frame3")->isHidden());
  EXPECT_TRUE(Frame("Frame4")->isHidden());
  // The written file is offered at once and reads back.
  OpenThroughFileList("out.arf");
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(ws->N, 51);
}

TEST_F(FormEventsTest, SavingGoesToTheCurrentDirectoryWhateverTheBrowserShows) {
  ASSERT_TRUE(QDir(temp.path()).mkpath("elsewhere"));
  OpenThroughFileList(kSection);
  Click("Command1");
  auto* dir1 = Control<QListWidget>("Dir1");
  QTest::keyClick(dir1, Qt::Key_Return);  // the folder itself, listed anew
  for (int i = 0; i < dir1->count(); ++i) {
    if (dir1->item(i)->text().trimmed() == "elsewhere") {
      dir1->setCurrentRow(i);
      QTest::keyClick(dir1, Qt::Key_Return);
    }
  }
  ASSERT_EQ(Control<FileList>("File1")->Path(), QDir::cleanPath(InTemp("elsewhere")));
  SaveAs("there.arf");
  EXPECT_TRUE(QFile::exists(InTemp("there.arf")));
  EXPECT_TRUE(QFile::exists(InTemp("Camber_there.arf")));
  EXPECT_FALSE(QFile::exists(InTemp("elsewhere/there.arf")));
}

TEST_F(FormEventsTest, NamesThatDifferFromTheInputAreAccepted) {
  struct Case {
    const char* name;
    QString typed;
    QString written;
  };
  const Case cases[] = {
      {"another name", "new.arf", "new.arf"},
      {"the input's name in other letter case", "SECTION.arf", "SECTION.arf"},
      {"a name in a subfolder", "sub/new.arf", "sub/new.arf"},
  };
  ASSERT_TRUE(QDir(temp.path()).mkpath("sub"));
  OpenThroughFileList(kSection);
  Click("Command1");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.texts.clear();
    SaveAs(c.typed);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(CountLines(ReadText(InTemp(c.written))), 53);
    EXPECT_TRUE(Frame("Frame3")->isHidden());
    EXPECT_TRUE(Frame("Frame4")->isHidden());
  }
  EXPECT_TRUE(QFile::exists(InTemp("sub/Camber_new.arf")));
}

TEST_F(FormEventsTest, NamesThatWouldReplaceTheInputAreRefused) {
  struct Case {
    const char* name;
    QString input;  // file chosen in File1
    std::function<QString(const QString& folder)> typed;
    bool select_in_file_list;  // the input still selected in File1
  };
  const Case cases[] = {
      {"the selected name itself", kSection, [](const QString&) { return QString(kSection); },
       true},
      {"the input through a path", kSection,
       [](const QString&) { return QString("./") + kSection; }, true},
      {"the input by its full path", kSection,
       [](const QString& folder) { return folder + "/" + kSection; }, true},
      {"the input after the selection is gone", kSection,
       [](const QString&) { return QString(kSection); }, false},
      {"a name whose camber file is the input", "Camber_twin.arf",
       [](const QString&) { return QString("twin.arf"); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.input != kSection) WriteSection(c.input, "Twin", 12);
    Control<FileList>("File1")->Refresh();
    OpenThroughFileList(c.input);
    const std::string input_before = ReadText(InTemp(c.input));
    if (!c.select_in_file_list) Control<QListWidget>("File1")->clearSelection();
    const QStringList files_before = QDir(temp.path()).entryList(QDir::Files);
    messages.texts.clear();
    SaveAs(c.typed(temp.path()));
    EXPECT_EQ(messages.texts,
              std::vector<std::string>({"Use a different file name then the old one"}));
    EXPECT_EQ(ReadText(InTemp(c.input)), input_before);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), files_before);
    EXPECT_FALSE(Frame("Frame3")->isHidden());
    EXPECT_FALSE(Frame("Frame4")->isHidden());
  }
}

TEST_F(FormEventsTest, AWriteFailureShowsTheWritersMessageAndKeepsTheBoxes) {
  OpenThroughFileList(kSection);
  Click("Command1");
  SaveAs("no_such_folder/out.arf");
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("out.arf"), std::string::npos) << messages.texts[0];
  EXPECT_FALSE(Frame("Frame3")->isHidden());
  EXPECT_FALSE(Frame("Frame4")->isHidden());
}

TEST_F(FormEventsTest, FromStartToSavedFilesWithTheKeyboard) {
  form->activateWindow();
  QApplication::setActiveWindow(form.get());
  // Each key goes where the focus is, as typed.
  auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
  };
  auto type = [](const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); };
  auto* file_menu = form->findChild<QMenu*>("Mn_File");

  // File > Open through the underlined letters: the file list has the focus.
  QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(file_menu->isVisible());
  press(Qt::Key_O);
  ASSERT_FALSE(Frame("Frame3")->isHidden());
  ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>("File1"));
  press(Qt::Key_Down);
  press(Qt::Key_Return);
  ASSERT_TRUE(ws->FileLoaded);
  ASSERT_TRUE(Frame("Frame3")->isHidden());

  // The focus left the hidden list for the next control: the button. Back
  // to the point count, then on to the button.
  EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>("Command1"));
  Control<QLineEdit>("Text_NI")->setFocus();
  Control<QLineEdit>("Text_NI")->selectAll();
  type("31");
  press(Qt::Key_Tab);  // Text_NI -> Drive1 is hidden -> ... -> Command1
  ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>("Command1"));
  press(Qt::Key_Space);
  EXPECT_EQ(ws->NI, 31);

  // File > Save: the name box has the focus with the proposed name selected.
  QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(file_menu->isVisible());
  press(Qt::Key_S);
  ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>("Text_Save"));
  EXPECT_EQ(Control<QLineEdit>("Text_Save")->selectedText(), kSection);
  type("keys.arf");
  press(Qt::Key_Tab, Qt::ShiftModifier);  // Text_Save -> Command_Save
  ASSERT_EQ(QApplication::focusWidget(), Control<QWidget>("Command_Save"));
  press(Qt::Key_Return);
  EXPECT_TRUE(messages.texts.empty());
  EXPECT_EQ(CountLines(ReadText(InTemp("keys.arf"))), 33);
  EXPECT_EQ(CountLines(ReadText(InTemp("Camber_keys.arf"))), 18);
}

// ------------------------------------------------------------------ about

TEST_F(FormEventsTest, AboutOpensANonModalWindowThatCloses) {
  form->AboutClicked();
  auto* about = form->findChild<QWidget*>("About_Window");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(about->isWindow());
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(about->findChild<QLabel*>("About_Name")->text(), "QuilaneConfMap");
  EXPECT_EQ(about->findChild<QLabel*>("About_Version")->text(), "Version " QUILANE_VERSION);
  EXPECT_GT(about->findChild<QLabel*>("About_Text")->text().size(), 200);
  // The main window still takes clicks.
  Click("Command1");
  EXPECT_EQ(messages.texts.size(), 1u);
  QTest::mouseClick(about->findChild<QPushButton*>("About_Close"), Qt::LeftButton);
  EXPECT_FALSE(about->isVisible());
  form->AboutClicked();
  EXPECT_TRUE(about->isVisible());
}

}  // namespace
}  // namespace quilane
