// The file browser of the main window: Drive1 (file-system roots and mounted
// volumes), Dir1 (a directory list to walk up and down the tree) and File1
// (the *.arf files of that directory). Listings are read synchronously with
// QDir; all three start at the process's current directory.
#ifndef QUILANE_WINDOW_FILE_BROWSER_H_
#define QUILANE_WINDOW_FILE_BROWSER_H_

#include <QComboBox>
#include <QFileSystemWatcher>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>

namespace quilane {

class MessageService;

// Drive1: one entry per file-system root or mounted volume that is a folder.
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent = nullptr);

  // The roots offered, sorted, each once ("/" and mount points; "C:/", ...).
  static QStringList Volumes();

  // Root of the entry shown.
  QString Drive() const;
  // Root of the volume that holds `path`: the longest root offered that is
  // `path` or one of its ancestors; empty when none is.
  QString VolumeOf(const QString& path) const;
  // Shows the entry of VolumeOf(path), if any, without raising DriveChosen.
  void ShowVolumeOf(const QString& path);

 signals:
  // The person chose a volume (mouse or keyboard), even the one shown.
  void DriveChosen(const QString& root);

 private:
  int IndexOfVolume(const QString& path) const;
};

// Dir1: the chosen directory's ancestors from the root down to itself, then
// its subdirectories, indented by depth. Activating an entry (double click,
// Enter) makes it the path. Each entry's full path is its Qt::UserRole data.
class DirList : public QListWidget {
  Q_OBJECT

 public:
  explicit DirList(QWidget* parent = nullptr);

  // Absolute, cleaned path of the chosen directory (empty before the first
  // SetPath).
  QString Path() const { return path_; }
  // Lists `path` and makes it the chosen directory, its entry the current
  // one. A folder that cannot be read is refused: nothing changes and the
  // reason is returned (empty on success).
  QString SetPath(const QString& path);

 signals:
  // The person activated an entry; the browser decides whether to go there.
  void EntryActivated(const QString& path);

 private:
  QString path_;
};

// File1: the names of the files of its path that match "*.arf" (letter case
// ignored), sorted. A mouse click on a name or Enter on the current name
// chooses it.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);

  static constexpr const char* kPattern = "*.arf";

  QString Path() const { return path_; }
  // Lists the matching files of `path`; no name is selected afterwards.
  void SetPath(const QString& path);
  // Lists the path again, keeping the selected name selected if it is still
  // there.
  void Refresh();
  // Name (without a folder) of the selected file; empty when none is.
  QString FileName() const;

 signals:
  void FileChosen(const QString& name);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString path_;
};

// Why `path` cannot be listed, or empty when it can.
QString FolderProblem(const QString& path);

// Ties the three lists together: a drive choice moves Dir1 to that volume (to
// the process's current directory when it lies on it, else to the root); a
// Dir1 change moves File1. A folder that cannot be read is reported through
// `messages` and the lists stay where they were. The lists follow the disk:
// when the chosen folder changes (a folder or file made, renamed or removed)
// they are read again, and when it is gone they move to its nearest
// ancestor still there.
class FileBrowser : public QObject {
  Q_OBJECT

 public:
  FileBrowser(DriveList* drive, DirList* dir, FileList* files, MessageService& messages,
              QObject* parent = nullptr);

  // Puts all three lists at `path` (the process's current directory at
  // start); when it cannot be read, at the root of its volume, else at the
  // file-system root.
  void Start(const QString& path);
  // Moves Dir1, and with it File1 and the shown drive, to `path`; false (after
  // a message) when the folder cannot be read.
  bool GoTo(const QString& path);

 private:
  void OnDriveChosen(const QString& root);
  void FollowDisk();
  void Watch(const QString& path);

  DriveList* drive_;
  DirList* dir_;
  FileList* files_;
  MessageService& messages_;
  QFileSystemWatcher watcher_;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_FILE_BROWSER_H_
