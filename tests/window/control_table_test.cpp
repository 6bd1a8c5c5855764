// The window's controls against the table of the form: kind, container,
// place in twips, caption, start value, stacking and tab order; then the
// window itself: caption, size, colours, menu and fonts.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <cmath>
#include <optional>

#include "window/picture_airfoil.h"
#include "window_test_support.h"

namespace quilane {
namespace {

struct Bar {
  Qt::Orientation orientation;
  int minimum;
  int maximum;
  int value;
};

struct ControlRow {
  const char* name;
  const char* kind;       // class name (inherits)
  const char* container;  // objectName of the parent
  int left, top, width, height;  // twips
  std::optional<QString> caption;  // text of a button, label or text box
  std::optional<bool> checked;
  std::optional<Bar> bar;
  bool hidden_at_start = false;
  bool takes_focus = false;
};

const char* const kClient = "Form_Quilane_Client";

// The table in stacking order, top to bottom.
const std::vector<ControlRow>& Table() {
  static const std::vector<ControlRow> rows = {
      {"Frame5", "QFrame", kClient, 120, 6960, 3495, 1455, {}, {}, {}, false, false},
      {"Chk_Mapping", "QCheckBox", "Frame5", 120, 1080, 1815, 255, "Conformal Mapping", false,
       {}, false, true},
      {"Text_nPoly", "QLineEdit", "Frame5", 3000, 240, 375, 285, "1", {}, {}, false, true},
      {"Option_PwCubic", "QRadioButton", "Frame5", 120, 720, 2055, 255,
       "PW Cubic Spline Interp.", false, {}, false, true},
      {"Option_Lagrange", "QRadioButton", "Frame5", 120, 240, 2775, 255,
       "Lagrange Interpolation ----> nPoly =", true, {}, false, true},
      {"Frame3", "QFrame", kClient, 240, 1080, 5295, 3255, {}, {}, {}, true, false},
      {"Frame4", "QFrame", "Frame3", 360, 720, 2295, 1695, {}, {}, {}, true, false},
      {"Text_Save", "QLineEdit", "Frame4", 120, 240, 2055, 375, "", {}, {}, false, true},
      {"Command_Save", "QPushButton", "Frame4", 120, 840, 2055, 615,
       "Print new file name and click", {}, {}, false, true},
      {"File1", "quilane::FileList", "Frame3", 2880, 240, 2295, 2820, {}, {}, {}, false, true},
      {"Dir1", "quilane::DirList", "Frame3", 120, 600, 2655, 2340, {}, {}, {}, false, true},
      {"Drive1", "quilane::DriveList", "Frame3", 120, 240, 2655, 315, {}, {}, {}, false, true},
      {"Frame2", "QFrame", kClient, 3240, 120, 5895, 735, {}, {}, {}, false, false},
      {"Command1", "QPushButton", "Frame2", 2760, 240, 2895, 375,
       "Calculate and Show new airfoil points", {}, {}, false, true},
      {"Text_NI", "QLineEdit", "Frame2", 2040, 240, 495, 285, "51", {}, {}, false, true},
      {"Label1", "QLabel", "Frame2", 240, 240, 1695, 255, "Number of new points =", {}, {}, false,
       false},
      {"Frame1", "QFrame", kClient, 4440, 6960, 3495, 735, {}, {}, {}, false, false},
      {"Text_Scale", "QLineEdit", "Frame1", 720, 240, 495, 285, "1", {}, {}, false, true},
      {"HScroll_Olcek", "quilane::CommittedScrollBar", "Frame1", 1200, 240, 2055, 255, {}, {},
       Bar{Qt::Horizontal, -5, 100, 1}, false, true},
      {"Label2", "QLabel", "Frame1", 240, 240, 495, 255, QString::fromUtf8("\xC3\x96l\xC3\xA7" "ek"),
       {}, {}, false, false},
      {"Picture_Airfoil", "quilane::PictureAirfoil", kClient, 120, 960, 12000, 6000, {}, {}, {},
       false, true},
      {"VScroll_Y0", "quilane::CommittedScrollBar", "Picture_Airfoil", 11760, 0, 255, 6015, {},
       {}, Bar{Qt::Vertical, -2000, 2000, 0}, false, true},
      {"HScroll_X0", "quilane::CommittedScrollBar", "Picture_Airfoil", 0, 5760, 11775, 255, {},
       {}, Bar{Qt::Horizontal, -50, 50, 0}, false, true},
      {"Label4", "QLabel", "Picture_Airfoil", 8040, 120, 3255, 255, "", {}, {}, false, false},
      {"Label3", "QLabel", "Picture_Airfoil", 2400, 120, 3255, 255, "", {}, {}, false, false},
  };
  return rows;
}

// First to last; frames and labels hold a place but never take the focus.
const char* const kTabOrder[] = {
    "Picture_Airfoil", "Frame1",   "HScroll_Olcek",   "Text_Scale", "Label2",
    "HScroll_X0",      "VScroll_Y0", "Frame2",        "Text_NI",    "Label1",
    "Frame3",          "Drive1",   "Dir1",            "File1",      "Command1",
    "Label3",          "Label4",   "Frame5",          "Option_Lagrange", "Frame4",
    "Command_Save",    "Text_Save", "Option_PwCubic", "Text_nPoly", "Chk_Mapping"};

std::optional<QString> CaptionOf(QWidget* control) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* box = qobject_cast<QLineEdit*>(control)) return box->text();
  return std::nullopt;
}

