#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The earlier content of a file that is being rewritten where it stands, kept in the
// user's cache folder until the new content is on the disk. A run that ends in the
// middle of such a rewrite leaves the copy and its record behind; the next start finds
// them and can put the content back, unless the file was written again since: a later
// whole write of it by this program, or a file put in its place, makes the copy old.
class KeptCopy
{
public:
    // What the file holds now, against what it held and what was being written.
    enum class FileState
    {
        Earlier,
        New,
        Damaged,
        Gone
    };

    // Makes every rewrite in place of this run keep the earlier content here, and every
    // whole write of a file let go of the copies older writes of it left. Called once at
    // start, before anything is written.
    static void guardRewrites();

    // Writes the copy of `earlier` and a record naming `file` and the content about to
    // replace it, both on the disk before this returns. Throws Error when the copy cannot
    // be kept; the file must then not be touched.
    static KeptCopy keep(const QString &file, const QByteArray &earlier, const QByteArray &next);
    // The copies that runs before this one left behind. Leftovers of a copy that was never
    // needed, and copies of files written again since, are removed. A cache folder that
    // is not the user's own yields nothing.
    static QList<KeptCopy> found();

    const QString &file() const { return m_file; }
    const QString &copy() const { return m_copy; }
    FileState fileState() const;
    // Writes the copy over the file, then forgets the copy. Throws Error.
    void putBack() const;
    // Forgets the copy: it is offered no more, but stays where it is for good, as the
    // user was told.
    void forget() const;
    // Removes the copy and its record. A failure only leaves them for the next start
    // to report, which says what the file holds, so it is not reported here.
    void release() const;

private:
    static QList<KeptCopy> recorded(QStringList *ids = nullptr);
    bool writtenSince() const;

    QString m_record;
    QString m_file;
    QString m_copy;
    QString m_next; // the content the rewrite was writing, to know what it leaves
    QByteArray m_nextDigest;
    // Which file was being rewritten (device and inode), and how long the new content is:
    // a rewrite where the file stands keeps the one and leaves a size between the earlier
    // and the new content's. Unknown (-1) in records of older versions.
    qint64 m_device = -1;
    qint64 m_inode = -1;
    qint64 m_nextSize = -1;
};
