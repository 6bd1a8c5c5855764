// Ending the window program after its first painted frame: the variable that
// asks for it, the watcher that ends the event loop, and the real program
// started with the variable set.
#include "window/first_paint_exit.h"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "window_test_support.h"

namespace quilane {
namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// "name value" lines as a map; nothing for a line of another shape.
std::optional<std::map<std::string, long long>> ReportValues(const std::string& text) {
  std::map<std::string, long long> values;
  std::istringstream lines(text);
  std::string name;
  long long value = 0;
  while (lines >> name >> value) values[name] = value;
  if (!lines.eof()) return std::nullopt;
  return values;
}

std::string WholeFile(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
    text.push_back(static_cast<char>(c));
  return text;
}

// Counts the paint events of the widget it filters.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Puts an environment variable back as it was.
class ScopedVariable {
 public:
  explicit ScopedVariable(const char* name)
      : name_(name), saved_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {}
  ~ScopedVariable() {
    if (had_) {
      qputenv(name_, saved_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  QByteArray saved_;
  bool had_;
};

TEST(FirstPaintExitTest, OnlyTheValueOneAsksForIt) {
  struct Case {
    const char* name;
    const char* value;  // nullptr: unset
    bool requested;
  };
  const Case cases[] = {
      {"unset", nullptr, false}, {"one", "1", true},       {"empty", "", false},
      {"zero", "0", false},      {"a word", "yes", false}, {"one with a blank", "1 ", false},
  };
  const ScopedVariable keep(kQuitAfterFirstPaintVariable);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.value == nullptr) {
      qunsetenv(kQuitAfterFirstPaintVariable);
    } else {
      qputenv(kQuitAfterFirstPaintVariable, c.value);
    }
    EXPECT_EQ(QuitAfterFirstPaintRequested(), c.requested);
  }
}

// Runs the event loop until something quits it or `limit_ms` pass; true when
// something else quit it first.
bool ExecQuitsWithin(int limit_ms) {
  bool timed_out = false;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [&] {
    timed_out = true;
    QApplication::quit();
  });
  limit.start(limit_ms);
  QApplication::exec();
  return !timed_out;
}

TEST(FirstPaintExitTest, EndsTheEventLoopAfterTheWindowsFirstFrameAndSaysWhen) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> report(std::tmpfile(), &std::fclose);
  ASSERT_NE(report, nullptr);
  QWidget window;
  window.resize(200, 100);
  QWidget child(&window);
  child.setGeometry(10, 10, 50, 50);
  const long long before = NowNs();
  FirstPaintExit exit(&window, report.get());
  window.show();
  ASSERT_TRUE(ExecQuitsWithin(20000)) << "the watcher never ended the event loop";
  const long long after = NowNs();

  const auto values = ReportValues(WholeFile(report.get()));
  ASSERT_TRUE(values.has_value());
  ASSERT_EQ(values->size(), 2u);
  EXPECT_EQ(values->at("first_paint_ns"), exit.first_paint_ns());
  EXPECT_EQ(values->at("painted_ns"), exit.painted_ns());
  EXPECT_LE(before, exit.first_paint_ns());
  EXPECT_LE(exit.first_paint_ns(), exit.painted_ns());
  EXPECT_LE(exit.painted_ns(), after);
}

TEST(FirstPaintExitTest, PaintsOfAnotherWindowDoNotCount) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> report(std::tmpfile(), &std::fclose);
  ASSERT_NE(report, nullptr);
  QWidget watched;
  watched.resize(200, 100);
  QWidget other;
  other.resize(200, 100);
  PaintCounter other_paints;
  other.installEventFilter(&other_paints);
  FirstPaintExit exit(&watched, report.get());
  other.show();
  QApplication::processEvents();
  other.repaint();
  ASSERT_GT(other_paints.paints, 0) << "the other window was never painted";
  EXPECT_EQ(exit.first_paint_ns(), 0);
  EXPECT_EQ(WholeFile(report.get()), "");

  watched.show();
  ASSERT_TRUE(ExecQuitsWithin(20000));
  EXPECT_NE(exit.painted_ns(), 0);
}

// The real program, started as bench/startup.py starts it.
TEST(FirstPaintExitTest, TheWindowProgramQuitsAfterItsFirstFrameWhenAsked) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QString::fromLatin1(kQuitAfterFirstPaintVariable), QStringLiteral("1"));
  program.setProcessEnvironment(environment);
  const long long before = NowNs();
  program.start(QStringLiteral(QUILANE_WINDOW_PROGRAM), {});
  ASSERT_TRUE(program.waitForStarted(20000));
  ASSERT_TRUE(program.waitForFinished(60000)) << "the program did not end by itself";
  const long long after = NowNs();
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  const auto values = ReportValues(program.readAllStandardOutput().toStdString());
  ASSERT_TRUE(values.has_value());
  ASSERT_EQ(values->count("first_paint_ns"), 1u);
  ASSERT_EQ(values->count("painted_ns"), 1u);
  EXPECT_LE(before, values->at("first_paint_ns"));
  EXPECT_LE(values->at("first_paint_ns"), values->at("painted_ns"));
  EXPECT_LE(values->at("painted_ns"), after);
}

}  // namespace
}  // namespace quilane
