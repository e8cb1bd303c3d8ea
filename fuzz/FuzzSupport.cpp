#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
}

QString scratchPath(const char* name)
{
    // Saves sync to disk; in memory that costs nothing, so the fuzzer runs hundreds of times faster.
    static QTemporaryDir folder(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/swiftlane-fuzz-XXXXXX")
                                                           : QDir::tempPath() + "/swiftlane-fuzz-XXXXXX");
    return QDir(folder.path()).filePath(QString::fromLatin1(name));
}

QString writeScratchFile(const char* name, const std::uint8_t* data, std::size_t size)
{
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        fail("cannot write the scratch file");
    return path;
}

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

} // namespace fuzz
