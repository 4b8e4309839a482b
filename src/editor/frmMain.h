#pragma once

#include "skin/ColorTable.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QMainWindow>
#include <QPointer>

class ColorBox;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SkinTextEdit;
class Slider;
#include "preview/frmPreview.h"

// The editor window: the item list, the colour controls, the skin text and the
// commands. It owns the colour table for the whole run and loads the preview window on
// demand.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(const ProgramDirectory &programDir, Dialogs &dialogs, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the start-up steps and shows the window. Returns false when the program
    // cannot start; the window has then closed again and nothing of it is left open.
    bool open();

    const ColorTable &colors() const { return ItemColors; }
    // The preview window if it is loaded, else null.
    frmPreview *loadedPreview() const { return m_preview; }

    // Reads a skin file into the colour table and brings everything that shows the
    // colours up to date. Never fails: what cannot be done is skipped.
    void LoadINI(const QString &File);

    // Shows the window in front of the others, restored if it was minimised.
    void bringToFront();

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();

    bool Form_Load();
    void Form_Unload();
    void applyWindowState();

    void RefreshText5();
    QString text5() const;
    void selectRow(int row);
    void resetColorControls();
    void showComposedCode();
    void showSliderColor();

    void Combo1_Click();
    void Text7_Change();
    void Slider1_Scroll();
    void Slider4_Scroll();
    void Command1_Click();
    void Command2_Click();
    void loadskin_Click();
    void saveskin_Click();
    void preview_Click(bool checkedByMenu);
    void exit_Click();

    // Loads the preview window unseen when it is not loaded.
    frmPreview *previewWindow();
    void showPreview();

    ProgramDirectory m_programDir;
    Dialogs &m_dialogs;
    CommonDialog CD;
    ColorTable ItemColors;
    QPointer<frmPreview> m_preview;
    bool m_shownOnce = false;

    QGroupBox *Frame1 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label5 = nullptr;
    ColorBox *Shape1 = nullptr;
    QLabel *Label1 = nullptr;
    Slider *Slider1 = nullptr;
    QLabel *Label2 = nullptr;
    Slider *Slider2 = nullptr;
    QLabel *Label3 = nullptr;
    Slider *Slider3 = nullptr;
    QLabel *Label7 = nullptr;
    Slider *Slider4 = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *Text7 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    SkinTextEdit *Text5 = nullptr;

    QMenu *File = nullptr;
    QAction *loadskin = nullptr;
    QAction *saveskin = nullptr;
    QAction *exit = nullptr;
    QMenu *menu_preview = nullptr;
    QAction *preview = nullptr;
    QMenu *Help = nullptr;
    QAction *howto = nullptr;
    QAction *about = nullptr;
};
