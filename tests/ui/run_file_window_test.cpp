// SPDX-License-Identifier: MIT
// The run as a document in the window: a run file opened from the command line, by a drop and by
// Ctrl+O gives the same texts and pixels as the same settings typed by hand; the settings saved
// and opened again; F6 and F7 after a stop give what an uninterrupted run gives; the PNG and GIF
// exports are what kurvilo-cli makes of the same run; the context menu names every action.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest/QTest>
#include <random>

#include "numbers/separator.h"
#include "runfile/command_line.h"
#include "runfile/run_file.h"
#include "sim/plot_surface.h"
#include "ui/start_up.h"
#include "window_fixture.h"

namespace kurvilo {
namespace {

// A polar motion with every kind of text: θ, Σ, a constant, quotes and backslashes that the
// engine refuses only when it reads them, zoom on one axis and no default drawing setting.
RunFile lessonFile() {
    RunFile file;
    RunSettings& s = file.settings;
    s.graphMode = 1;
    s.firstFormula = "-a*r+Σ{n=1<>2:n}/10";
    s.secondFormula = "-sin(θ)/5";
    s.initialValues = {"1", "0", "0", "5"};
    s.constants = {"0.5", "0", "0", "0"};
    s.drawingSpeed = 1;
    s.timeStep = 2;
    s.viewRangeY = 1;
    s.viewRangeX = 2;
    s.zoomX = {true, 3, 7};
    s.zoomY = {false, 0, 1};
    file.title = "A \"lesson\" \\ one";
    file.note = "r, θ";
    file.ticks = 40;
    return file;
}

std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

class RunFileWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        // Keys reach the window that is active.
        form1->show();
        QApplication::setActiveWindow(form1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1));
    }

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    QString writeRunFile(const char* name, const RunFile& file) {
        const QString where = path(name);
        EXPECT_TRUE(writeBytes(where, formatRunFile(file)));
        return where;
    }

    // The settings typed into the controls by hand, as a user would.
    void typeByHand(TForm1* window, const RunSettings& s) {
        window->RadioGroup1->setItemIndex(s.graphMode);
        window->RadioGroup1Click();
        window->Edit1->setText(QString::fromStdString(s.firstFormula));
        window->Edit2->setText(QString::fromStdString(s.secondFormula));
        window->LabeledEdit15->setText(QString::fromStdString(s.initialValues[0]));
        window->LabeledEdit16->setText(QString::fromStdString(s.initialValues[1]));
        window->LabeledEdit12->setText(QString::fromStdString(s.initialValues[2]));
        window->LabeledEdit13->setText(QString::fromStdString(s.initialValues[3]));
        window->ComboBox1->setCurrentIndex(s.drawingSpeed);
        window->ComboBox2->setCurrentIndex(s.timeStep);
        window->ComboBox3->setCurrentIndex(s.viewRangeY);
        window->ComboBox4->setCurrentIndex(s.viewRangeX);
        window->CheckBox1->setChecked(s.zoomX.on);
        window->SpinEdit1->setValue(s.zoomX.centre);
        window->SpinEdit2->setValue(s.zoomX.halfWidth);
        window->CheckBox2->setChecked(s.zoomY.on);
        window->SpinEdit3->setValue(s.zoomY.centre);
        window->SpinEdit4->setValue(s.zoomY.halfWidth);
        TForm2* keypad = window->findChild<TForm2*>();
        for (int i = 0; i < 4; ++i)
            keypad->constantField(i)->setText(QString::fromStdString(s.constants[std::size_t(i)]));
    }

    struct Outcome {
        std::vector<std::string> values;
        std::vector<std::string> pixel;
        QString status;
        QImage picture;
        int phase = 0;
    };
    static Outcome outcomeOf(TForm1* window) {
        return {window->ListBox1->texts(), window->ListBox3->texts(), window->Label3->text(),
                window->Image1->image().copy(), tagOf(window->Timer1)};
    }
    static void expectSame(const Outcome& got, const Outcome& want) {
        EXPECT_EQ(got.values, want.values);
        EXPECT_EQ(got.pixel, want.pixel);
        EXPECT_EQ(got.status, want.status);
        EXPECT_EQ(got.phase, want.phase);
        EXPECT_TRUE(got.picture == want.picture) << "the pictures differ";
    }

    // Starts a run and runs `ticks` ticks by hand, then stops it.
    static Outcome runTicks(TForm1* window, int ticks) {
        window->Button1Click();
        for (int i = 0; i < ticks && window->Timer1->isActive(); ++i)
            window->Timer1Timer();
        if (window->Timer1->isActive()) window->Button2Click();
        return outcomeOf(window);
    }

    // The same settings typed by hand into a second pair of windows.
    Outcome typedRun(const RunSettings& s, int ticks) {
        Windows other = createWindows();
        typeByHand(other.form1.get(), s);
        return runTicks(other.form1.get(), ticks);
    }

    // The text of the message box `action` shows (empty: none); the box is closed.
    QString messageOf(const std::function<void()>& action) {
        QString reported;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                reported = box->text();
                box->close();
            }
        });
        closer.start(10);
        action();
        closer.stop();
        return reported;
    }

    // The next file dialog chooses `file`.
    void choose(const QString& file) {
        form1->setSaveDialogRunner([file](QFileDialog& dialog) {
            dialog.setDirectory(QFileInfo(file).absolutePath());
            dialog.selectFile(QFileInfo(file).fileName());
            return true;
        });
    }

    // The key pressed where the focus is, as a user presses it.
    void press(QKeySequence key) {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) target = form1;
        QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    }

    QTemporaryDir folder;
};

