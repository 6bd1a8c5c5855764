// The save box as a desktop user expects it (Escape, Enter, a question
// before replacing a file, a message for an empty name, the written files in
// the status bar), and the camber line that a file read clears.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "window/picture_airfoil.h"
#include "window/status_text.h"
#include "window_test_support.h"

namespace quilane {
namespace {

const char kSection[] = "section.arf";
const char kOther[] = "other.arf";

class SaveBoxTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteSection(kSection, "First section", 20);  // 41 points
    WriteSection(kOther, "Other section", 10, 0.2);
    OpenWindow();
    form->activateWindow();
    QApplication::setActiveWindow(form.get());  // for the window's shortcuts
    OpenThroughFileList(kSection);
    form->CalculateClicked();  // 51 new points, 26 camber points
    ASSERT_TRUE(messages.texts.empty());
  }
  bool Shown(const char* frame) { return !Control<QFrame>(frame)->isHidden(); }
  // Save menu, then `name` typed over the proposed one.
  void TypeName(const QString& name) {
    form->SaveMenuClicked();
    auto* box = Control<QLineEdit>("Text_Save");
    box->selectAll();
    if (name.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, name);
  }
  void PressInSaveBox(Qt::Key key) { QTest::keyClick(Control<QLineEdit>("Text_Save"), key); }
  void ClickSave() { QTest::mouseClick(Control<QPushButton>("Command_Save"), Qt::LeftButton); }
};

TEST_F(SaveBoxTest, KeysAndRefusalsOfTheSaveBox) {
  struct Case {
    const char* name;
    std::function<void()> act;
    bool browser_shown;
    bool box_shown;
    std::vector<std::string> messages;
    const char* written;  // a file the action writes, or null
    // Where the keyboard goes: back to the point count, focused before the
    // box opened, or the name box, its text selected, to mend the name.
    const char* focus = "Text_NI";
  };
  const std::string folder_refused =
      "The coordinate file \"../" + QDir(temp.path()).dirName().toStdString() +
      "\" is an existing folder; type a file name, not a folder name.";
  const Case cases[] = {
      {"Escape hides the save box and the browser",
       [&] { TypeName("kept.arf"), PressInSaveBox(Qt::Key_Escape); }, false, false, {}, nullptr},
      {"Escape after a refused name hides both",
       [&] {
         TypeName(kSection);
         ClickSave();
         PressInSaveBox(Qt::Key_Escape);
       },
       false, false, {"Use a different file name then the old one"}, nullptr},
      {"Escape in the file list hides the browser",
       [&] {
         form->OpenClicked();
         QTest::keyClick(Control<QWidget>("File1"), Qt::Key_Escape);
       },
       false, false, {}, nullptr},
      {"Escape with the focus elsewhere in the window",
       [&] {
         TypeName("kept.arf");
         Control<QWidget>("Text_NI")->setFocus();
         QTest::keyClick(Control<QWidget>("Text_NI"), Qt::Key_Escape);
       },
       false, false, {}, nullptr},
      {"Enter in the name box saves", [&] { TypeName("enter.arf"), PressInSaveBox(Qt::Key_Return); },
       false, false, {}, "enter.arf"},
      {"an empty name has its own message",
       [&] {
         TypeName("");
         ClickSave();
       },
       true, true, {kEmptyNameMessage}, nullptr, "Text_Save"},
      {"a name of blanks is no name either",
       [&] {
         TypeName("   ");
         ClickSave();
       },
       true, true, {kEmptyNameMessage}, nullptr, "Text_Save"},
      {"a folder is named as a folder, asking nothing",
       [&] {
         TypeName("../" + QDir(temp.path()).dirName());
         ClickSave();
       },
       true, true, {folder_refused}, nullptr, "Text_Save"},
      {"a folder that does not exist",
       [&] {
         TypeName("missing/x.arf");
         ClickSave();
       },
       true, true, {"The coordinate file \"missing/x.arf\" cannot be written: the folder "
                    "\"missing\" does not exist; choose an existing folder."},
       nullptr, "Text_Save"},
      {"the input file's name keeps its message",
       [&] {
         TypeName(kSection);
         PressInSaveBox(Qt::Key_Enter);
       },
       true, true, {"Use a different file name then the old one"}, nullptr, "Text_Save"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.texts.clear();
    form->HideBrowser();
    Control<QWidget>("Text_NI")->setFocus();
    c.act();
    EXPECT_EQ(Shown("Frame3"), c.browser_shown);
    EXPECT_EQ(Shown("Frame4"), c.box_shown);
    EXPECT_EQ(messages.texts, c.messages);
    EXPECT_TRUE(messages.questions.empty());
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus);
    if (c.box_shown) {
      auto* box = Control<QLineEdit>("Text_Save");
      EXPECT_EQ(box->selectedText(), box->text());
    }
    if (c.written != nullptr) {
      EXPECT_EQ(CountLines(ReadText(InTemp(c.written))), 53);
      EXPECT_EQ(CountLines(ReadText(InTemp(QString("Camber_") + c.written))), 28);
    }
  }
  EXPECT_FALSE(QFile::exists(InTemp("kept.arf")));
}

