// Saving the picture: the dialog's settings, the BMP written and read back, a cancelled dialog,
// the name offered again, and a file that cannot be written.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest/QTest>

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

    // The next save dialog "chooses" `path`, after recording what it offered.
    void choose(const QString& path) {
        form1->setSaveDialogRunner([this, path](QFileDialog& dialog) {
            offered = dialog.selectedFiles();
            dialog.selectFile(path);
            return true;
        });
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
    choose(folder.filePath("missing-folder/picture.bmp"));
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
    EXPECT_TRUE(reported.contains("picture.bmp")) << reported.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("missing-folder/picture.bmp")));
    EXPECT_TRUE(pictureIs(shownPicture(), onFrame, qRgb(0, 0, 0)));
    EXPECT_TRUE(inMain<QWidget>("Button1")->isEnabled());
    EXPECT_TRUE(inMain<QWidget>("Button16")->isEnabled());
    EXPECT_FALSE(timer()->isActive());
}

}  // namespace
}  // namespace kurvilo
