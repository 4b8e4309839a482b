#include "platform/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QString displayText(QString text)
{
    // Messages keep CR LF line breaks like every text of the program; a label wants LF.
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString runFileDialog(QFileDialog::AcceptMode mode, const QString &filter,
                      const QString &initialFile)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
    if (!initialFile.isEmpty())
        dialog.selectFile(initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

void QtDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

Dialogs::Answer QtDialogs::question(const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDialogs::openFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(QFileDialog::AcceptOpen, filter, initialFile);
}

QString QtDialogs::saveFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(QFileDialog::AcceptSave, filter, initialFile);
}

std::optional<QColor> QtDialogs::colour(const QColor &initial, Alpha alpha)
{
    // Qt's own dialog on every desktop: it has the screen colour picker.
    QColorDialog::ColorDialogOptions options = QColorDialog::DontUseNativeDialog;
    if (alpha == Alpha::Shown)
        options |= QColorDialog::ShowAlphaChannel;
    QColorDialog dialog(initial, QApplication::activeWindow());
    dialog.setWindowTitle(m_title);
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}
