#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct FileIdentity;
struct KeptEarlier;

// The earlier content of a file that is being rewritten where it stands, kept in the
// user's cache folder until the new content is on the disk. A run that ends in the
// middle of such a rewrite leaves the copy and its record behind; the next start finds
// them and puts the content back only when the file is provably what the rewrite left: the
// same file, untouched since the rewrite's last change. Otherwise it says where the copy
// is. A later whole write of the file by this program makes the copy old.
class KeptCopy
{
public:
    // What the file holds now, against what it held and what was being written.
    enum class FileState
    {
        Earlier,
        New,
        Damaged, // what the rewrite left when it was cut short, and nothing since
        Changed, // neither content, and not provably the rewrite's: someone wrote it since
        Gone
    };

    // Makes every rewrite in place of this run keep the earlier content here, and every
    // whole write of a file let go of the copies older writes of it left. Called once at
    // start, before anything is written.
    static void guardRewrites();

    // Writes the copy of `earlier` and a record naming `file` and the content about to
    // replace it, both on the disk before this returns. Throws Error when the copy cannot
    // be kept; the file must then not be touched.
    static KeptCopy keep(const QString &file, const FileIdentity &identity,
                         const QByteArray &earlier, const QByteArray &next);
    // keep(), for a rewrite that reports its progress: each change of the file is
    // recorded before it is made and after, so that what the file holds can later be
    // proved to be what the rewrite left, and nothing since.
    static KeptEarlier keepWhileRewriting(const QString &file, const FileIdentity &identity,
                                          const QByteArray &earlier, const QByteArray &next);
    // The copies that runs before this one left behind. Leftovers of a copy that was never
    // needed are removed. A cache folder that is not the user's own yields nothing.
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
    bool lastTouchedByRewrite() const;

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
    // How far the rewrite came: the file's status-change time and size after its last
    // finished change, and when the change under way began (0: none). Unknown (-1) in
    // records of older versions, which then prove nothing.
    qint64 m_changedAt = -1;
    qint64 m_size = -1;
    qint64 m_changing = 0;
    qint64 m_progressAt = 0;
};