TEST_F(RunFileWindow, TheCommandLineNamesOneRunFileOrNone) {
    const struct {
        QStringList arguments;
        QString runFile;
        bool refused;
    } cases[] = {
        {{}, {}, false},
        {{"lesson.kurvilo"}, "lesson.kurvilo", false},
        {{"picture.png"}, "picture.png", false},
        {{"a.kurvilo", "b.kurvilo"}, {}, true},
        {{""}, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine line = readCommandLine(c.arguments);
        EXPECT_EQ(line.runFile, c.runFile);
        EXPECT_EQ(!line.error.isEmpty(), c.refused);
    }
}

TEST_F(RunFileWindow, AFileFromTheCommandLineRunsAsTheSameSettingsTypedByHand) {
    const RunFile file = lessonFile();
    const QString where = writeRunFile("lesson.kurvilo", file);
    EXPECT_TRUE(openCommandLineFile(*form1, readCommandLine({where})).isEmpty());
    // The controls hold the file's texts byte for byte.
    EXPECT_EQ(form1->Edit1->text().toStdString(), file.settings.firstFormula);
    EXPECT_EQ(form1->Edit2->text().toStdString(), file.settings.secondFormula);
    EXPECT_EQ(form1->Label6->text(), QString::fromUtf8("Ar="));
    EXPECT_EQ(form1->ComboBox4->currentIndex(), 2);
    EXPECT_TRUE(form1->CheckBox1->isChecked());
    EXPECT_EQ(form1->SpinEdit2->value(), 7);
    EXPECT_EQ(form2->constantField(0)->text(), QString::fromUtf8("0.5"));
    // Opening runs nothing.
    EXPECT_FALSE(form1->Timer1->isActive());
    EXPECT_EQ(form1->ListBox1->texts(), std::vector<std::string>{});
    expectSame(runTicks(form1, 40), typedRun(file.settings, 40));
}

TEST_F(RunFileWindow, ADroppedFileOpensAndNothingOpensWhileARunIsActive) {
    RunFile file = lessonFile();
    file.settings.graphMode = 3;
    file.settings.firstFormula = "10cos(3θ)";
    const QString where = writeRunFile("rose.kurvilo", file);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(where)});
    const auto drop = [&] {
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(form1, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(form1, &dropped);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    };
    form1->Button1Click();  // a run is active
    EXPECT_FALSE(drop());
    EXPECT_TRUE(form1->openRunFile(where).contains(QString::fromUtf8("描写中")));
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 0);
    form1->Button2Click();
    EXPECT_TRUE(drop());
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), 3);
    EXPECT_EQ(form1->Edit1->text(), QString::fromUtf8("10cos(3θ)"));
    expectSame(runTicks(form1, 60), typedRun(file.settings, 60));
}