class ControlTableTest : public WindowTest {
 protected:
  void SetUp() override { OpenWindow(); }
};

TEST_F(ControlTableTest, EveryControlIsAsTheTableSays) {
  for (const ControlRow& row : Table()) {
    SCOPED_TRACE(row.name);
    auto* control = form->findChild<QWidget*>(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(row.kind)) << control->metaObject()->className();
    ASSERT_NE(control->parentWidget(), nullptr);
    EXPECT_EQ(control->parentWidget()->objectName().toStdString(), row.container);
    EXPECT_EQ(control->geometry(),
              QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
    EXPECT_EQ(control->isHidden(), row.hidden_at_start);
    if (row.caption) {
      const std::optional<QString> caption = CaptionOf(control);
      ASSERT_TRUE(caption.has_value());
      EXPECT_EQ(caption->toStdString(), row.caption->toStdString());
    }
    if (row.checked) {
      auto* button = qobject_cast<QAbstractButton*>(control);
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->isChecked(), *row.checked);
    }
    if (row.bar) {
      auto* bar = qobject_cast<QScrollBar*>(control);
      ASSERT_NE(bar, nullptr);
      EXPECT_EQ(bar->orientation(), row.bar->orientation);
      EXPECT_EQ(bar->minimum(), row.bar->minimum);
      EXPECT_EQ(bar->maximum(), row.bar->maximum);
      EXPECT_EQ(bar->value(), row.bar->value);
      EXPECT_EQ(bar->singleStep(), 1);
      EXPECT_EQ(bar->pageStep(), 5);
      EXPECT_FALSE(bar->hasTracking());
    }
    EXPECT_EQ((control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus, row.takes_focus);
  }

  // Stacking: within one container, a control listed earlier lies above a
  // later one; Qt keeps siblings bottom to top in children().
  for (const ControlRow& upper : Table()) {
    for (const ControlRow& lower : Table()) {
      if (&upper >= &lower || std::string(upper.container) != lower.container) continue;
      auto* parent = form->findChild<QWidget*>(upper.container);
      const QObjectList& siblings = parent->children();
      EXPECT_GT(siblings.indexOf(form->findChild<QWidget*>(upper.name)),
                siblings.indexOf(form->findChild<QWidget*>(lower.name)))
          << upper.name << " should lie above " << lower.name;
    }
  }

  // Tab order: the focus chain visits the controls that take the focus in
  // the order of the list.
  std::vector<std::string> expected;
  for (const char* name : kTabOrder) {
    auto* control = form->findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name;
    if (control->focusPolicy() & Qt::TabFocus) expected.push_back(name);
  }
  std::vector<std::string> chain;
  QWidget* start = form->findChild<QWidget*>(kTabOrder[0]);
  for (QWidget* w = start; chain.size() < expected.size(); w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() &&
        form->isAncestorOf(w)) {
      chain.push_back(w->objectName().toStdString());
    }
    if (w->nextInFocusChain() == start) break;
  }
  EXPECT_EQ(chain, expected);
}

