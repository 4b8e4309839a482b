#include "platform/FileDrop.h"

#include "platform/Dialogs.h"
#include "platform/Guarded.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDrop::FileDrop(QWidget *window, Dialogs &dialogs, std::function<void(const QString &)> open)
    : QObject(window), m_dialogs(dialogs), m_open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    // Text boxes take drops themselves; a file dropped on them is the window's all the same.
    for (QWidget *child : window->findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!drag->mimeData()->hasUrls())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!drop->mimeData()->hasUrls())
            return false;
        drop->acceptProposedAction();
        take(*drop);
        return true;
    }
    default:
        return false;
    }
}

void FileDrop::take(const QDropEvent &drop)
{
    const QList<QUrl> urls = drop.mimeData()->urls();
    if (urls.size() != 1) {
        m_dialogs.message(QCoreApplication::translate(
                              "FileDrop", "%1 items were dropped. Drop one file at a time.")
                              .arg(urls.size()));
        return;
    }
    const QUrl &url = urls.constFirst();
    if (!url.isLocalFile()) {
        m_dialogs.message(QCoreApplication::translate(
                              "FileDrop",
                              "\"%1\" is not a file on this computer. Save it to a folder first, "
                              "then drop that file.")
                              .arg(url.toDisplayString()));
        return;
    }
    const QString path = url.toLocalFile();
    const QFileInfo file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (file.isDir()) {
        m_dialogs.message(
            QCoreApplication::translate("FileDrop", "\"%1\" is a folder. Drop a file.").arg(shown));
        return;
    }
    if (!file.exists()) {
        m_dialogs.message(
            QCoreApplication::translate("FileDrop", "\"%1\" was not found.").arg(shown));
        return;
    }
    guarded(m_dialogs, m_open)(path);
}
