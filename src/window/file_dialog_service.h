// The file dialogs of the window, behind an interface like the message box so
// that tests can answer them instead of opening a dialog that would wait.
#ifndef QUILANE_WINDOW_FILE_DIALOG_SERVICE_H_
#define QUILANE_WINDOW_FILE_DIALOG_SERVICE_H_

#include <QString>
#include <QStringList>

class QWidget;

namespace quilane {

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;

  // Asks for an existing file to read, starting in `folder`, offering the
  // name filters `filters` ("Airfoil files (*.dat)"), the first one chosen.
  // Returns the file's full path, or "" when the person cancels.
  virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                               const QStringList& filters) = 0;
  // Asks for the name of a file to write, proposing `proposed` (a path) and
  // offering `filters`, of which `*filter` is chosen at first. Returns the
  // full path, or "" when the person cancels; `*filter` receives the filter
  // chosen at the end. A name typed without a suffix gets the chosen
  // filter's.
  virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                               const QStringList& filters, QString* filter) = 0;
};

// The toolkit's standard file dialogs, modal over `parent`; the save dialog
// asks before replacing an existing file.
class StandardFileDialogs : public FileDialogService {
 public:
  QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QStringList& filters) override;
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                       const QStringList& filters, QString* filter) override;
};

// The suffix of the first pattern of a name filter, without its dot:
// "PNG image (*.png)" gives "png"; "" when the filter has no "*." pattern.
QString FilterSuffix(const QString& filter);

}  // namespace quilane

#endif  // QUILANE_WINDOW_FILE_DIALOG_SERVICE_H_
