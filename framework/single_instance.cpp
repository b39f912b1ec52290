#include "framework/single_instance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr quint32 kMagic = 0x4b4c4431; // "KLD1"
constexpr char kAck = '1';

} // namespace

SingleInstance::SingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent), m_serverName(serverName)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultServerName()
{
    return QStringLiteral("kaleidra-%1").arg(::getuid());
}

SingleInstance::Role SingleInstance::StartOrForward(const QStringList& files, int timeoutMs)
{
    if (Forward(files, timeoutMs)) {
        return Role::Forwarded;
    }
    if (!Listen()) {
        // Nobody answers and the name cannot be taken: carry on alone
        // rather than refuse to start.
        qWarning("Cannot listen on %s", qPrintable(m_serverName));
    }
    return Role::Primary;
}

bool SingleInstance::IsListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::Forward(const QStringList& files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    QDeadlineTimer deadline(timeoutMs);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return false;
    }

    QStringList absolute;
    for (const QString& file : files) {
        absolute.append(QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    }
    QByteArray message;
    {
        QDataStream out(&message, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << absolute;
    }
    QByteArray packet;
    {
        QDataStream out(&packet, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << message;
    }
    socket.write(packet);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    char answer = 0;
    socket.getChar(&answer);
    socket.disconnectFromServer();
    return answer == kAck;
}

bool SingleInstance::Listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    if (m_server->listen(m_serverName)) {
        return true;
    }
    // No one answered, so a socket left by a crashed run is in the way.
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        if (socket->bytesAvailable() > 0) {
            OnReadyRead(socket);
        }
    }
}

void SingleInstance::OnReadyRead(QLocalSocket* socket)
{
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    // The length comes first; refuse a sender that announces too much before
    // reading it.
    if (socket->bytesAvailable() >= 4) {
        const QByteArray head = socket->peek(4);
        const quint32 length = (quint32(uchar(head[0])) << 24) | (quint32(uchar(head[1])) << 16) |
                               (quint32(uchar(head[2])) << 8) | quint32(uchar(head[3]));
        if (length != 0xffffffffu && length > kMaxMessageBytes) {
            socket->abort();
            return;
        }
    }
    in.startTransaction();
    QByteArray message;
    in >> message;
    if (!in.commitTransaction()) {
        return; // wait for the rest
    }

    QDataStream body(message);
    body.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    QStringList files;
    body >> magic >> files;
    if (body.status() != QDataStream::Ok || magic != kMagic || files.size() > kMaxFiles) {
        socket->abort();
        return;
    }
    QStringList accepted;
    for (const QString& file : std::as_const(files)) {
        if (QDir::isAbsolutePath(file)) {
            accepted.append(file);
        }
    }
    socket->write(&kAck, 1);
    socket->flush();
    emit FilesReceived(accepted);
}
