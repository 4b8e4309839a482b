#pragma once

#include <QPlainTextEdit>

// The skin text box. Its text travels as skin text: lines joined by CR LF, where a code
// may hold a lone LF or a lone CR read from a file or typed into the code box. A text
// box knows only its own line breaks, so those two are shown as the line separator and
// the carriage-return symbol, and every line break the user types or pastes, by any
// key, is a line of its own.
class SkinTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit SkinTextEdit(QWidget *parent = nullptr);

    void setSkinText(const QString &text);
    QString skinText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
};
