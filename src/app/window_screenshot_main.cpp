// quilane-window-screenshot SAMPLE.arf OUT.png [ABOUT.png]
//
// Opens the window with the sample's folder as the current directory, chooses
// the sample in the file list, presses "Calculate and Show new airfoil
// points" with the start settings and writes a picture of the whole window
// (menu bar and status bar included) to OUT.png; with ABOUT.png, also one of
// the About window. Messages go to standard error instead of a box; any
// message makes the exit status 1. Works headless under
// QT_QPA_PLATFORM=offscreen, and under an X server.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPixmap>
#include <QTextStream>
#include <memory>
#include <string>

#include "window/form_quilane.h"
#include "window/message_service.h"

namespace {

class StderrMessages : public quilane::MessageService {
 public:
  void Show(const std::string& text) override {
    QTextStream(stderr) << "message: " << QString::fromStdString(text) << "\n";
    ++count_;
  }
  bool Ask(const std::string& text) override {
    Show(text);
    return false;
  }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

int Fail(const QString& text) {
  QTextStream(stderr) << "quilane-window-screenshot: " << text << "\n";
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("QuilaneConfMap");
  const QStringList args = QApplication::arguments();
  if (args.size() != 3 && args.size() != 4) {
    return Fail("usage: quilane-window-screenshot SAMPLE.arf OUT.png [ABOUT.png]");
  }
  const QFileInfo sample(args[1]);
  const QString out = QFileInfo(args[2]).absoluteFilePath();
  if (!sample.isFile()) return Fail("no such file: " + args[1]);
  if (!QDir::setCurrent(sample.absolutePath())) return Fail("cannot enter " + sample.absolutePath());

  StderrMessages messages;
  quilane::FormQuilane form(messages);
  form.show();
  QApplication::processEvents();

  // Open, click the sample, calculate: as a person does it.
  form.OpenClicked();
  auto* file1 = form.findChild<QListWidget*>("File1");
  const QList<QListWidgetItem*> found =
      file1 ? file1->findItems(sample.fileName(), Qt::MatchExactly) : QList<QListWidgetItem*>();
  if (found.isEmpty()) return Fail("the file list does not show " + sample.fileName());
  file1->setCurrentItem(found.first());
  form.FileChosen(found.first()->text());
  form.CalculateClicked();
  QApplication::processEvents();

  if (!form.grab().save(out, "PNG")) return Fail("cannot write " + out);
  if (args.size() == 4) {
    const QString about_out = QFileInfo(args[3]).absoluteFilePath();
    form.AboutClicked();
    QApplication::processEvents();
    QWidget* about = form.findChild<QWidget*>("About_Window");
    if (about == nullptr || !about->grab().save(about_out, "PNG")) {
      return Fail("cannot write " + about_out);
    }
  }
  return messages.count() == 0 ? 0 : 1;
}
