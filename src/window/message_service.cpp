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

}  // namespace quilane
