#include "window/file_browser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>
#include <filesystem>
#include <system_error>

#include "window/message_service.h"

namespace quilane {
namespace {

QString Clean(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

Qt::CaseSensitivity PathCase() {
#ifdef Q_OS_WIN
  return Qt::CaseInsensitive;
#else
  return Qt::CaseSensitive;
#endif
}

// True when `path` is `root` or lies below it.
bool LiesOn(const QString& path, const QString& root) {
  if (path.compare(root, PathCase()) == 0) return true;
  const QString prefix = root.endsWith('/') ? root : root + '/';
  return path.startsWith(prefix, PathCase());
}

QString Indent(int depth) { return QString(2 * depth, QChar(' ')); }

}  // namespace

QString FolderProblem(const QString& path) {
  std::error_code error;
  std::filesystem::directory_iterator probe(std::filesystem::path(path.toStdU16String()), error);
  if (!error) return {};
  return QString::fromLocal8Bit(error.message().c_str());
}

// ---------------------------------------------------------------- DriveList

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  for (const QString& root : Volumes()) addItem(QDir::toNativeSeparators(root), root);
  connect(this, &QComboBox::activated, this,
          [this](int index) { emit DriveChosen(itemData(index).toString()); });
}

QStringList DriveList::Volumes() {
  QStringList roots;
  for (const QFileInfo& drive : QDir::drives()) roots << Clean(drive.absoluteFilePath());
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
      roots << Clean(volume.rootPath());
    }
  }
  roots.removeDuplicates();
  roots.sort(PathCase());
  return roots;
}

QString DriveList::Drive() const { return currentData().toString(); }

int DriveList::IndexOfVolume(const QString& path) const {
  const QString clean = Clean(path);
  int best = -1;
  qsizetype best_length = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    if (LiesOn(clean, root) && root.size() > best_length) {
      best = i;
      best_length = root.size();
    }
  }
  return best;
}

QString DriveList::VolumeOf(const QString& path) const {
  const int index = IndexOfVolume(path);
  return index >= 0 ? itemData(index).toString() : QString();
}

void DriveList::ShowVolumeOf(const QString& path) {
  const int index = IndexOfVolume(path);
  if (index >= 0) setCurrentIndex(index);
}

// ------------------------------------------------------------------ DirList

DirList::DirList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit EntryActivated(item->data(Qt::UserRole).toString());
  });
}

QString DirList::SetPath(const QString& path) {
  const QString clean = Clean(path);
  const QString problem = FolderProblem(clean);
  if (!problem.isEmpty()) return problem;

  QStringList chain;
  QDir walker(clean);
  chain.prepend(walker.absolutePath());
  while (!walker.isRoot() && walker.cdUp()) chain.prepend(walker.absolutePath());

  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  clear();
  for (int depth = 0; depth < chain.size(); ++depth) {
    const QString name =
        depth == 0 ? QDir::toNativeSeparators(chain[depth]) : QDir(chain[depth]).dirName();
    auto* item = new QListWidgetItem(open_icon, Indent(depth) + name, this);
    item->setData(Qt::UserRole, chain[depth]);
  }
  QListWidgetItem* here = item(static_cast<int>(chain.size()) - 1);
  const QDir folder(clean);
  const int child_depth = static_cast<int>(chain.size());
  for (const QString& child :
       folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(closed_icon, Indent(child_depth) + child, this);
    item->setData(Qt::UserRole, Clean(folder.absoluteFilePath(child)));
  }
  setCurrentItem(here);
  scrollToItem(here);
  path_ = clean;
  return {};
}

// ----------------------------------------------------------------- FileList

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit FileChosen(item->text()); });
}

void FileList::SetPath(const QString& path) {
  path_ = Clean(path);
  clear();
  const QDir folder(path_);
  addItems(folder.entryList(QStringList{QString::fromLatin1(kPattern)}, QDir::Files,
                            QDir::Name | QDir::IgnoreCase));
}

void FileList::Refresh() {
  const QString selected = FileName();
  SetPath(path_);
  if (selected.isEmpty()) return;
  const QList<QListWidgetItem*> same = findItems(selected, Qt::MatchExactly);
  if (!same.isEmpty()) setCurrentItem(same.first());
}

QString FileList::FileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    currentItem()->setSelected(true);
    emit FileChosen(currentItem()->text());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

// -------------------------------------------------------------- FileBrowser

FileBrowser::FileBrowser(DriveList* drive, DirList* dir, FileList* files,
                         MessageService& messages, QObject* parent)
    : QObject(parent), drive_(drive), dir_(dir), files_(files), messages_(messages) {
  connect(drive_, &DriveList::DriveChosen, this, &FileBrowser::OnDriveChosen);
  connect(dir_, &DirList::EntryActivated, this, [this](const QString& path) { GoTo(path); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileBrowser::FollowDisk);
}

void FileBrowser::Watch(const QString& path) {
  const QStringList watched = watcher_.directories();
  if (watched == QStringList{path}) return;
  if (!watched.isEmpty()) watcher_.removePaths(watched);
  watcher_.addPath(path);
}

void FileBrowser::FollowDisk() {
  QString path = dir_->Path();
  while (!dir_->SetPath(path).isEmpty()) {
    const QString parent = QFileInfo(path).absolutePath();
    if (parent == path) return;  // not even the root: leave the lists as they are
    path = parent;
  }
  if (files_->Path() == dir_->Path()) {
    files_->Refresh();
  } else {
    files_->SetPath(dir_->Path());
  }
  drive_->ShowVolumeOf(dir_->Path());
  Watch(dir_->Path());
}

void FileBrowser::Start(const QString& path) {
  // When the folder cannot be read, still give the lists somewhere to walk from.
  if (GoTo(path)) return;
  const QString volume = drive_->VolumeOf(path);
  if (!volume.isEmpty() && GoTo(volume)) return;
  GoTo(QDir::rootPath());
}

bool FileBrowser::GoTo(const QString& path) {
  const QString problem = dir_->SetPath(path);
  if (!problem.isEmpty()) {
    messages_.Show(("The folder " + QDir::toNativeSeparators(Clean(path)) +
                    " cannot be read: " + problem)
                       .toStdString());
    drive_->ShowVolumeOf(dir_->Path().isEmpty() ? path : dir_->Path());
    return false;
  }
  files_->SetPath(dir_->Path());
  drive_->ShowVolumeOf(dir_->Path());
  Watch(dir_->Path());
  return true;
}

void FileBrowser::OnDriveChosen(const QString& root) {
  const QString here = Clean(QDir::currentPath());
  GoTo(drive_->VolumeOf(here) == root ? here : root);
}

}  // namespace quilane
