#pragma once

#include <QLockFile>
#include <QObject>

#include <future>

class LocalChannel;

// One running program per program folder: two would delete each other's working files
// and draw over each other's snapshots. The first start holds a lock file in the folder,
// listens for later starts and writes in the lock file where; a later start asks it to
// come to the front, and to open the skin it was given if any, and goes.
// A lock left by a crashed program is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &programDir, QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Claim
    {
        Claimed,    // this is the one instance
        Handed,     // another instance runs and was asked to come to the front (and open)
        Unanswered, // another instance holds the lock but cannot be handed anything: see
                    // refusal()
        Stranger,   // what answers belongs to another user, and was told nothing
        Refused,    // the lock file is a link or another user's, cannot be made, or the
                    // program cannot listen: see refusal()
    };
    // Begins the claim: the lock file is looked at, and the lock tried on a thread of its
    // own while the caller goes on, since its write must reach the disk. claim() goes on
    // from there; nothing is written but the lock file meanwhile.
    void beginClaim();
    // `skin` is a file for the running instance to open, or empty. A running instance is
    // given `handOverTime` to answer.
    Claim claim(const QString &skin = {}, int handOverTime = 5000);
    // Why nothing was claimed nor handed over, as a message for the user.
    const QString &refusal() const { return m_refusal; }

signals:
    void activationRequested();
    void openRequested(const QString &skin);

private:
    // Removes a lock file that is a link to nothing. Returns why the lock file must not
    // be touched, a link or another user's, or nothing.
    QString checkLockFile();
    // Listens for later starts and writes where in the lock file. Returns why it cannot.
    QString listenForLaterStarts();
    // Where the program holding the lock listens, as its lock file says, or nothing.
    QString recordedSocket() const;
    // Why the lock file cannot be made, in the system's words.
    QString lockFailure() const;

    QString m_programDir;
    QString m_socket;
    QString m_lockPath;
    QLockFile m_lock;
    // What beginClaim() found: why the lock file must not be touched, where a crashed
    // program listened, and the first try for the lock (gone before the lock goes).
    QString m_lockFileRefusal;
    QString m_leftSocket;
    std::future<bool> m_firstTry;
    bool m_begun = false;
    QString m_refusal;
    LocalChannel *m_channel = nullptr;
};
