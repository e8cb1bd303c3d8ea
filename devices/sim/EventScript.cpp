#include "devices/sim/EventScript.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace sim {

EventScript ParseEventScript(const QString& text)
{
    EventScript script;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")));
        bool timeOk = false, gateOk = false, stateOk = true;
        ScriptedPassage passage;
        passage.atMs = fields.value(0).toLongLong(&timeOk);
        passage.gate = fields.value(1).toInt(&gateOk) - 1;
        if (fields.size() > 2)
            passage.state = fields[2].toInt(&stateOk) != 0;
        if (fields.size() > 3 || !timeOk || !gateOk || !stateOk || passage.atMs < 0 || passage.gate < 0 ||
            passage.gate > 3) {
            script.error = QStringLiteral("line %1: expected \"<ms> <gate 1-4> [state]\", got \"%2\"")
                               .arg(index + 1)
                               .arg(line);
            return script;
        }
        script.passages.push_back(passage);
    }
    std::stable_sort(script.passages.begin(), script.passages.end(),
                     [](const ScriptedPassage& a, const ScriptedPassage& b) { return a.atMs < b.atMs; });
    return script;
}

std::optional<EventScript> LoadEventScript(const QString& path, QString* error)
{
    const QString notAFile = platform::notRegularFileReason(path);
    if (!notAFile.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, notAFile);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    EventScript script = ParseEventScript(QString::fromUtf8(file.readAll()));
    if (!script.error.isEmpty()) {
        if (error)
            *error = path + QStringLiteral(", ") + script.error;
        return std::nullopt;
    }
    return script;
}

} // namespace sim
