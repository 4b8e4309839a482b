#include "preview/frmPreview.h"

#include <QCloseEvent>

frmPreview::frmPreview(const ProgramDirectory &programDir, const ColorTable &colors,
                       CommonDialog &CD, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_programDir(programDir),
      m_colors(colors), m_CD(CD), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Vellox Preview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(495, 457);
    setGeometry(530, 89, 495, 457);
}

void frmPreview::Form_Load()
{
    emit loaded();
    Update();
}

void frmPreview::Update() {}

void frmPreview::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmPreview::Form_Unload()
{
    emit unloaded();
}