TEST_F(ControlTableTest, TheTableNamesEveryNamedControl) {
  size_t named = 0;
  for (QWidget* child : form->centralWidget()->findChildren<QWidget*>()) {
    for (const ControlRow& row : Table()) named += child->objectName() == row.name;
  }
  EXPECT_EQ(named, Table().size());
  EXPECT_EQ(std::size(kTabOrder), Table().size());
}

TEST_F(ControlTableTest, WindowHasItsCaptionFixedClientAreaAndColours) {
  EXPECT_EQ(form->windowTitle().toStdString(),
            "QuilaneConfMap - Redistributing Airfoil coordinates by using conformal mapping");
  EXPECT_EQ(form->objectName(), "Form_Quilane");
  ASSERT_NE(form->centralWidget(), nullptr);
  EXPECT_EQ(form->centralWidget()->size(), QSize(840, 564));
  EXPECT_EQ(form->centralWidget()->y(), form->menuBar()->height());
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  // The status bar lies below the client area: the window grows by its
  // height and no control moves.
  ASSERT_NE(form->statusBar(), nullptr);
  EXPECT_EQ(form->statusBar()->height(), kStatusBarHeight);
  EXPECT_EQ(form->statusBar()->y(), form->menuBar()->height() + 564);
  EXPECT_EQ(form->size().height(), 564 + form->menuBar()->height() + kStatusBarHeight);
  EXPECT_EQ(form->size().width(), 840);

  const QImage client = form->centralWidget()->grab().toImage();
  EXPECT_TRUE(SameColour(client.pixel(2, 2), QColor(192, 192, 192)));

  auto* picture = Control<PictureAirfoil>("Picture_Airfoil");
  EXPECT_EQ(picture->Background(), QColor(255, 255, 192));
  EXPECT_TRUE(SameColour(picture->Picture().pixel(10, 10), QColor(255, 255, 192)));

  struct LabelColours {
    const char* name;
    QColor text;
    QColor background;
  };
  const LabelColours labels[] = {{"Label3", QColor(255, 0, 0), QColor(255, 255, 192)},
                                 {"Label4", QColor(0, 0, 192), QColor(255, 255, 192)},
                                 {"Label2", QColor(), QApplication::palette("QMenu").color(QPalette::Window)}};
  for (const LabelColours& expected : labels) {
    SCOPED_TRACE(expected.name);
    auto* label = Control<QLabel>(expected.name);
    if (expected.text.isValid()) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), expected.text);
    }
    EXPECT_EQ(label->palette().color(QPalette::Window), expected.background);
    EXPECT_TRUE(label->autoFillBackground());
  }
}

