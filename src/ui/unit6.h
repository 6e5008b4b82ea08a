// SPDX-License-Identifier: MIT
// The main window Form1. Every setting, formula and current value lives in a control, named as
// the component it is (member name = objectName). The window keeps no logic of a run: each
// handler copies the controls into the core's RunModel, calls the core (start, stop, one tick) and
// copies back what the core wrote. Its own work is the bookkeeping the core has no part in:
// relabelling by graph mode, opening the keypad and saving the picture. A tick's formulas are
// evaluated on a worker thread, so a long one leaves the window painted and "描写中止" live.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "runfile/run_file.h"

class QAction;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QContextMenuEvent;
class QDragEnterEvent;
class QDropEvent;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTimer;

namespace kurvilo {

struct RunModel;
class FormulaWorker;
class PlotSurface;
class LabeledEdit;
class ListBox;
class RadioGroup;
class ShapeCircle;
class SurfaceView;
class TForm2;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // Where the window opens where it fits, and how large its frame is, title bar included.
    static constexpr QPoint kDesignedPlace{328, 207};
    static constexpr QSize kDesignedFrame{785, 444};

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Form2, created right after this window; the "・・・" buttons open it.
    void setKeypad(TForm2* keypad) { keypad_ = keypad; }

    // Runs a file dialog (SaveDialog1, and those of the run files and the exports) and says
    // whether the user chose a file. The default shows it modally; tests put a choice of their
    // own in its place.
    using SaveDialogRunner = std::function<bool(QFileDialog& dialog)>;
    void setSaveDialogRunner(SaveDialogRunner runner) { runSaveDialog_ = std::move(runner); }

    const PlotSurface& surface() const;
    // Evaluates the tick's formulas, on this thread when they are quick, else on its own.
    const FormulaWorker& formulaWorker() const { return *worker_; }

    // Handlers, named after their component and event.
    void FormCreate();
    void Button1Click();   // 描写開始
    void Button2Click();   // 描写中止
    void Button16Click();  // 保存
    void RadioGroup1Click();
    void Button3Click();  // keypad for Edit1
    void Button4Click();  // keypad for Edit2
    void Timer1Timer();

    // The run as a document: what the shortcuts and the context menu (PopupMenu1) do. Each does
    // nothing where it cannot be done (a menu entry is disabled there).
    // Opens a run file (or a PNG that carries one): its settings go into the controls as if
    // typed, nothing else changes. Refused while a run is active. The empty string when opened,
    // else the one-line message (not shown).
    QString openRunFile(const QString& fileName);
    void openRunFileChosen();  // Ctrl+O: asks for the file, shows a refusal
    void saveRunFileChosen();  // Ctrl+Shift+S
    void exportPngChosen();    // Ctrl+Shift+E
    void exportGifChosen();    // Ctrl+G
    void copyCommand();        // Ctrl+Shift+C
    void resumeRun();          // F6: a stopped run goes on from where it stood
    void stepRun();            // F7: one tick of a stopped run
    bool canOpenRunFile() const;
    bool canResume() const;  // and step
    bool canExportAnimation() const;
    // The run file of the window: its settings, the title and note of the file last opened, and
    // the ticks of the run shown when the picture is that of these settings.
    RunFile currentRunFile();
    // The run file of the picture shown: that of the run that drew it, with its ticks, unless
    // a setting was changed before it went on; else the settings without ticks.
    RunFile pictureRunFile();
    // Writes the animation of the run so far; the empty string when written or cancelled.
    QString exportGif(const QString& fileName);
    // The "kurvilo-cli run ..." line of currentRunFile().
    QString commandLine();

    SurfaceView* Image1;
    ShapeCircle* Shape1;
    QGroupBox* GroupBox1;
    QLabel* Label6;
    QLineEdit* Edit1;
    QPushButton* Button3;
    QLabel* Label7;
    QLineEdit* Edit2;
    QPushButton* Button4;
    QGroupBox* GroupBox2;
    LabeledEdit* LabeledEdit12;
    LabeledEdit* LabeledEdit15;
    LabeledEdit* LabeledEdit13;
    LabeledEdit* LabeledEdit16;
    QGroupBox* GroupBox3;
    QLabel* Label2;
    QComboBox* ComboBox1;
    QLabel* Label1;
    QComboBox* ComboBox2;
    QLabel* Label4;
    QComboBox* ComboBox3;
    QLabel* Label5;
    QComboBox* ComboBox4;
    ListBox* ListBox2;
    ListBox* ListBox1;
    ListBox* ListBox3;
    QLabel* Label3;
    QGroupBox* GroupBox4;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button16;
    RadioGroup* RadioGroup1;
    QGroupBox* GroupBox5;
    QLabel* Label8;
    QCheckBox* CheckBox1;
    QLabel* Label12;
    QLabel* Label13;
    QSpinBox* SpinEdit1;
    QLabel* Label11;
    QSpinBox* SpinEdit2;
    QLabel* Label9;
    QCheckBox* CheckBox2;
    QLabel* Label14;
    QLabel* Label15;
    QSpinBox* SpinEdit3;
    QLabel* Label10;
    QSpinBox* SpinEdit4;
    QTimer* Timer1;
    QFileDialog* SaveDialog1 = nullptr;  // made on the first save
    QMenu* PopupMenu1 = nullptr;         // the context menu of the window

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The controls, group by group, in the order they sit on the window.
    void createControls();
    void createPlotSurface();
    void createFormulaGroup();
    void createInitialConditionGroup();
    void createDrawingSettingsGroup();
    void createValueLists();
    void createSystemGroup();
    void createGraphModeGroup();
    void createZoomGroup();
    void createMarkerAndTimer();
    void connectHandlers();

    // The accessible names that follow the graph mode's labels.
    void nameFormulaControls();
    void nameInitialValues();

    void readLocaleSeparator();
    QFileDialog& saveDialog();
    // A file dialog of the picture, the run files and the exports, made on first use.
    QFileDialog& fileDialog(const char* name, const char* title, bool save, const char* filter,
                            const char* suffix);
    // The file the user chose in `dialog`, starting from `last`; empty when cancelled.
    QString chooseFile(QFileDialog& dialog, QString& last);
    void showSettings(const RunSettings& settings);
    // A setting changed since the run began, seen before it goes on.
    void noteChangedSettings();
    bool pictureIsOfTheRun() const;
    void showFailure(const QString& message);
    // Whether the run file can be written; if not, the user is told why.
    bool writable(const RunFile& file);
    void openKeypad(const QLineEdit* formula, int target, const QLabel* formulaLabel);

    // The handlers' copies: every control the core knows, in and out.
    void copyIn();
    void copyOut();
    // A tick's copies: in, only what the tick reads; out, only what it changed.
    void copyTickInputs();
    void showTick(bool succeeded, const std::string& label3Before);
    void showTimer();
    void showStatus();

    std::unique_ptr<RunModel> model_;
    std::unique_ptr<FormulaWorker> worker_;
    TForm2* keypad_ = nullptr;
    SaveDialogRunner runSaveDialog_;
    QString lastSaveName_;
    QString lastRunFileName_;
    QString lastExportName_;
    // The settings as the run shown began them (after the start action), none before a start.
    std::optional<RunSettings> runSettings_;
    bool runChanged_ = false;        // a setting changed before the run went on
    std::optional<RunFile> opened_;  // the run file last opened
    bool inTick_ = false;
    bool localeChangePending_ = false;
    bool stopRequested_ = false;  // "描写中止" was pressed while a tick waited
};

}  // namespace kurvilo