TEST_F(SaveBoxTest, ReplacingAFileAsksFirstUnlessThisWindowWroteIt) {
  struct Case {
    const char* name;
    const char* existing;  // a file made before the save, not by the window
    const char* typed;
    std::deque<bool> answers;
    int questions;
    bool written;
  };
  const Case cases[] = {
      {"a new name asks nothing", nullptr, "fresh.arf", {}, 0, true},
      {"an existing coordinate file, No", "taken.arf", "taken.arf", {false}, 1, false},
      {"an existing coordinate file, Yes", "taken2.arf", "taken2.arf", {true}, 1, true},
      {"an existing camber file, No", "Camber_c.arf", "c.arf", {false}, 1, false},
      {"a file written earlier in this session", nullptr, "fresh.arf", {}, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.questions.clear();
    messages.answers = c.answers;
    if (c.existing != nullptr) {
      ASSERT_TRUE(WriteText(InTemp(c.existing), "keep me\r\n"));
    }
    TypeName(c.typed);
    ClickSave();
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_EQ(static_cast<int>(messages.questions.size()), c.questions);
    if (c.questions > 0) {
      const std::string& asked = messages.questions.front();
      EXPECT_NE(asked.find(c.existing), std::string::npos) << asked;
      EXPECT_EQ(asked.substr(asked.size() - 11), "Replace it?");
    }
    const std::string coordinates = ReadText(InTemp(c.typed));
    EXPECT_EQ(CountLines(coordinates) == 53, c.written) << coordinates;
    EXPECT_EQ(QFile::exists(InTemp(QString("Camber_") + c.typed)),
              c.written || std::string(c.existing ? c.existing : "").rfind("Camber_", 0) == 0);
    if (c.existing != nullptr && !c.written) {
      EXPECT_EQ(ReadText(InTemp(c.existing)), "keep me\r\n");
      EXPECT_EQ(form->StatusText().toStdString(), KeptStatus(c.existing));
    }
    // No keeps the box open with the name, ready for another one.
    EXPECT_EQ(Shown("Frame4"), !c.written);
    EXPECT_EQ(Shown("Frame3"), !c.written);
  }
}

TEST_F(SaveBoxTest, TheStatusBarTellsWhatEachEventDid) {
  struct Case {
    const char* name;
    std::function<void()> act;
    QString status;  // the line, or its beginning when the line goes on with the report
  };
  const Case cases[] = {
      {"a file chosen in File1", [&] { OpenThroughFileList(kOther); },
       "Read other.arf: arf, 21 points, nose at point 11, trailing edge gap 0.00000"},
      {"a run", [&] { form->CalculateClicked(); },
       "51 new points, cosine spacing along the chord, Lagrange nPoly = 1; max deviation "},
      {"a run with mapping and the spline",
       [&] {
         Control<QWidget>("Chk_Mapping")->setProperty("checked", true);
         Control<QWidget>("Option_PwCubic")->setProperty("checked", true);
         form->CalculateClicked();
       },
       "51 new points, conformal mapping, PW cubic spline; max deviation "},
      {"a save names both files",
       [&] {
         TypeName("named.arf");
         ClickSave();
       },
       "Saved named.arf and Camber_named.arf in " + QDir(temp.path()).absolutePath()},
      {"a refusal shows its first line",
       [&] {
         Control<QLineEdit>("Text_NI")->setText("1");
         form->CalculateClicked();
       },
       QString()},  // filled from the message below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.texts.clear();
    c.act();
    if (c.status.isEmpty()) {
      ASSERT_EQ(messages.texts.size(), 1u);
      const std::string& message = messages.texts.front();
      EXPECT_EQ(form->StatusText().toStdString(), message.substr(0, message.find('\n')));
    } else {
      EXPECT_TRUE(messages.texts.empty());
      if (c.status.endsWith(QLatin1Char(' '))) {
        EXPECT_TRUE(form->StatusText().startsWith(c.status)) << form->StatusText().toStdString();
        // A run's line is longer than the bar: the whole line is the tooltip.
        EXPECT_EQ(Control<QLabel>("Status_Text")->toolTip(), form->StatusText());
      } else {
        EXPECT_EQ(form->StatusText(), c.status);
      }
    }
  }
}

TEST_F(SaveBoxTest, TheStatusBarStartsWithAHint) {
  auto fresh_ws = std::make_unique<AirfoilWorkspace>();
  FormQuilane fresh(*fresh_ws, messages, dialogs);
  EXPECT_EQ(fresh.StatusText(),
            QStringLiteral("Open a coordinate file: File > Open, or File > Import .dat\u2026"));
  // Saving with nothing read writes nothing and says what to do first.
  messages.texts.clear();
  fresh.SaveMenuClicked();
  fresh.SaveClicked();
  EXPECT_EQ(messages.texts, std::vector<std::string>(2, kOpenFileMessage));
  EXPECT_TRUE(fresh.findChild<QFrame*>("Frame4")->isHidden());
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).size(), 2);  // the two sections
}