TEST_F(ControlTableTest, MenuHasFileWithItsEntriesAndTheCommandAbout) {
  struct Entry {
    const char* name;
    QString caption;
    QKeySequence keys;
  };
  const Entry file_entries[] = {
      {"Mn_Open", "Open", QKeySequence("Ctrl+O")},
      {"Mn_ImportDat", QStringLiteral("Import .dat\u2026"), QKeySequence()},
      {"Mn_Save", "Save", QKeySequence("Ctrl+S")},
      {"Mn_ExportPlot", QStringLiteral("Export plot\u2026"), QKeySequence()},
      {"Mn_Quit", "Quit", QKeySequence("Ctrl+Q")},
  };
  const QList<QAction*> top = form->menuBar()->actions();
  ASSERT_EQ(top.size(), 3);
  auto* file_menu = top[0]->menu();
  ASSERT_NE(file_menu, nullptr);
  EXPECT_EQ(file_menu->objectName(), "Mn_File");
  EXPECT_EQ(file_menu->title().remove('&'), "File");
  QList<QAction*> actions = file_menu->actions();
  actions.removeIf([](const QAction* action) { return action->isSeparator(); });
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(file_entries)));
  QStringList texts = {file_menu->title(), top[1]->text(), top[2]->text()};
  for (std::size_t i = 0; i < std::size(file_entries); ++i) {
    SCOPED_TRACE(file_entries[i].name);
    EXPECT_EQ(actions[i]->objectName(), file_entries[i].name);
    EXPECT_EQ(QString(actions[i]->text()).remove('&'), file_entries[i].caption);
    EXPECT_EQ(actions[i]->shortcut(), file_entries[i].keys);
    texts << actions[i]->text();
  }
  // Calculation holds one switch, off at start.
  ASSERT_NE(top[1]->menu(), nullptr);
  EXPECT_EQ(top[1]->menu()->objectName(), "Mn_Calculation");
  ASSERT_EQ(top[1]->menu()->actions().size(), 1);
  const QAction* on_spline = top[1]->menu()->actions()[0];
  EXPECT_EQ(on_spline->objectName(), "Mn_OnSpline");
  EXPECT_EQ(QString(on_spline->text()).remove('&'),
            "Place new points on a spline through the input");
  EXPECT_TRUE(on_spline->isCheckable() && !on_spline->isChecked());
  texts << on_spline->text();
  EXPECT_EQ(top[2]->objectName(), "Mn_About");
  EXPECT_EQ(top[2]->text().remove('&'), "About");
  EXPECT_EQ(top[2]->menu(), nullptr);
  // Every entry can be reached from the keyboard through its own underlined
  // letter.
  QStringList letters;
  for (const QString& text : texts) {
    const qsizetype at = text.indexOf('&');
    ASSERT_GE(at, 0) << text.toStdString();
    letters << text.mid(at + 1, 1).toLower();
  }
  letters.removeDuplicates();
  EXPECT_EQ(letters.size(), texts.size()) << letters.join(' ').toStdString();
}

// Every caption is shown whole: its control is at least as large as the
// caption needs in the window's font.
TEST_F(ControlTableTest, NoCaptionIsCut) {
  for (const char* name : {"Label1", "Label2", "Chk_Mapping", "Option_Lagrange",
                           "Option_PwCubic", "Command1"}) {
    auto* control = Control<QWidget>(name);
    EXPECT_LE(control->sizeHint().width(), control->width()) << name;
    EXPECT_LE(control->sizeHint().height(), control->height()) << name;
  }
  // The tall save button wraps its caption onto as many lines as it needs.
  auto* save = Control<QPushButton>("Command_Save");
  const QFontMetrics metrics(save->font());
  const QRect wrapped = metrics.boundingRect(QRect(0, 0, save->width() - 8, 1000),
                                             Qt::AlignCenter | Qt::TextWordWrap, save->text());
  EXPECT_LE(wrapped.height(), save->height());
}

// "Ölçek" shows its dots: the drawn label has ink above the top of the ink of
// the same label showing "Olcek".
TEST_F(ControlTableTest, ScaleLabelShowsItsDiaeresis) {
  auto* label = Control<QLabel>("Label2");
  auto ink_top = [&](const QString& text) {
    label->setText(text);
    const QImage image = label->grab().toImage();
    const QColor background = label->palette().color(QPalette::Window);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (!SameColour(image.pixel(x, y), background)) return y;
      }
    }
    return image.height();
  };
  const QString caption = label->text();
  const int with_dots = ink_top(caption);
  const int without = ink_top("Olcek");
  label->setText(caption);
  EXPECT_GT(with_dots, 0) << "the dots are cut at the top of the label";
  EXPECT_LT(with_dots, without);
  const QFontMetrics metrics(label->font());
  EXPECT_TRUE(metrics.inFont(QChar(0x00D6)));
  EXPECT_TRUE(metrics.inFont(QChar(0x00E7)));
}

}  // namespace
}  // namespace quilane
