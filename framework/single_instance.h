#pragma once

// One running program per user: a second start hands its files to the
// first through a local socket and exits; the first opens them.
//
// The socket is private to the user. A message is a version word and the
// list of absolute paths; the receiver answers one byte once it has the
// list, so the sender knows the files arrived before it exits. Messages
// larger than kMaxMessageBytes or with more than kMaxFiles paths are
// refused.
//
// StartOrForward blocks for at most its timeout; the receiving side runs in
// the event loop of the thread that owns the object.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxMessageBytes = 1 << 20;
    static constexpr int kMaxFiles = 1000;

    enum class Role
    {
        Primary,  // this process listens and carries on
        Forwarded // another process took the files; this one should exit
    };

    explicit SingleInstance(const QString& serverName = DefaultServerName(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // "kaleidra-<user id>".
    static QString DefaultServerName();
    QString ServerName() const { return m_serverName; }

    // Hands `files` (made absolute) to a running instance if one answers,
    // else becomes the running instance.
    Role StartOrForward(const QStringList& files, int timeoutMs = 2000);
    bool IsListening() const;

signals:
    // A later start sent these files (absolute paths; may be empty when it
    // was started without files, then the window should only come forward).
    void FilesReceived(const QStringList& files);

private:
    bool Forward(const QStringList& files, int timeoutMs);
    bool Listen();
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
