#include "devices/sim/PtyAdapter.h"
#include "platform/VirtualAdapters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

QStringList Names(const std::vector<platform::VirtualAdapter>& adapters)
{
    QStringList names;
    for (const auto& adapter : adapters)
        names << adapter.name;
    return names;
}

bool Link(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

} // namespace

class VirtualAdapters : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;

private slots:
    void init()
    {
        QVERIFY(folder.isValid());
        QDir(folder.path()).removeRecursively();
        QVERIFY(QDir().mkpath(folder.path()));
        qputenv("SWIFTLANE_ADAPTER_DIR", folder.path().toLocal8Bit());
    }

    void folderFollowsTheEnvironment()
    {
        QCOMPARE(platform::virtualAdapterFolder(), folder.path());
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("SWIFTLANE_ADAPTER_DIR");
        qputenv("XDG_RUNTIME_DIR", "/run/user/1234");
        QCOMPARE(platform::virtualAdapterFolder(), QStringLiteral("/run/user/1234/swiftlane/adapters"));
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(platform::virtualAdapterFolder(),
                 QStringLiteral("/tmp/swiftlane-%1/adapters").arg(::getuid()));
        qputenv("XDG_RUNTIME_DIR", runtime);
    }

    void listsOnlyWellNamedLinksToTerminalsInNameOrder()
    {
        const QString dir = folder.path() + QLatin1Char('/');
        QFile regular(dir + QStringLiteral("plainfile"));
        QVERIFY(regular.open(QIODevice::WriteOnly));
        regular.close();
        for (const char* name : {"b", "a10", "A2", "a1", "Z9z9Z9z9Z9z9Z9z"})
            QVERIFY(Link(QStringLiteral("/dev/null"), dir + QLatin1String(name)));
        QVERIFY(Link(QStringLiteral("/dev/null"), dir + QStringLiteral("sixteen16chars16")));
        QVERIFY(Link(QStringLiteral("/dev/null"), dir + QStringLiteral("with-dash")));
        QVERIFY(Link(QStringLiteral("/dev/null"), dir + QStringLiteral("with.dot")));
        QVERIFY(Link(dir + QStringLiteral("plainfile"), dir + QStringLiteral("tofile")));
        QVERIFY(Link(dir + QStringLiteral("gone"), dir + QStringLiteral("dangling")));

        const auto adapters = platform::listVirtualAdapters();
        QStringList expected = {"A2", "Z9z9Z9z9Z9z9Z9z", "a1", "a10", "b"};
        QCOMPARE(Names(adapters), expected);
        for (const auto& adapter : adapters) {
            QCOMPARE(adapter.devicePath, QStringLiteral("/dev/null"));
            QCOMPARE(adapter.locId, platform::virtualAdapterLocId(adapter.name));
        }
    }

    void missingFolderListsNothing()
    {
        qputenv("SWIFTLANE_ADAPTER_DIR", (folder.path() + QStringLiteral("/absent")).toLocal8Bit());
        QVERIFY(platform::listVirtualAdapters().empty());
    }

    void locIdIsStableNonZeroAndDistinct()
    {
        const QStringList names = {"SIM1", "SIM2", "a", "A", "0", "ZZZZZZZZZZZZZZZ"};
        QSet<std::uint32_t> seen;
        for (const QString& name : names) {
            const std::uint32_t locId = platform::virtualAdapterLocId(name);
            QVERIFY(locId != 0);
            QCOMPARE(locId, platform::virtualAdapterLocId(QString(name)));
            seen.insert(locId);
        }
        QCOMPARE(seen.size(), names.size());
    }

    void pseudoTerminalAdapterPlugsAndUnplugs()
    {
        sim::PtyAdapter adapter(QStringLiteral("SIM1"));
        QVERIFY(!adapter.IsPlugged());
        QVERIFY(adapter.Plug());
        QCOMPARE(Names(platform::listVirtualAdapters()), QStringList{"SIM1"});
        QCOMPARE(platform::listVirtualAdapters().front().devicePath, adapter.DevicePath());

        sim::PtyAdapter sameName(QStringLiteral("SIM1"));
        QString error;
        QVERIFY(!sameName.Plug(&error));
        QVERIFY(error.contains(QStringLiteral("in use")));

        adapter.Unplug();
        QVERIFY(!QFileInfo(adapter.LinkPath()).isSymLink());
        QVERIFY(platform::listVirtualAdapters().empty());
    }

    void replacesALinkLeftBehind()
    {
        const QString path = folder.path() + QStringLiteral("/SIM1");
        QVERIFY(Link(QStringLiteral("/dev/pts/no-such-terminal"), path));
        sim::PtyAdapter adapter(QStringLiteral("SIM1"));
        QVERIFY(adapter.Plug());
        QCOMPARE(QFileInfo(path).symLinkTarget(), adapter.DevicePath());
    }

    void bytesReachOnlyAReaderThatIsThere()
    {
        sim::PtyAdapter adapter(QStringLiteral("SIM1"));
        QVERIFY(adapter.Plug());
        QVERIFY(!adapter.HasReader());
        QCOMPARE(adapter.Write("stale\r\n"), 0);

        const int reader =
            ::open(QFile::encodeName(adapter.LinkPath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QVERIFY(adapter.HasReader());
        QCOMPARE(adapter.Write("$PSTS\r\n"), 7);
        QByteArray received;
        char buffer[32] = {};
        QTRY_VERIFY(
            received.append(buffer, std::max<ssize_t>(0, ::read(reader, buffer, sizeof buffer))).size() >= 7);
        QCOMPARE(received, QByteArray("$PSTS\r\n")); // raw: no line-end translation

        adapter.Unplug(); // the reader sees the device go
        QCOMPARE(::read(reader, buffer, sizeof buffer), ssize_t{0});
        ::close(reader);
    }
};

QTEST_GUILESS_MAIN(VirtualAdapters)
#include "test_virtual_adapters.moc"
