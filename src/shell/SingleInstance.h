#pragma once

#include <QLockFile>
#include <QObject>

class LocalChannel;

// One running program per program folder: two would delete each other's working files
// and draw over each other's snapshots. The first start holds a lock file in the folder
// and listens for later starts; a later start asks it to come to the front, and to open
// the skin it was given if any, and goes.
// A lock left by a crashed program is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &programDir, QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Claim
    {
        Claimed,    // this is the one instance, or the folder holds no lock file (one that
                    // may not be written to) and nothing keeps the program from starting
        Handed,     // another instance runs and was asked to come to the front (and open)
        Unanswered, // another instance holds the lock but did not answer
        Stranger,   // what answers belongs to another user, and was told nothing
        Refused,    // the lock file is a link or another user's: see refusal()
    };
    // `skin` is a file for the running instance to open, or empty.
    Claim claim(const QString &skin = {});
    // Why the lock file was not touched, after Claim::Refused.
    const QString &refusal() const { return m_refusal; }

signals:
    void activationRequested();
    void openRequested(const QString &skin);

private:
    // Removes a lock file that is a link to nothing. Returns why the lock file must not
    // be touched, a link or another user's, or nothing.
    QString checkLockFile();

    QString m_socket;
    QString m_lockPath;
    QLockFile m_lock;
    QString m_refusal;
    LocalChannel *m_channel = nullptr;
};
