// Reading n sections of one parent by name, as a run file's gates are read: the time per load
// should grow linearly with n.
#include "archive/QXmlArchive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

bool WriteSections(const QString& path, int count)
{
    QByteArray xml = "<Configuration><GateSequence>";
    for (int k = 0; k < count; ++k) {
        const QByteArray name = "Gate_" + QByteArray::number(k);
        xml += "<" + name + "><GateNumber>1</GateNumber></" + name + ">";
    }
    xml += "</GateSequence></Configuration>";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}

void BM_ReadSectionsByName(benchmark::State& state)
{
    qInstallMessageHandler(Quiet); // every GetSection writes a debug line
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sections.xml"));
    if (!WriteSections(path, count)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    for (auto _ : state) {
        QXmlArchive archive;
        archive.LoadFile(path);
        archive.GetSection("GateSequence");
        unsigned found = 0;
        for (int k = 0; k < count; ++k) {
            unsigned number = 0;
            if (archive.GetSection("Gate_" + std::to_string(k))) {
                archive.GetValue("GateNumber", number);
                archive.LeaveSection();
            }
            found += number;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetComplexityN(count);
    qInstallMessageHandler(nullptr);
}
BENCHMARK(BM_ReadSectionsByName)->RangeMultiplier(4)->Range(256, 16384)->Complexity();

} // namespace

BENCHMARK_MAIN();
