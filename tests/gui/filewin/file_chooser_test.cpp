// The three file chooser windows, worked as a user works them: headless, in a temporary
// directory, with recorded message boxes and substitute volumes.

#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/window_set.h"
#include "core/refdata/data_directory.h"
#include "gui/filewin/file_chooser.h"
#include "gui/filewin/volumes.h"
#include "gui/selection/selection_window.h"
#include "recording_messages.h"

using namespace fetaldose;
using namespace fetaldose::gui;

namespace {

class FakeVolumes final : public VolumeProvider {
  public:
    std::vector<Volume> mountedVolumes() override { return volumes; }
    std::vector<Volume> volumes;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList textsOf(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// The controls of one chooser window, found by their names.
struct Controls {
    QComboBox* drives;
    QListWidget* tree;
    QListWidget* files;
    QLineEdit* name;
    QPushButton* action;
    QPushButton* exit;
};

// The results window names its controls differently from the two options windows.
Controls controlsOf(FileChooserWindow& w) {
    if (w.findChild<QComboBox*>("DriveCombo1"))
        return {w.findChild<QComboBox*>("DriveCombo1"), w.findChild<QListWidget*>("DirList1"),
                w.findChild<QListWidget*>("FileList1"), w.findChild<QLineEdit*>("FileEdit"),
                w.findChild<QPushButton*>("BtnSave"),   w.findChild<QPushButton*>("BtnCancel")};
    return {
        w.findChild<QComboBox*>("DriveComboBox1"), w.findChild<QListWidget*>("DirectoryListBox1"),
        w.findChild<QListWidget*>("FileListBox1"), w.findChild<QLineEdit*>("Edit1"),
        w.findChild<QPushButton*>("Button2"),      w.findChild<QPushButton*>("Button1")};
}

// Opens the window modally and runs `body` while it is the active modal window; the window is
// closed afterwards if the body left it open, so every test finishes on its own.
template <class Body>
void whileOpen(FileChooserWindow& window, Body body) {
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        struct Closer {
            FileChooserWindow& window;
            ~Closer() {
                if (window.isVisible()) window.reject();
            }
        } closer{window};
        ran = true;
        QCOMPARE(QApplication::activeModalWidget(), &window);
        body();
    });
    window.openModally();
    QVERIFY(ran);
}

// Makes the tree entry named `text` the directory shown, as Enter on it does.
void enterTreeEntry(QListWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    tree->setCurrentItem(found.back());
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Return);
}

// Types a name into the box and presses the action button.
void typeAndPress(const Controls& c, const QString& name) {
    c.name->setText(name);
    QTest::mouseClick(c.action, Qt::LeftButton);
}

}  // namespace

class FileChooserTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString home_;  // the temporary directory, where the program "started"
    QString previous_;
    RecordingMessages messages_;
    FakeVolumes volumes_;
    std::unique_ptr<WindowSet> windows_;

    QString pathAt(const QString& relative) const { return home_ + "/" + relative; }

  private slots:
    void init() {
        previous_ = QDir::currentPath();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        home_ = QDir(dir_->path()).canonicalPath();
        for (const char* sub : {"data", "Alpha", "sub.opt", "zeta", ".hiddendir", "stick"})
            QVERIFY(QDir(home_).mkdir(sub));
        writeFile(pathAt("data/Cs-137.dat"));
        writeFile(pathAt("data/I-131.dat"));
        volumes_.volumes = {{"/", "System", "", VolumeKind::Fixed},
                            {pathAt("stick"), "MY STICK", "", VolumeKind::Removable}};
        QVERIFY(QDir::setCurrent(home_));
        Platform platform;
        platform.messages = &messages_;
        platform.volumes = &volumes_;
        windows_ = std::make_unique<WindowSet>(platform);
        windows_->create();
        messages_.clear();  // whatever the selection window said about its catalogue
    }

    void cleanup() {
        windows_.reset();
        QDir::setCurrent(previous_);
        dir_.reset();
    }

    void listsMatchingFilesAndFoldersWithoutHiddenOnes() {
        for (const char* file :
             {"b.opt", "A.OPT", "c.Opt", ".hidden.opt", "r.dos", "opt", "x.opt.bak"})
            writeFile(pathAt(file));
        QVERIFY(::mkfifo(pathAt("pipe.opt").toLocal8Bit().constData(), 0644) == 0);

        FileChooserWindow& w = windows_->saveOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [] {});
        QCOMPARE(textsOf(c.files), QStringList({"A.OPT", "b.opt", "c.Opt"}));
        QCOMPARE(c.files->selectedItems().size(), 0);
        QCOMPARE(c.name->text(), QString("*.opt"));
        QVERIFY(c.name->hasSelectedText() && c.name->selectedText() == "*.opt");
        QCOMPARE(w.directory(), home_);
        QCOMPARE(QDir::currentPath(), home_);

        // The tree: root, each directory down to the one shown, then its subdirectories.
        const QStringList steps = home_.split('/', Qt::SkipEmptyParts);
        QStringList expected = QStringList{"/"} + steps;
        expected << "Alpha"
                 << "data"
                 << "stick"
                 << "sub.opt"
                 << "zeta";
        QCOMPARE(textsOf(c.tree), expected);
        QCOMPARE(c.tree->currentItem()->text(), steps.back());

        FileChooserWindow& results = windows_->saveResults();
        whileOpen(results, [] {});
        QCOMPARE(textsOf(controlsOf(results).files), QStringList({"r.dos"}));
        QCOMPARE(controlsOf(results).name->text(), QString("*.dos"));
        QVERIFY(messages_.all.isEmpty());
    }

    void selectingAndMovingFillTheNameBox() {
        writeFile(pathAt("one.opt"));
        writeFile(pathAt("zeta/two.opt"));
        FileChooserWindow& w = windows_->loadOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [&] {
            c.files->setFocus();
            QTest::keyClick(c.files, Qt::Key_Down);
            QCOMPARE(c.name->text(), QString("one.opt"));
            QCOMPARE(c.name->selectedText(), QString("one.opt"));
            c.name->setText("other");
            QTest::mouseClick(c.files->viewport(), Qt::LeftButton, {},
                              c.files->visualItemRect(c.files->item(0)).center());
            QCOMPARE(c.name->text(), QString("one.opt"));

            c.name->setText("typed.opt");
            enterTreeEntry(c.tree, "zeta");
            QCOMPARE(w.directory(), pathAt("zeta"));
            QCOMPARE(QDir::currentPath(), pathAt("zeta"));
            QCOMPARE(c.name->text(), QString("*.opt"));
            QCOMPARE(c.name->selectedText(), QString("*.opt"));
            QCOMPARE(textsOf(c.files), QStringList({"two.opt"}));
            QCOMPARE(c.tree->currentItem()->text(), QString("zeta"));

            // A double click on the parent goes back up.
            const QString parent = home_.section('/', -1);
            QListWidgetItem* up = c.tree->findItems(parent, Qt::MatchExactly).front();
            const QPoint at = c.tree->visualItemRect(up).center();
            QTest::mouseClick(c.tree->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(w.directory(), pathAt("zeta"));  // a single click only selects
            QTest::mouseDClick(c.tree->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(w.directory(), home_);
            QCOMPARE(textsOf(c.files), QStringList({"one.opt"}));
        });
        QVERIFY(messages_.all.isEmpty());
    }

    void listIsReadAgainOnlyWhenTheDirectoryChanges() {
        FileChooserWindow& w = windows_->saveOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [] {});
        QCOMPARE(c.files->count(), 0);

        writeFile(pathAt("later.opt"));
        whileOpen(w, [&] {
            QCOMPARE(c.files->count(), 0);  // reopening reads nothing
            c.name->setText("kept.opt");
        });
        whileOpen(w, [&] {
            QCOMPARE(c.name->text(), QString("kept.opt"));
            enterTreeEntry(c.tree, home_.section('/', -1));  // the entry shown: nothing read
            QCOMPARE(c.files->count(), 0);
            QCOMPARE(c.name->text(), QString("kept.opt"));
            enterTreeEntry(c.tree, "Alpha");
            enterTreeEntry(c.tree, home_.section('/', -1));
            QCOMPARE(textsOf(c.files), QStringList({"later.opt"}));
        });
    }

    // The file windows are made when first opened: one first opened after another has moved
    // the working directory still opens where the program started, and the volume keeps the
    // directory last shown on it.
    void aWindowOpenedLaterStartsWhereTheProgramStarted() {
        FileChooserWindow& saveOptions = windows_->saveOptions();
        whileOpen(saveOptions, [&] { enterTreeEntry(controlsOf(saveOptions).tree, "zeta"); });
        QCOMPARE(QDir::currentPath(), pathAt("zeta"));

        FileChooserWindow& loadOptions = windows_->loadOptions();
        QCOMPARE(loadOptions.directory(), home_);
        whileOpen(loadOptions, [&] {
            QCOMPARE(controlsOf(loadOptions).tree->currentItem()->text(), home_.section('/', -1));
        });
        QCOMPARE(QDir::currentPath(), home_);
        QCOMPARE(volumes_.lastDirectoryOn("/"), home_);
        QVERIFY(messages_.all.isEmpty());
    }

    void bareNamesLandInTheDirectoryEachWindowShows() {
        FileChooserWindow& saveOptions = windows_->saveOptions();
        FileChooserWindow& saveResults = windows_->saveResults();
        whileOpen(saveOptions, [&] { enterTreeEntry(controlsOf(saveOptions).tree, "zeta"); });
        whileOpen(saveResults, [&] { enterTreeEntry(controlsOf(saveResults).tree, "Alpha"); });
        QCOMPARE(QDir::currentPath(), pathAt("Alpha"));

        // The options window still shows zeta, though the working directory is Alpha.
        whileOpen(saveOptions, [&] { typeAndPress(controlsOf(saveOptions), "mine"); });
        QCOMPARE(saveOptions.result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(pathAt("zeta/mine")));  // no extension added
        QVERIFY(!QFile::exists(pathAt("Alpha/mine")));

        // A name with blanks is taken as typed; an existing file is replaced without a question.
        writeFile(pathAt("Alpha/old.dos"), "previous content");
        whileOpen(saveResults, [&] { typeAndPress(controlsOf(saveResults), "old.dos"); });
        QCOMPARE(saveResults.result(), int(QDialog::Accepted));
        QCOMPARE(readAll(pathAt("Alpha/old.dos")), QByteArray());  // a run of no tables
        whileOpen(saveResults, [&] { typeAndPress(controlsOf(saveResults), " spaced .dos"); });
        QVERIFY(QFile::exists(pathAt("Alpha/ spaced .dos")));

        // A full path names that file, wherever the window is.
        whileOpen(saveResults,
                  [&] { typeAndPress(controlsOf(saveResults), pathAt("stick/full.dos")); });
        QVERIFY(QFile::exists(pathAt("stick/full.dos")));
        QVERIFY(messages_.all.isEmpty());
    }

    void badNamesAreRefusedAndTheWindowStaysOpen() {
        writeFile(pathAt("keep.opt"), "kept");
        FileChooserWindow& w = windows_->saveOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [&] {
            for (const QString& name :
                 {QString("*.opt"), QString(""), QString("a?.opt"), QString("keep*")}) {
                messages_.clear();
                typeAndPress(c, name);
                QCOMPARE(messages_.errors, QStringList({"Invalid filename."}));
                QVERIFY(w.isVisible());
            }
            messages_.clear();
            typeAndPress(c, "/dev/full");
            QCOMPARE(messages_.errors, QStringList({"Disk full."}));
            QVERIFY(w.isVisible());

            messages_.clear();
            typeAndPress(c, "zeta");  // a directory's name
            QCOMPARE(messages_.errors, QStringList({"File access denied."}));
            QVERIFY(w.isVisible());

            messages_.clear();
            typeAndPress(c, "nowhere/x.opt");  // a directory that is not there
            QCOMPARE(messages_.errors, QStringList({"Invalid filename."}));
            QVERIFY(w.isVisible());

            // Exit after the failures closes the window and writes nothing.
            QTest::mouseClick(c.exit, Qt::LeftButton);
            QVERIFY(!w.isVisible());
        });
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(QDir(home_).entryList(QDir::Files), QStringList({"keep.opt"}));
        QCOMPARE(readAll(pathAt("keep.opt")), QByteArray("kept"));
        QVERIFY(QDir(pathAt("zeta")).exists());
    }

    // The catalogue and the data files of the data set in use are never saved over, by their
    // own names or through a link; the window stays open and nothing changes.
    void savesNeverReplaceTheDataSetInUse() {
        const QByteArray catalogue("1\r\nCs-137\r\n30.0y\r\n");
        writeFile(pathAt("data/nuclides.txt"), catalogue);
        writeFile(pathAt("data/Cs-137.dat"), "0\r\n");
        QVERIFY(QFile::link(pathAt("data/Cs-137.dat"), pathAt("cs.opt")));
        for (FileChooserWindow* w : {&windows_->saveOptions(), &windows_->saveResults()}) {
            const Controls c = controlsOf(*w);
            whileOpen(*w, [&] {
                for (const QString& name : {QString("data/nuclides.txt"), QString("cs.opt")}) {
                    messages_.clear();
                    typeAndPress(c, name);
                    QCOMPARE(messages_.errors.size(), 1);
                    QVERIFY2(
                        messages_.errors[0].contains(": not written, as it is the same file as"),
                        qPrintable(messages_.errors[0]));
                    QVERIFY(w->isVisible());
                }
                QTest::mouseClick(c.exit, Qt::LeftButton);
            });
        }
        QCOMPARE(readAll(pathAt("data/nuclides.txt")), catalogue);
        QCOMPARE(readAll(pathAt("data/Cs-137.dat")), QByteArray("0\r\n"));
    }

    void enterAndEscPressNothing() {
        FileChooserWindow& w = windows_->saveResults();
        const Controls c = controlsOf(w);
        whileOpen(w, [&] {
            QCOMPARE(w.focusWidget(), c.drives);  // first in its tab order
            c.name->setText("enter.dos");
            c.name->setFocus();
            QTest::keyClick(c.name, Qt::Key_Return);
            QTest::keyClick(c.name, Qt::Key_Escape);
            QVERIFY(w.isVisible());
            c.action->setFocus();
            QTest::keyClick(c.action, Qt::Key_Return);
            QVERIFY(w.isVisible());
        });
        QVERIFY(!QFile::exists(pathAt("enter.dos")));
        QVERIFY(messages_.all.isEmpty());

        // The load window starts with the focus in its name box.
        FileChooserWindow& load = windows_->loadOptions();
        whileOpen(load, [&] { QCOMPARE(load.focusWidget(), controlsOf(load).name); });
    }

    void optionsSavedAndLoadedRestoreTheSelection() {
        SelectionWindow& selection = windows_->selection();
        selection.clearChosen();
        selection.appendChosen("Cs-137", "30.08 y");
        selection.appendChosen("I-131", "8.02 d");
        selection.setBox(SelectionBox::Public, true);
        selection.setBox(SelectionBox::Occupational, false);
        selection.setBox(SelectionBox::AllRoutes, false);
        selection.setBox(SelectionBox::Particulates, true);
        selection.setBox(SelectionBox::AllAerosol, false);
        selection.setItem(SelectionList::Aerosol, 3, true);
        selection.setBox(SelectionBox::AllOrgans, false);
        selection.setItem(SelectionList::Tissues, 16, true);
        const SelectionSnapshot saved = selection.snapshot();

        FileChooserWindow& save = windows_->saveOptions();
        whileOpen(save, [&] { typeAndPress(controlsOf(save), "choice.opt"); });
        QCOMPARE(save.result(), int(QDialog::Accepted));
        QVERIFY(readAll(pathAt("choice.opt")).startsWith("2\r\nCs-137\r\n30.08 y\r\nI-131\r\n"));

        selection.clearChosen();
        selection.setBox(SelectionBox::AllRoutes, true);
        selection.setBox(SelectionBox::AllOrgans, true);
        selection.setBox(SelectionBox::Public, false);

        FileChooserWindow& load = windows_->loadOptions();
        whileOpen(load, [&] {
            // Read after the save window wrote it: the load window reads its list now.
            QCOMPARE(textsOf(controlsOf(load).files), QStringList({"choice.opt"}));
            QTest::mouseClick(
                controlsOf(load).files->viewport(), Qt::LeftButton, {},
                controlsOf(load).files->visualItemRect(controlsOf(load).files->item(0)).center());
            QCOMPARE(controlsOf(load).name->text(), QString("choice.opt"));
            QTest::mouseClick(controlsOf(load).action, Qt::LeftButton);
        });
        QCOMPARE(load.result(), int(QDialog::Accepted));
        QVERIFY(messages_.all.isEmpty());
        QVERIFY(selection.snapshot() == saved);
    }

    void loadStopsAtAnUnavailableNuclide() {
        writeFile(pathAt("odd.opt"), "2\r\nCs-137\r\n30.08 y\r\nNo-1\r\n1 h\r\n");
        writeFile(pathAt("words.opt"), "two\r\n");
        FileChooserWindow& w = windows_->loadOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [&] {
            typeAndPress(c, "odd.opt");
            QCOMPARE(messages_.informed,
                     QStringList({QString::fromLocal8Bit(kNuclideNotAvailableMessage)}));
            QVERIFY(messages_.errors.isEmpty());
            QVERIFY(w.isVisible());
            QCOMPARE(windows_->selection().snapshot().nuclides,
                     std::vector<std::string>({"Cs-137"}));

            messages_.clear();
            typeAndPress(c, "missing.opt");
            QCOMPARE(messages_.errors, QStringList({"File not found."}));
            messages_.clear();
            typeAndPress(c, "words.opt");
            QCOMPARE(messages_.errors, QStringList({"Invalid numeric input."}));
            QVERIFY(w.isVisible());
        });
    }

    void aVanishedDirectoryIsReportedAndNothingMoves() {
        writeFile(pathAt("here.opt"));
        QVERIFY(QDir(home_).mkdir("gone"));
        FileChooserWindow& w = windows_->saveOptions();
        const Controls c = controlsOf(w);
        whileOpen(w, [] {});
        const QStringList tree = textsOf(c.tree);
        QVERIFY(QDir(home_).rmdir("gone"));
        whileOpen(w, [&] {
            c.name->setText("typed");
            enterTreeEntry(c.tree, "gone");
            QCOMPARE(messages_.errors, QStringList({"Invalid filename."}));
            QVERIFY(w.isVisible());
        });
        QCOMPARE(w.directory(), home_);
        QCOMPARE(textsOf(c.tree), tree);
        QCOMPARE(c.tree->currentItem()->text(), home_.section('/', -1));
        QCOMPARE(textsOf(c.files), QStringList({"here.opt"}));
        QCOMPARE(c.name->text(), QString("typed"));
    }

    void drivesAreTheVolumesEachRememberingItsDirectory() {
        volumes_.volumes.push_back({pathAt("net"), "", "Server:/Export/Home", VolumeKind::Network});
        volumes_.volumes.push_back({pathAt("ram"), "", "", VolumeKind::Memory});
        QVERIFY(QDir(home_).mkpath("stick/photos"));
        FileChooserWindow& w = windows_->saveResults();
        const Controls c = controlsOf(w);
        whileOpen(w, [&] {
            QCOMPARE(c.drives->count(), 4);
            QCOMPARE(c.drives->itemText(0), QString("/ [system]"));
            QCOMPARE(c.drives->itemText(1), pathAt("stick") + " [my stick]");
            QCOMPARE(c.drives->itemText(2), pathAt("net") + " server:/export/home");
            QCOMPARE(c.drives->itemText(3), pathAt("ram") + " []");
            QCOMPARE(c.drives->currentIndex(), 0);

            c.drives->setCurrentIndex(1);
            emit c.drives->activated(1);
            QCOMPARE(w.directory(), pathAt("stick"));
            QCOMPARE(QDir::currentPath(), pathAt("stick"));
            enterTreeEntry(c.tree, "photos");
            QCOMPARE(c.drives->currentIndex(), 1);

            c.drives->setCurrentIndex(0);
            emit c.drives->activated(0);
            QCOMPARE(w.directory(), home_);  // where the program started on that volume

            c.drives->setCurrentIndex(1);
            emit c.drives->activated(1);
            QCOMPARE(w.directory(), pathAt("stick/photos"));

            // A volume that cannot be entered is reported; the window stays where it was.
            c.drives->setCurrentIndex(3);
            emit c.drives->activated(3);
            QCOMPARE(messages_.errors, QStringList({"Invalid filename."}));
            QCOMPARE(w.directory(), pathAt("stick/photos"));
            QCOMPARE(c.drives->currentIndex(), 1);
        });

        // Another window remembers the same directory per volume, as the working directory
        // is one for the whole program; a remembered directory gone since is reported and
        // the window stays where it was.
        FileChooserWindow& other = windows_->saveOptions();
        const Controls o = controlsOf(other);
        messages_.clear();
        whileOpen(other, [&] {
            QCOMPARE(other.directory(), home_);
            o.drives->setCurrentIndex(1);
            emit o.drives->activated(1);
            QCOMPARE(other.directory(), pathAt("stick/photos"));
            o.drives->setCurrentIndex(0);
            emit o.drives->activated(0);
            QCOMPARE(other.directory(), home_);
            QVERIFY(QDir(pathAt("stick/photos")).removeRecursively());
            o.drives->setCurrentIndex(1);
            emit o.drives->activated(1);
            QCOMPARE(other.directory(), home_);
            QCOMPARE(o.drives->currentIndex(), 0);
        });
        QCOMPARE(messages_.errors.size(), 1);
    }

    void volumeKindsAndPseudoFileSystems() {
        QCOMPARE(volumeKindFor("vfat", "/media/ann/STICK"), VolumeKind::Removable);
        QCOMPARE(volumeKindFor("exfat", "/run/media/ann/CARD"), VolumeKind::Removable);
        QCOMPARE(volumeKindFor("vfat", "/boot/efi"), VolumeKind::Fixed);
        QCOMPARE(volumeKindFor("iso9660", "/media/cdrom"), VolumeKind::Optical);
        QCOMPARE(volumeKindFor("udf", "/mnt/dvd"), VolumeKind::Optical);
        QCOMPARE(volumeKindFor("tmpfs", "/tmp"), VolumeKind::Memory);
        QCOMPARE(volumeKindFor("nfs4", "/net/home"), VolumeKind::Network);
        QCOMPARE(volumeKindFor("cifs", "/mnt/share"), VolumeKind::Network);
        QCOMPARE(volumeKindFor("fuse.sshfs", "/home/ann/remote"), VolumeKind::Network);
        QCOMPARE(volumeKindFor("ext4", "/"), VolumeKind::Fixed);
        QCOMPARE(volumeKindFor("overlay", "/"), VolumeKind::Fixed);

        QVERIFY(!isPseudoFileSystem("overlay", "/"));
        QVERIFY(!isPseudoFileSystem("ext4", "/home"));
        QVERIFY(!isPseudoFileSystem("vfat", "/run/media/ann/CARD"));
        QVERIFY(isPseudoFileSystem("proc", "/proc"));
        QVERIFY(isPseudoFileSystem("sysfs", "/sys"));
        QVERIFY(isPseudoFileSystem("cgroup2", "/sys/fs/cgroup"));
        QVERIFY(isPseudoFileSystem("tmpfs", "/dev/shm"));
        QVERIFY(isPseudoFileSystem("tmpfs", "/run/user/1000"));

        // The real system lists its root volume.
        bool hasRoot = false;
        for (const Volume& v : systemVolumes().mountedVolumes()) hasRoot |= v.rootPath == "/";
        QVERIFY(hasRoot);

        // The root volume is offered whether the mount table lists it or not (a chroot's
        // table may list only its own mounts); where it is listed, it keeps its label.
        const QString folder = QDir::tempPath();
        const std::vector<Volume> chroot = volumesFromMountTable(
            {{"/proc", "proc", "", "proc"}, {folder, "ext4", "Data", "/dev/sdb1"}});
        QCOMPARE(chroot.size(), std::size_t{2});
        QCOMPARE(volumeEntryText(chroot[0]), QString("/ []"));
        QCOMPARE(chroot[1].rootPath, folder);
        const std::vector<Volume> listed =
            volumesFromMountTable({{folder, "ext4", "", ""}, {"/", "ext4", "System", ""}});
        QCOMPARE(listed.size(), std::size_t{2});
        QCOMPARE(volumeEntryText(listed[0]), QString("/ [system]"));
        QCOMPARE(volumeEntryText({"/media/x", "", "", VolumeKind::Network}),
                 QString("/media/x []"));
    }
};

QTEST_MAIN(FileChooserTest)
#include "file_chooser_test.moc"
