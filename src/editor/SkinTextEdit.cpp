#include "editor/SkinTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QChar LoneLf = QChar::LineSeparator;
constexpr QChar LoneCr = u'\u240D'; // SYMBOL FOR CARRIAGE RETURN

} // namespace

SkinTextEdit::SkinTextEdit(QWidget *parent) : QPlainTextEdit(parent) {}

void SkinTextEdit::setSkinText(const QString &text)
{
    static const QRegularExpression loneLf(u"(?<!\r)\n"_s);
    static const QRegularExpression loneCr(u"\r(?!\n)"_s);
    QString shown = text;
    shown.replace(loneCr, QString(LoneCr));
    shown.replace(loneLf, QString(LoneLf));
    setPlainText(shown);
}

QString SkinTextEdit::skinText() const
{
    // The raw text keeps every character as typed, non-breaking spaces included.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, "\r\n"_L1);
    text.replace(LoneLf, u'\n');
    text.replace(LoneCr, u'\r');
    return text;
}

void SkinTextEdit::keyPressEvent(QKeyEvent *event)
{
    // Shift+Enter would insert a line separator, which stands for a lone LF here.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        textCursor().insertBlock();
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SkinTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    QString text = source->text();
    text.replace(LoneLf, u'\n');
    textCursor().insertText(text);
    ensureCursorVisible();
}
