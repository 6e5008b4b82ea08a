// SPDX-License-Identifier: MIT
// Saving the picture: the dialog's settings and its Japanese texts, the BMP written and read
// back, a cancelled dialog, the name offered again, a file that cannot be written with its cause
// in Japanese, and a failed write that keeps the old file.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cerrno>
#include <csignal>

#include "window_fixture.h"

namespace kurvilo {
namespace {

class Save : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        click("Button2");  // Idle with "保存" enabled
    }

    // The next save dialog "chooses" `path`, after recording what it offered: as a user does,
    // in the deepest folder that exists, typing the rest.
    void choose(const QString& path) {
        form1->setSaveDialogRunner([this, path](QFileDialog& dialog) {
            offered = dialog.selectedFiles();
            QString folder = QFileInfo(path).absolutePath();
            while (!QFileInfo(folder).isDir())
                folder = QFileInfo(folder).absolutePath();
            dialog.setDirectory(folder);
            dialog.selectFile(QDir(folder).relativeFilePath(path));
            return true;
        });
    }

    // Presses "保存" and returns the text of the error box it showed (empty: none), after
    // checking that it is an error box.
    QString saveAndReadTheErrorBox() {
        QString reported;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reported = box->text();
                EXPECT_EQ(box->icon(), QMessageBox::Critical);
                box->close();
            }
        });
        closer.start(10);
        click("Button16");
        closer.stop();
        return reported;
    }

    QTemporaryDir folder;
    QStringList offered;
};

TEST_F(Save, TheDialogAsksForABitmapNamedDefaultFirst) {
    bool ran = false;
    form1->setSaveDialogRunner([&](QFileDialog& dialog) {
        ran = true;
        EXPECT_EQ(dialog.objectName(), "SaveDialog1");
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.nameFilters(), QStringList{"ビットマップ(*.bmp)"});
        EXPECT_EQ(dialog.defaultSuffix(), "bmp");
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog.isSizeGripEnabled());
        const QStringList files = dialog.selectedFiles();
        EXPECT_EQ(files.size(), 1);
        if (!files.isEmpty()) {
            EXPECT_TRUE(QFileInfo(files[0]).fileName().startsWith("Default"));
        }
        return false;
    });
    click("Button16");
    EXPECT_TRUE(ran);
}

// Whether a text of the dialog is Japanese: it holds a character of the Japanese scripts.
bool japanese(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x3000) return true;
    }
    return false;
}

TEST_F(Save, TheDialogIsQtsOwnAndWhollyJapaneseWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setUpApplication();
    form1->setSaveDialogRunner([&](QFileDialog& dialog) {
        dialog.setDirectory(folder.path());  // an empty folder: no file names to read
        // A desktop's own dialog would speak the session's language.
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog.windowTitle().toStdString(), "名前を付けて保存");
        QStringList texts;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            texts << button->text() << button->toolTip();
        for (QHeaderView* header : dialog.findChildren<QHeaderView*>()) {
            for (int section = 0; section < header->count(); ++section)
                texts << header->model()->headerData(section, Qt::Horizontal).toString();
        }
        int checked = 0;
        for (const QString& text : texts) {
            if (text.isEmpty()) continue;
            ++checked;
            EXPECT_TRUE(japanese(text)) << text.toStdString();
        }
        EXPECT_GT(checked, 10);  // the labels, the buttons, their tips, the columns
        return false;
    });
    click("Button16");
}

TEST_F(Save, CancellingWritesNothingAndChangesNothing) {
    form1->setSaveDialogRunner([&](QFileDialog& dialog) {
        dialog.selectFile(folder.filePath("cancelled.bmp"));
        return false;
    });
    click("Button16");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(pictureIs(shownPicture(), onFrame, qRgb(0, 0, 0)));
    EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
}

TEST_F(Save, WritesTheStartUpPictureAsABitmapWithTheSuffixAdded) {
    choose(folder.filePath("picture"));
    click("Button16");
    const QString written = folder.filePath("picture.bmp");
    ASSERT_TRUE(QFileInfo::exists(written));
    QImageReader reader(written);
    EXPECT_EQ(reader.format(), "bmp");
    const QImage picture = reader.read();
    EXPECT_TRUE(pictureIs(picture, onFrame, qRgb(0, 0, 0)));
}

TEST_F(Save, WritesTheGridOfAStoppedRunWithoutTheMarker) {
    click("Button1");
    click("Button2");
    inMain<QWidget>("Shape1")->show();
    choose(folder.filePath("grid.bmp"));
    click("Button16");
    EXPECT_TRUE(pictureIs(QImage(folder.filePath("grid.bmp")), onGrid, qRgb(192, 192, 192)));
}

TEST_F(Save, TheLastChosenNameIsOfferedNextTime) {
    const QString first = folder.filePath("first.bmp");
    choose(first);
    click("Button16");
    choose(folder.filePath("second.bmp"));
    click("Button16");
    EXPECT_EQ(offered, QStringList{first});
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("second.bmp")));
}

TEST_F(Save, AFileThatCannotBeWrittenIsReportedAndTheWindowCarriesOn) {
    const QString path = folder.filePath("missing-folder/picture.bmp");
    choose(path);
    const QString reported = saveAndReadTheErrorBox();
    EXPECT_EQ(reported.toStdString(), (QDir::toNativeSeparators(path) +
                                       " に保存できませんでした（保存先のフォルダーがありませ"
                                       "ん）。")
                                          .toStdString());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(pictureIs(shownPicture(), onFrame, qRgb(0, 0, 0)));
    EXPECT_TRUE(inMain<QWidget>("Button1")->isEnabled());
    EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
    EXPECT_FALSE(timer()->isActive());
}