// A camber file named after a section holds that section's camber line, or
// none: reading a file clears the camber line as at start.
TEST_F(SaveBoxTest, AFileReadClearsTheCamberLineOfTheSectionBefore) {
  struct Case {
    const char* name;
    std::function<void()> load;
  };
  const Case cases[] = {
      {"chosen in File1", [&] { OpenThroughFileList(kOther); }},
      {"imported", [&] {
         dialogs.answers.push_back(InTemp(kOther));
         form->ImportDatClicked();
       }},
  };
  auto* picture = Control<PictureAirfoil>("Picture_Airfoil");
  auto magenta_pixels = [&] {
    const QImage& image = picture->Picture();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        count += InkOf(image.pixel(x, y), QColor(255, 0, 255), QColor(255, 255, 192));
      }
    }
    return count;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenThroughFileList(kSection);
    form->CalculateClicked();
    ASSERT_TRUE(ws->NCamber.IsSet());
    ASSERT_GT(magenta_pixels(), 100);
    c.load();
    ASSERT_TRUE(messages.texts.empty());
    EXPECT_EQ(ws->N, 21);
    EXPECT_FALSE(ws->NCamber.IsSet());
    EXPECT_EQ(magenta_pixels(), 0);
    TypeName("after_load.arf");
    // The second case saves over the first's files: written in this
    // session, so no question.
    ClickSave();
    const std::string camber = ReadText(InTemp("Camber_after_load.arf"));
    // An empty title (no run yet), an empty count line and no points.
    EXPECT_EQ(camber, "\r\n\r\n");
    EXPECT_EQ(CountLines(ReadText(InTemp("after_load.arf"))), 23);
    // The next run makes the camber line of the section read.
    form->CalculateClicked();
    EXPECT_TRUE(ws->NCamber.IsSet());
    EXPECT_EQ(ws->NCamber, 26.0);
  }
}

TEST_F(SaveBoxTest, ARefusedFileKeepsTheCamberLine) {
  ASSERT_TRUE(WriteText(InTemp("broken.arf"), "title\r\nnot a count\r\n"));
  const double camber = ws->NCamber;
  OpenThroughFileList("broken.arf");
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_TRUE(ws->NCamber.IsSet());
  EXPECT_EQ(ws->NCamber, camber);
}

}  // namespace
}  // namespace quilane
