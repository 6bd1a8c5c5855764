#include "window_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "test_sections.h"

namespace quilane {

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& caption, const QString& folder,
                                     const QStringList& filters) {
  asked.push_back({caption, folder, filters, QString()});
  return Next();
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& caption, const QString& proposed,
                                     const QStringList& filters, QString* filter) {
  asked.push_back({caption, proposed, filters, *filter});
  if (!chosen_filter.isEmpty()) *filter = chosen_filter;
  return Next();
}

QString ScriptedDialogs::Next() {
  if (answers.empty()) {
    ADD_FAILURE() << "a file dialog opened that the test did not expect";
    return QString();
  }
  QString answer = answers.front();
  answers.pop_front();
  return answer;
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const QString& path)
    : saved_(QDir::currentPath()) {
  EXPECT_TRUE(QDir::setCurrent(path)) << path.toStdString();
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() { QDir::setCurrent(saved_); }

std::string SectionFileText(const std::string& title, int per_surface, double thickness) {
  return test::ArfText(title, test::NacaContour(0, 0, thickness, per_surface));
}

bool WriteText(const QString& path, const std::string& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
         static_cast<qint64>(text.size());
}

std::string ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

QListWidgetItem* ItemNamed(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

void ClickItem(QListWidget* list, QListWidgetItem* item) {
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualItemRect(item).center());
}

bool SameColour(QRgb pixel, const QColor& colour) {
  return qRed(pixel) == colour.red() && qGreen(pixel) == colour.green() &&
         qBlue(pixel) == colour.blue();
}

bool InkOf(QRgb pixel, const QColor& colour, const QColor& background) {
  const int got[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
  const int ink[3] = {colour.red(), colour.green(), colour.blue()};
  const int paper[3] = {background.red(), background.green(), background.blue()};
  for (int c = 0; c < 3; ++c) {
    const int span = ink[c] - paper[c];
    if (span == 0) {
      if (got[c] != ink[c]) return false;
      continue;
    }
    const double share = static_cast<double>(got[c] - paper[c]) / span;
    if (share < 0.5 || share > 1.0) return false;
  }
  return true;
}

WindowTest::WindowTest() : ws(std::make_unique<AirfoilWorkspace>()) {
  EXPECT_TRUE(temp.isValid());
  cwd = std::make_unique<ScopedCurrentDirectory>(temp.path());
}

WindowTest::~WindowTest() {
  form.reset();
  cwd.reset();
}

void WindowTest::OpenWindow() {
  form = std::make_unique<FormQuilane>(*ws, messages, dialogs);
  form->show();
  QApplication::processEvents();
}

QString WindowTest::InTemp(const QString& name) const { return QDir(temp.path()).filePath(name); }

void WindowTest::WriteSection(const QString& name, const std::string& title, int per_surface,
                              double thickness) {
  ASSERT_TRUE(WriteText(InTemp(name), SectionFileText(title, per_surface, thickness)));
}

void WindowTest::OpenThroughFileList(const QString& name) {
  form->OpenClicked();
  auto* file1 = Control<QListWidget>("File1");
  ASSERT_NE(file1, nullptr);
  QListWidgetItem* item = ItemNamed(file1, name);
  ASSERT_NE(item, nullptr) << name.toStdString();
  ClickItem(file1, item);
}

}  // namespace quilane