TEST_F(RunFileWindow, ABadFileIsRefusedWithOneLineAndChangesNothing) {
    const QString where = path("bad.kurvilo");
    ASSERT_TRUE(writeBytes(where, "kurvilo = 1\n[formulas]\nfisrt = \"x\"\n"));
    form1->Edit1->setText("-y");
    const QString failure = form1->openRunFile(where);
    EXPECT_TRUE(failure.contains(QStringLiteral("bad.kurvilo:3: unknown key 'fisrt'")))
        << failure.toStdString();
    EXPECT_FALSE(failure.contains('\n'));
    EXPECT_EQ(form1->Edit1->text(), QStringLiteral("-y"));
    // Through Ctrl+O the refusal is shown.
    choose(where);
    const QString shown = messageOf([&] { press(QKeySequence(Qt::CTRL | Qt::Key_O)); });
    EXPECT_EQ(shown, failure);
}

TEST_F(RunFileWindow, SavedSettingsOpenAgainAsTheyWere) {
    const RunFile file = lessonFile();
    typeByHand(form1, file.settings);
    const QString where = path("saved");  // the suffix is added
    choose(where);
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    const RunFileRead read = loadRunFile((where + ".kurvilo").toStdString());
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_EQ(read.file->settings, file.settings);
    EXPECT_FALSE(read.file->ticks);  // nothing ran
    // Opened in a fresh window it shows the same.
    Windows other = createWindows();
    EXPECT_TRUE(other.form1->openRunFile(where + ".kurvilo").isEmpty());
    EXPECT_EQ(other.form1->currentRunFile().settings, file.settings);
}

// F6 and F7 after stops at random ticks end where the same number of ticks run at once ends.
TEST_F(RunFileWindow, StoppedAndResumedRunsEqualTheUninterruptedRun) {
    std::mt19937 random(20261208);
    const RunFile file = lessonFile();
    typeByHand(form1, file.settings);
    for (int trial = 0; trial < 6; ++trial) {
        SCOPED_TRACE(trial);
        const int ticks = 30 + int(random() % 50);
        form1->Button1Click();
        int done = 0;
        while (done < ticks) {
            const int stretch = 1 + int(random() % 12);
            for (int i = 0; i < stretch && done < ticks; ++i, ++done)
                form1->Timer1Timer();
            form1->Button2Click();
            EXPECT_TRUE(form1->canResume());
            // Now and then single steps before going on.
            for (int steps = int(random() % 3); steps > 0 && done < ticks; --steps, ++done)
                press(QKeySequence(Qt::Key_F7));
            EXPECT_FALSE(form1->Timer1->isActive());
            press(QKeySequence(Qt::Key_F6));
            EXPECT_TRUE(form1->Timer1->isActive());
            EXPECT_FALSE(form1->Button16->isEnabled());
            EXPECT_FALSE(form1->Edit1->isEnabled());
        }
        form1->Button2Click();
        expectSame(outcomeOf(form1), typedRun(file.settings, ticks));
        EXPECT_EQ(form1->pictureRunFile().ticks, std::optional<std::uint64_t>(ticks));
    }
}

TEST_F(RunFileWindow, NeitherResumeNorStepBeforeAStartOrAfterAnError) {
    press(QKeySequence(Qt::Key_F6));
    EXPECT_FALSE(form1->Timer1->isActive());
    press(QKeySequence(Qt::Key_F7));
    EXPECT_EQ(form1->ListBox1->texts(), std::vector<std::string>{});
    form1->Edit1->setText("1/0");
    form1->Button1Click();
    form1->Timer1Timer();
    ASSERT_EQ(form1->Label3->text(), QString::fromUtf8("エラー"));
    EXPECT_FALSE(form1->canResume());
    press(QKeySequence(Qt::Key_F6));
    EXPECT_FALSE(form1->Timer1->isActive());
}

