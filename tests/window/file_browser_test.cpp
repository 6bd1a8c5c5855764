// Drive1, Dir1 and File1: where they start, walking up and down, the *.arf
// pattern, and folders that cannot be read.
#include <QComboBox>
#include <QDir>
#include <QTest>

#include "window/file_browser.h"
#include "window_test_support.h"

namespace quilane {
namespace {

QStringList Names(QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text().trimmed();
  return names;
}

QListWidgetItem* DirEntry(DirList* dir, const QString& path) {
  for (int i = 0; i < dir->count(); ++i) {
    if (dir->item(i)->data(Qt::UserRole).toString() == QDir::cleanPath(path)) return dir->item(i);
  }
  return nullptr;
}

class FileBrowserTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(temp.path()).mkpath("sub/deeper"));
    for (const char* name : {"b.arf", "A.arf", "upper.ARF", "notes.txt", "arf", "x.arf.bak"}) {
      ASSERT_TRUE(WriteText(InTemp(name), "x"));
    }
    ASSERT_TRUE(WriteText(InTemp("sub/inner.arf"), "x"));
    ASSERT_TRUE(QDir(temp.path()).mkpath("folder.arf"));  // a folder is not a file
    OpenWindow();
    drive = Control<DriveList>("Drive1");
    dir = Control<DirList>("Dir1");
    files = Control<FileList>("File1");
    form->OpenClicked();
  }
  QString Here() const { return QDir::cleanPath(QDir::currentPath()); }
  void Activate(QListWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    dir->setCurrentItem(item);
    dir->setFocus();
    QTest::keyClick(dir, Qt::Key_Return);
  }

  DriveList* drive = nullptr;
  DirList* dir = nullptr;
  FileList* files = nullptr;
};

