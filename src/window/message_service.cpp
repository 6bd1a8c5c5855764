#include "window/message_service.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

namespace quilane {
namespace {

// A plain dialog: a title and a close button, nothing to minimise or maximise.
constexpr Qt::WindowFlags kPlainDialog =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

void BoxMessageService::Show(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Ok, parent_, kPlainDialog);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

bool BoxMessageService::Ask(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, parent_,
                  kPlainDialog);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace quilane
