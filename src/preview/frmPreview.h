#pragma once

#include "platform/ProgramDirectory.h"

#include <QWidget>

class ColorTable;
class CommonDialog;
class Dialogs;

// The preview window. It reads the editor's colours at the moment it draws and keeps
// no copy of them. It announces its own loading and unloading, which the editor shows
// as the check mark of its Preview entry.
class frmPreview : public QWidget
{
    Q_OBJECT

public:
    frmPreview(const ProgramDirectory &programDir, const ColorTable &colors, CommonDialog &CD,
               Dialogs &dialogs, QWidget *parent = nullptr);

    // The opening steps; run once, right after construction, by whoever loads the window.
    void Form_Load();
    // Redraws both scenes from the colour table. Throws Error when a colour or a picture
    // cannot be read.
    void Update();

signals:
    void loaded();
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();

    ProgramDirectory m_programDir;
    const ColorTable &m_colors;
    CommonDialog &m_CD;
    Dialogs &m_dialogs;
};