#ifdef KURVILO_CLI_PATH
// kurvilo-cli with `arguments`; its exit status.
int runCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(KURVILO_CLI_PATH), arguments);
    if (!cli.waitForFinished(60000)) return -1;
    return cli.exitCode();
}

TEST_F(RunFileWindow, TheExportedPngCarriesItsRunAndKurviloCliMakesItAgain) {
    typeByHand(form1, lessonFile().settings);
    runTicks(form1, 37);
    choose(path("picture.png"));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    const std::string exported = readBytes(path("picture.png"));
    ASSERT_FALSE(exported.empty());
    const RunFileRead carried = loadRunFile(path("picture.png").toStdString());
    ASSERT_TRUE(carried.file) << carried.error.message();
    EXPECT_EQ(carried.file->ticks, std::optional<std::uint64_t>(37));
    EXPECT_EQ(carried.file->settings.firstFormula, lessonFile().settings.firstFormula);
    ASSERT_EQ(runCli({"run", path("picture.png"), "--picture", path("again.png"), "--quiet"}), 0);
    EXPECT_TRUE(readBytes(path("again.png")) == exported);
}

TEST_F(RunFileWindow, AFileOpenedAfterARunLeavesThePictureAndItsExportsToThatRun) {
    typeByHand(form1, lessonFile().settings);
    runTicks(form1, 37);
    RunFile other = lessonFile();
    other.settings.firstFormula = "-r";
    other.ticks.reset();
    ASSERT_TRUE(form1->openRunFile(writeRunFile("other.kurvilo", other)).isEmpty());
    ASSERT_EQ(form1->Edit1->text(), QStringLiteral("-r"));
    // The picture shown is still the lesson's: so are the run file it carries and its animation.
    EXPECT_TRUE(form1->canExportAnimation());
    choose(path("picture.png"));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    const RunFileRead carried = loadRunFile(path("picture.png").toStdString());
    ASSERT_TRUE(carried.file) << carried.error.message();
    EXPECT_EQ(carried.file->ticks, std::optional<std::uint64_t>(37));
    EXPECT_EQ(carried.file->settings.firstFormula, lessonFile().settings.firstFormula);
    // Going on with the opened settings makes the picture no single run's any more.
    form1->stepRun();
    EXPECT_FALSE(form1->canExportAnimation());
    EXPECT_EQ(form1->pictureRunFile().ticks, std::nullopt);
}

TEST_F(RunFileWindow, TheExportedGifIsKurviloClisGifOfTheSameTicks) {
    const RunFile file = lessonFile();
    typeByHand(form1, file.settings);
    runTicks(form1, 45);
    choose(path("run.gif"));
    press(QKeySequence(Qt::CTRL | Qt::Key_G));
    const std::string exported = readBytes(path("run.gif"));
    ASSERT_FALSE(exported.empty());
    RunFile ran = file;
    ran.settings = form1->pictureRunFile().settings;
    ASSERT_TRUE(writeBytes(path("ran.kurvilo"), formatRunFile(ran)));
    ASSERT_EQ(
        runCli({"run", path("ran.kurvilo"), "--ticks", "45", "--gif", path("cli.gif"), "--quiet"}),
        0);
    EXPECT_TRUE(readBytes(path("cli.gif")) == exported);
}

TEST_F(RunFileWindow, AFailedRunsGifEndsWithTheFailedTickAsKurviloClisDoes) {
    RunFile file = lessonFile();
    file.settings.graphMode = 0;
    file.settings.firstFormula = "1/(2-t*10)";  // fails at t = 0.2
    file.settings.timeStep = 1;
    typeByHand(form1, file.settings);
    runTicks(form1, 100);
    ASSERT_EQ(form1->Label3->text(), QString::fromUtf8("エラー"));
    ASSERT_TRUE(form1->exportGif(path("failed.gif")).isEmpty());
    ASSERT_TRUE(writeBytes(path("failed.kurvilo"), formatRunFile(form1->pictureRunFile())));
    EXPECT_EQ(runCli({"run", path("failed.kurvilo"), "--gif", path("cli.gif"), "--quiet"}), 1);
    EXPECT_TRUE(readBytes(path("cli.gif")) == readBytes(path("failed.gif")));
}
#endif

