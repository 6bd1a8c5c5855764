#include "window/message_service.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

namespace quilane {

void BoxMessageService::Show(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Ok, parent_);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

bool BoxMessageService::Ask(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace quilane
