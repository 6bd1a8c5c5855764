// Runs the window tests inside one QApplication on the offscreen platform, so
// they need no display; every message goes to a recorder, never to a box.
#include <QApplication>
#include <QtGlobal>
#include <cstdio>

#include <gtest/gtest.h>

namespace {

QtMessageHandler previous_handler = nullptr;

// The offscreen platform warns about window-manager requests it ignores.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("This plugin does not support")) return;
  if (previous_handler != nullptr) {
    previous_handler(type, context, text);
  } else {
    std::fputs((text + '\n').toLocal8Bit().constData(), stderr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  previous_handler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  QApplication::setApplicationName("QuilaneConfMap");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
