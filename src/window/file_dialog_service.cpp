#include "window/file_dialog_service.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace quilane {

QString FilterSuffix(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
  const QRegularExpressionMatch match = pattern.match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

QString StandardFileDialogs::OpenFileName(QWidget* parent, const QString& caption,
                                          const QString& folder, const QStringList& filters) {
  return QFileDialog::getOpenFileName(parent, caption, folder, filters.join(QStringLiteral(";;")));
}

QString StandardFileDialogs::SaveFileName(QWidget* parent, const QString& caption,
                                          const QString& proposed, const QStringList& filters,
                                          QString* filter) {
  QFileDialog dialog(parent, caption);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  if (!filter->isEmpty()) dialog.selectNameFilter(*filter);
  dialog.setDirectory(QFileInfo(proposed).absolutePath());
  dialog.selectFile(QFileInfo(proposed).fileName());
  // The suffix follows the filter, also when the person switches filters.
  dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& chosen) { dialog.setDefaultSuffix(FilterSuffix(chosen)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  *filter = dialog.selectedNameFilter();
  return dialog.selectedFiles().constFirst();
}

}  // namespace quilane
