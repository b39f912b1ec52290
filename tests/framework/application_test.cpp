// One program per user (a second start hands its files over) and the
// drawing threads' completion event.

#include "framework/single_instance.h"
#include "framework/thread_done_event.h"
#include "framework_fixture.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>

#include <atomic>
#include <thread>

using namespace fixture;

namespace {

class RecordingApplication : public ProbedApplication
{
public:
    using ProbedApplication::ProbedApplication;
    QList<std::pair<int, std::thread::id>> done;

    void OnThreadDone(int result, std::thread::id thread) override
    {
        done.append({result, thread});
    }
};

RecordingApplication* App()
{
    return static_cast<RecordingApplication*>(Application::Instance());
}

QString UniqueServerName(const char* tag)
{
    return QStringLiteral("kaleidra-test-%1-%2").arg(tag).arg(QCoreApplication::applicationPid());
}

} // namespace

class ApplicationTest : public QObject
{
    Q_OBJECT
    Fixture f;
    QTemporaryDir dir;

private slots:
    void init() { f.Init(); }
    void cleanup() { f.Cleanup(); }

    void ASecondStartHandsItsFilesToTheFirst()
    {
        const QString name = UniqueServerName("handoff");
        QVERIFY(App()->StartOrForward({}, name));
        const QString file = Fixture::WriteFile(dir, "sent.txt", "from afar");

        // The second program, on a thread of its own as it would be in a
        // process of its own; this thread keeps serving meanwhile.
        std::atomic<int> role{-1};
        std::thread second([&] {
            SingleInstance instance(name);
            role = static_cast<int>(instance.StartOrForward({file}, 5000));
        });
        QTRY_VERIFY_WITH_TIMEOUT(role != -1, 10000);
        second.join();
        QCOMPARE(role.load(), static_cast<int>(SingleInstance::Role::Forwarded));
        QVERIFY(f.frame->ActiveDocument());
        QCOMPARE(f.frame->ActiveDocument()->PathName(), file);
    }

    void ALeftoverSocketFileDoesNotBlockTheStart()
    {
        const QString name = UniqueServerName("stale");
        const QString leftover = QDir(QDir::tempPath()).filePath(name);
        QFile stale(leftover);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleInstance instance(name);
        QCOMPARE(instance.StartOrForward({}, 500), SingleInstance::Role::Primary);
        QVERIFY(instance.IsListening());
    }

    void MalformedMessagesAreRefused()
    {
        const QString name = UniqueServerName("malformed");
        SingleInstance instance(name);
        QCOMPARE(instance.StartOrForward({}, 500), SingleInstance::Role::Primary);
        QSignalSpy received(&instance, &SingleInstance::FilesReceived);

        // A length far past the limit, then a well-sized message of garbage,
        // then relative paths, which are dropped.
        QByteArray wrongMagic;
        {
            QDataStream out(&wrongMagic, QIODevice::WriteOnly);
            QByteArray body;
            QDataStream inner(&body, QIODevice::WriteOnly);
            inner << quint32(0x12345678) << QStringList{"/etc/passwd"};
            out << body;
        }
        QByteArray relative;
        {
            QDataStream out(&relative, QIODevice::WriteOnly);
            QByteArray body;
            QDataStream inner(&body, QIODevice::WriteOnly);
            inner.setVersion(QDataStream::Qt_6_0);
            inner << quint32(0x4b4c4431) << QStringList{"relative.txt", "/abs/ok.txt"};
            out.setVersion(QDataStream::Qt_6_0);
            out << body;
        }
        const QList<QByteArray> messages{QByteArray("\x7f\xff\xff\xff", 4) + QByteArray(64, 'x'),
                                         wrongMagic, relative};
        std::atomic<int> sent{0};
        std::thread sender([&] {
            for (const QByteArray& message : messages) {
                QLocalSocket socket;
                socket.connectToServer(name);
                if (!socket.waitForConnected(2000))
                    return;
                socket.write(message);
                socket.waitForBytesWritten(2000);
                socket.waitForReadyRead(500);
                ++sent;
            }
        });
        QTRY_COMPARE_WITH_TIMEOUT(sent.load(), 3, 10000);
        sender.join();
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received[0][0].toStringList(), QStringList{"/abs/ok.txt"});
    }

    void TheCompletionEventReachesOnThreadDone()
    {
        App()->done.clear();
        std::thread::id worker;
        std::thread thread([&worker] {
            worker = std::this_thread::get_id();
            PostThreadDone(-1);
        });
        thread.join();
        QTRY_COMPARE(App()->done.size(), 1);
        QCOMPARE(App()->done[0].first, -1);
        QVERIFY(App()->done[0].second == worker);
        QCOMPARE(int(ThreadDoneEvent::kType), 0x500);
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN_WITH_APP(ApplicationTest, RecordingApplication)
#include "application_test.moc"
