#include "platform/Dialogs.h"

QString CommonDialog::showOpen()
{
    return remember(m_dialogs.openFileName(m_filter, m_fileName));
}

QString CommonDialog::showSave()
{
    return remember(m_dialogs.saveFileName(m_filter, m_fileName));
}

QString CommonDialog::remember(const QString &chosen)
{
    if (!chosen.isEmpty())
        m_fileName = chosen;
    return chosen;
}