TEST_F(RunFileWindow, ACancelledGifExportWritesNothing) {
    // Slow ticks, so that the export lasts long enough for its progress dialog to show (it shows
    // after half a second): seconds of summation terms even where plans replay them.
    RunFile file = lessonFile();
    file.settings.firstFormula = "-a*r+\u03A3{n=1<>60000:sin(n)}*0";
    typeByHand(form1, file.settings);
    runTicks(form1, 3000);
    bool shown = false;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            shown = true;
            progress->cancel();
        }
    });
    canceller.start(5);
    EXPECT_TRUE(form1->exportGif(path("cancelled.gif")).isEmpty());
    canceller.stop();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(QFileInfo::exists(path("cancelled.gif")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{});
}

TEST_F(RunFileWindow, CopyAsACommandPutsTheRunsLineOnTheClipboard) {
    typeByHand(form1, lessonFile().settings);
    runTicks(form1, 12);
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    RunFile expected = lessonFile();
    expected.title.clear();
    expected.note.clear();
    expected.settings = form1->pictureRunFile().settings;
    expected.ticks = 12;
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), runCommandLine(expected, {}));
}

TEST_F(RunFileWindow, TheContextMenuShowsEveryActionWithItsKeyAndName) {
    const struct {
        const char* name;
        QKeySequence key;
    } actions[] = {
        {"ActionOpenRun", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"ActionSaveRun", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"ActionResume", QKeySequence(Qt::Key_F6)},
        {"ActionStep", QKeySequence(Qt::Key_F7)},
        {"ActionExportPng", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
        {"ActionExportGif", QKeySequence(Qt::CTRL | Qt::Key_G)},
        {"ActionCopyCommand", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
    };
    QMenu* menu = form1->findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(menu, nullptr);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(200, 200),
                                 form1->mapToGlobal(QPoint(200, 200)));
    QApplication::sendEvent(form1->Image1, &rightClick);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(readable, nullptr);
    for (const auto& a : actions) {
        SCOPED_TRACE(a.name);
        auto* action = form1->findChild<QAction*>(a.name);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(menu->actions().contains(action));
        EXPECT_EQ(action->shortcut(), a.key);
        EXPECT_TRUE(action->isShortcutVisibleInContextMenu());
        // Japanese text, read out as the entry's name.
        const QString caption = action->text();
        EXPECT_TRUE(std::any_of(caption.begin(), caption.end(),
                                [](QChar c) { return c.unicode() > 0x3000; }));
        const int index = int(menu->actions().indexOf(action));
        ASSERT_LT(index, readable->childCount());
        EXPECT_EQ(readable->child(index)->text(QAccessible::Name), action->text());
    }
    // Before any run: no resume, no step, no animation; opening and the rest can be done.
    EXPECT_FALSE(form1->findChild<QAction*>("ActionResume")->isEnabled());
    EXPECT_FALSE(form1->findChild<QAction*>("ActionExportGif")->isEnabled());
    EXPECT_TRUE(form1->findChild<QAction*>("ActionOpenRun")->isEnabled());
    menu->hide();
    // Closed, every key works again (each handler checks for itself).
    EXPECT_TRUE(form1->findChild<QAction*>("ActionResume")->isEnabled());
}

TEST_F(RunFileWindow, TheMenuIsAWindowOfItsOwnAndTheWindowKeepsItsSizeAndCaption) {
    // The actions reach the user through keys and a menu shown on demand, not through controls.
    ASSERT_NE(form1->PopupMenu1, nullptr);
    EXPECT_TRUE(form1->PopupMenu1->isWindow());
    EXPECT_FALSE(form1->PopupMenu1->isVisible());
    form1->PopupMenu1->popup(form1->mapToGlobal(QPoint(100, 100)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1->PopupMenu1));
    EXPECT_NE(form1->PopupMenu1->window(), form1);
    form1->PopupMenu1->hide();
    EXPECT_EQ(form1->size(), QSize(777, 410));
    EXPECT_EQ(form1->windowTitle(), QStringLiteral("MainForm"));
}

}  // namespace
}  // namespace kurvilo
