#pragma once

#include "preview/PreviewLayout.h"

#include "platform/ProgramDirectory.h"

#include <QDateTime>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class ColorTable;
class CommonDialog;
class Dialogs;
class DrawingArea;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The preview window: the mock-up of the Zantho screen in the skin's colours, once
// over a two-colour gradient (Picture1) and once over the imported background
// (Picture2). It reads the editor's colours at the moment it draws and keeps no copy.
// It announces its own loading and unloading, which the editor shows as the check mark
// of its Preview entry.
class frmPreview : public QWidget
{
    Q_OBJECT

public:
    // What the preview reads of the editor, always at the moment it needs it.
    struct Skin
    {
        const ColorTable &colors;
        std::function<QString()> text; // the skin text as the editor shows it
    };

    frmPreview(const ProgramDirectory &programDir, Skin skin, CommonDialog &CD, Dialogs &dialogs,
               QWidget *parent = nullptr);
    ~frmPreview() override;

    // The opening steps; run once, right after construction, by whoever loads the
    // window. Throws Error when the first redraw fails.
    void Form_Load();
    // Redraws both scenes from the colour table. Throws Error when a colour or a picture
    // cannot be read or the snapshot cannot be written; what was drawn before stays.
    void Update();

signals:
    void loaded();
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum Scene
    {
        ColorScene,
        PictureScene
    };

    void buildScenes();
    void buildControls();

    void Form_Unload();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command1_Click();
    void Command2_Click();

    void exportPackage(const QString &name);
    void applyTextMode(TextMode mode);
    void colorElements();
    void blendPhase(Scene scene, int phase);
    void Fade(DrawingArea *WhatTO, const SceneShape *What, int IntegerTO);
    void RefreshPic(DrawingArea *PictureBox);
    QString workingPicture() const;
    void loadWorkingPicture(const QString &path);
    void rememberWorkingPicture(const QString &path, const QImage &picture);
    void showWorkingPicture(const QString &path);
    // Runs a handler that Qt calls: what fails there has nobody to go up to.
    template <typename F> void handle(F &&handler);

    ProgramDirectory m_programDir;
    const ColorTable &m_colors;
    std::function<QString()> m_skinText;
    CommonDialog &m_CD;
    Dialogs &m_dialogs;

    DrawingArea *Picture1 = nullptr;
    DrawingArea *Picture2 = nullptr;
    QWidget *Image1 = nullptr;
    std::array<DrawingArea *, 2> m_areas{};
    std::array<std::array<SceneText *, 2>, TextRoles.size()> m_texts{};
    std::array<std::array<SceneShape *, 2>, ShapeRoles.size()> m_shapes{};

    QGroupBox *Frame1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label27 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr;

    // The working picture as last read, and stretched to the scene; read again only
    // when the file changes.
    QImage m_image1;
    struct
    {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage stretched;
    } m_loaded;
};
