// Shared pieces of the window tests: a message recorder, file dialogs that
// give scripted answers, a current-directory guard, airfoil files written on
// the spot, and a fixture holding one window on its own workspace in a fresh
// temporary folder.
#ifndef QUILANE_TESTS_WINDOW_WINDOW_TEST_SUPPORT_H_
#define QUILANE_TESTS_WINDOW_WINDOW_TEST_SUPPORT_H_

#include <QColor>
#include <QImage>
#include <QListWidget>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "window/file_dialog_service.h"
#include "window/form_quilane.h"
#include "window/message_service.h"
#include "workspace/airfoil_workspace.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{';
  for (const QString& text : texts) *out << " \"" << text.toStdString() << '"';
  *out << " }";
}

namespace quilane {

// Records messages; answers questions from `answers` in turn (none left:
// No, as the box's default).
class RecordingMessages : public MessageService {
 public:
  void Show(const std::string& text) override { texts.push_back(text); }
  bool Ask(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::vector<std::string> texts;
  std::vector<std::string> questions;
  std::deque<bool> answers;
};

// File dialogs that answer from a script instead of waiting for a person: each
// dialog takes the next answer ("" cancels); a dialog with no answer left is
// a test failure and is cancelled.
class ScriptedDialogs : public FileDialogService {
 public:
  struct Asked {
    QString caption;
    QString start;  // folder (open) or proposed path (save)
    QStringList filters;
    QString filter;  // filter chosen at first (save)
  };
  QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QStringList& filters) override;
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                       const QStringList& filters, QString* filter) override;

  std::deque<QString> answers;
  QString chosen_filter;  // the save dialog's filter at the end; "" keeps the first
  std::vector<Asked> asked;

 private:
  QString Next();
};

// Makes `path` the process's current directory until destroyed.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const QString& path);
  ~ScopedCurrentDirectory();

 private:
  QString saved_;
};

// Text of a symmetric section of thickness `thickness` (4-digit formula with a
// closed trailing edge), 2 * `per_surface` + 1 points at cosine spacing, in
// the order trailing edge, lower surface, nose, upper surface, trailing edge.
std::string SectionFileText(const std::string& title, int per_surface, double thickness);
// Writes `text` to `path` as it stands; false when the file cannot be made.
bool WriteText(const QString& path, const std::string& text);
std::string ReadText(const QString& path);
int CountLines(const std::string& text);

// The item of `list` with exactly this text, or null.
QListWidgetItem* ItemNamed(QListWidget* list, const QString& text);
// A left click in the middle of the item, as a person gives it.
void ClickItem(QListWidget* list, QListWidgetItem* item);

bool SameColour(QRgb pixel, const QColor& colour);
// Whether an antialiased drawing in `colour` over `background` covers at
// least half of the pixel: on every channel where the two differ the pixel
// lies at least halfway from the background to the colour, and it matches
// both on the channels where they agree.
bool InkOf(QRgb pixel, const QColor& colour, const QColor& background);

// One window on its own workspace, with the process's current directory set
// to a fresh temporary folder before the window is made (so the file browser
// starts there) and restored afterwards.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Makes the window (call after preparing the folder; the browser lists it
  // at construction) and shows it.
  void OpenWindow();
  // Full path of `name` in the temporary folder.
  QString InTemp(const QString& name) const;
  // Writes a section file into the temporary folder.
  void WriteSection(const QString& name, const std::string& title, int per_surface = 20,
                    double thickness = 0.12);
  // Mn_Open, then a click on `name` in File1.
  void OpenThroughFileList(const QString& name);

  template <typename T>
  T* Control(const char* name) {
    T* control = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  QTemporaryDir temp;
  std::unique_ptr<ScopedCurrentDirectory> cwd;
  std::unique_ptr<AirfoilWorkspace> ws;
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  std::unique_ptr<FormQuilane> form;
};

}  // namespace quilane

#endif  // QUILANE_TESTS_WINDOW_WINDOW_TEST_SUPPORT_H_