// A place to save to that fails, made without chmod (the tests may run as root), and the cause
// the message gives.
struct FailedSave {
    const char* name;
    std::function<QString(const QTemporaryDir&)> path;
    const char* cause;
    int probeErrno;  // the error a plain open gives there; 0: any (else the case is skipped)
    bool probeByWriting = false;  // the error comes from writing to the existing place
};

// The error a plain open (or write) gives at `path`; 0 when there is none.
int probe(const QString& path, bool byWriting) {
    const QByteArray name = QFile::encodeName(path);
    errno = 0;
    const int fd = byWriting ? ::open(name.constData(), O_WRONLY)
                             : ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    int error = errno;
    if (fd >= 0) {
        error = 0;
        if (byWriting && ::write(fd, "x", 1) < 0) error = errno;
        ::close(fd);
        if (!byWriting) ::unlink(name.constData());
    }
    return error;
}

void PrintTo(const FailedSave& failure, std::ostream* os) {
    *os << failure.name;
}

class SaveFailure : public Save, public testing::WithParamInterface<FailedSave> {};

TEST_P(SaveFailure, TheMessageNamesTheFileAndTheCauseInJapaneseOnOneLine) {
    const FailedSave& failure = GetParam();
    const QString path = failure.path(folder);
    if (failure.probeErrno != 0 && probe(path, failure.probeByWriting) != failure.probeErrno)
        GTEST_SKIP() << path.toStdString() << " does not fail here as " << failure.name;
    choose(path);
    const QString reported = saveAndReadTheErrorBox();
    EXPECT_EQ(reported.toStdString(),
              (QDir::toNativeSeparators(path) + " に保存できませんでした（" +
               QString::fromUtf8(failure.cause) + "）。")
                  .toStdString());
    EXPECT_FALSE(reported.contains('\n'));
}

INSTANTIATE_TEST_SUITE_P(
    EachCommonCause, SaveFailure,
    testing::Values(
        FailedSave{"NoSuchFolder",
                   [](const QTemporaryDir& dir) { return dir.filePath("nowhere/picture.bmp"); },
                   "保存先のフォルダーがありません", 0},
        FailedSave{"FolderIsAFile",
                   [](const QTemporaryDir& dir) {
                       QFile file(dir.filePath("plain-file"));
                       EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                       return dir.filePath("plain-file/picture.bmp");
                   },
                   "保存先のフォルダーがありません", 0},
        // sysfs refuses new files even to root.
        FailedSave{"NoPermission", [](const QTemporaryDir&) { return QString("/sys/picture.bmp"); },
                   "書き込む権限がありません", EACCES},
        // A full disk, as the kernel's "full" device plays one: a node of its own in the test's
        // folder (never /dev/full itself, which a faulty save could replace), named with the
        // suffix; a device is written in place.
        FailedSave{"DiskFull",
                   [](const QTemporaryDir& dir) {
                       const QString node = dir.filePath("full.bmp");
                       ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 7));
                       return node;
                   },
                   "ディスクの空き容量が足りません", ENOSPC, true}),
    [](const testing::TestParamInfo<FailedSave>& info) { return std::string(info.param.name); });

// The largest file this process may write, lowered for one test.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // a write beyond it fails instead
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(Save, AWriteThatFailsHalfwayKeepsTheOldFileWhole) {
    const QString path = folder.filePath("old.bmp");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    const QByteArray oldContent("the picture saved before");
    old.write(oldContent);
    old.close();

    choose(path);
    QString reported;
    {
        // A 401 x 401 bitmap is far larger than 10 000 bytes.
        const FileSizeLimit limit(10000);
        reported = saveAndReadTheErrorBox();
    }
    EXPECT_TRUE(reported.startsWith(QDir::toNativeSeparators(path) + " に保存できませんでした（"))
        << reported.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), oldContent);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"old.bmp"});  // no half-written file left beside it
}

TEST_F(Save, ASaveOverAnExistingFileReplacesItWhole) {
    const QString path = folder.filePath("picture.bmp");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(2000000, 'x'));  // longer than the new picture
    old.close();
    choose(path);
    EXPECT_TRUE(saveAndReadTheErrorBox().isEmpty());
    EXPECT_TRUE(pictureIs(QImage(path), onFrame, qRgb(0, 0, 0)));
    EXPECT_LT(QFileInfo(path).size(), 2000000);
}

TEST_F(Save, TheSaveDialogAndItsOverwritePromptSpeakJapanese) {
    const QString existing = folder.filePath("taken.bmp");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    QString title;
    QString prompt;
    form1->setSaveDialogRunner([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        QTimer::singleShot(0, &dialog, [&] {
            dialog.selectFile(existing);
            // As if "保存" of the dialog were pressed: the prompt opens; declining it keeps
            // the dialog open.
            static_cast<QDialog&>(dialog).accept();
        });
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                prompt = box->text();
                box->button(QMessageBox::No)->click();
                QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
            }
        });
        closer.start(10);
        const bool accepted = dialog.exec() == QDialog::Accepted;
        closer.stop();
        return accepted;
    });
    click("Button16");
    EXPECT_EQ(title.toStdString(), "名前を付けて保存");
    EXPECT_TRUE(prompt.contains("は既に存在します")) << prompt.toStdString();
    EXPECT_TRUE(prompt.contains("置き換えますか")) << prompt.toStdString();
    EXPECT_EQ(QFileInfo(existing).size(), 0);  // declined: nothing written
}

}  // namespace
}  // namespace kurvilo