TEST_F(FileBrowserTest, AllThreeStartAtTheCurrentDirectory) {
  EXPECT_EQ(dir->Path(), Here());
  EXPECT_EQ(files->Path(), Here());
  EXPECT_EQ(drive->Drive(), drive->VolumeOf(Here()));
  EXPECT_FALSE(drive->Drive().isEmpty());
  ASSERT_NE(dir->currentItem(), nullptr);
  EXPECT_EQ(dir->currentItem()->data(Qt::UserRole).toString(), Here());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(FileBrowserTest, FileListShowsTheArfFilesOfItsFolderOnly) {
  EXPECT_EQ(Names(files), QStringList({"A.arf", "b.arf", "upper.ARF"}));
  EXPECT_EQ(files->FileName(), "");
}

TEST_F(FileBrowserTest, DirectoryListShowsAncestorsThenSubfolders) {
  const QStringList names = Names(dir);
  ASSERT_GE(names.size(), 3);
  EXPECT_EQ(names.first(), QDir::toNativeSeparators(QDir::rootPath()));
  EXPECT_EQ(names[names.size() - 3], QDir(Here()).dirName());
  EXPECT_EQ(names.mid(names.size() - 2), QStringList({"folder.arf", "sub"}));
}

TEST_F(FileBrowserTest, WalksDownAndUpWithTheKeyboard) {
  Activate(DirEntry(dir, InTemp("sub")));
  EXPECT_EQ(dir->Path(), QDir::cleanPath(InTemp("sub")));
  EXPECT_EQ(files->Path(), dir->Path());
  EXPECT_EQ(Names(files), QStringList({"inner.arf"}));
  EXPECT_NE(DirEntry(dir, InTemp("sub/deeper")), nullptr);

  Activate(DirEntry(dir, temp.path()));
  EXPECT_EQ(dir->Path(), Here());
  EXPECT_EQ(Names(files), QStringList({"A.arf", "b.arf", "upper.ARF"}));

  const QString parent = QDir::cleanPath(InTemp(".."));
  Activate(DirEntry(dir, parent));
  EXPECT_EQ(dir->Path(), parent);
  EXPECT_EQ(files->Path(), parent);
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(FileBrowserTest, WalksWithTheMouse) {
  QListWidgetItem* sub = DirEntry(dir, InTemp("sub"));
  ASSERT_NE(sub, nullptr);
  const QPoint centre = dir->visualItemRect(sub).center();
  QTest::mouseClick(dir->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  EXPECT_EQ(dir->Path(), Here());  // one click only marks the entry
  QTest::mouseDClick(dir->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  EXPECT_EQ(dir->Path(), QDir::cleanPath(InTemp("sub")));
  EXPECT_EQ(Names(files), QStringList({"inner.arf"}));
}

// Folders and files made, or a listed folder removed, after the lists were
// read show up without walking away and back.
TEST_F(FileBrowserTest, TheListsFollowTheDisk) {
  ASSERT_TRUE(QDir(temp.path()).mkdir("made later"));
  ASSERT_TRUE(WriteText(InTemp("later.arf"), "x"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Names(dir).contains("made later"); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Names(files).contains("later.arf"); }));

  Activate(DirEntry(dir, InTemp("made later")));
  ASSERT_EQ(dir->Path(), QDir::cleanPath(InTemp("made later")));
  ASSERT_TRUE(QDir(InTemp("made later")).removeRecursively());
  EXPECT_TRUE(QTest::qWaitFor([&] { return dir->Path() == Here(); }));
  EXPECT_EQ(files->Path(), Here());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(FileBrowserTest, AFolderThatCannotBeReadGivesAMessageAndTheListsStay) {
  QListWidgetItem* sub = DirEntry(dir, InTemp("sub"));
  ASSERT_TRUE(QDir(InTemp("sub")).removeRecursively());
  Activate(sub);
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("cannot be read"), std::string::npos) << messages.texts[0];
  EXPECT_NE(messages.texts[0].find("sub"), std::string::npos);
  EXPECT_EQ(form->StatusText().toStdString(), messages.texts[0]);  // one line
  EXPECT_EQ(dir->Path(), Here());
  EXPECT_EQ(files->Path(), Here());
  EXPECT_EQ(Names(files), QStringList({"A.arf", "b.arf", "upper.ARF"}));
  // Still usable: walking on works.
  Activate(DirEntry(dir, QDir::cleanPath(InTemp(".."))));
  EXPECT_EQ(dir->Path(), QDir::cleanPath(InTemp("..")));
  EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(FileBrowserTest, DriveChoiceGoesToTheRootOrBackToTheCurrentDirectory) {
  Activate(DirEntry(dir, QDir::rootPath()));
  ASSERT_EQ(dir->Path(), QDir::cleanPath(QDir::rootPath()));
  // Choosing the drive of the current directory goes back to it.
  const int own = drive->findData(drive->VolumeOf(Here()));
  ASSERT_GE(own, 0);
  drive->setCurrentIndex(own);
  emit drive->activated(own);
  EXPECT_EQ(dir->Path(), Here());
  EXPECT_EQ(files->Path(), Here());
  // Any other volume: its root.
  for (int i = 0; i < drive->count(); ++i) {
    const QString root = drive->itemData(i).toString();
    if (i == own || !FolderProblem(root).isEmpty()) continue;
    drive->setCurrentIndex(i);
    emit drive->activated(i);
    EXPECT_EQ(dir->Path(), root);
    EXPECT_EQ(files->Path(), root);
    EXPECT_EQ(drive->Drive(), root);
    break;
  }
}

TEST(DriveListTest, OffersTheFileSystemRootOnce) {
  QStringList volumes = DriveList::Volumes();
  EXPECT_EQ(volumes.count(QDir::cleanPath(QDir::rootPath())), 1);
  EXPECT_EQ(volumes.removeDuplicates(), 0);
}

TEST(FolderProblemTest, TellsWhyAFolderCannotBeListed) {
  QTemporaryDir temp;
  ASSERT_TRUE(WriteText(temp.filePath("file"), "x"));
  EXPECT_EQ(FolderProblem(temp.path()), "");
  EXPECT_NE(FolderProblem(temp.filePath("missing")), "");
  EXPECT_NE(FolderProblem(temp.filePath("file")), "");
}

}  // namespace
}  // namespace quilane
