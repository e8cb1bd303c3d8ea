#include "app/KeptSettings.h"

#include "app/ProgramIdentity.h"

#include <QDir>
#include <QSettings>

namespace {

const QString SubjectsKey = QStringLiteral("subjects/names");
const QString SubjectIndexKey = QStringLiteral("subjects/current");
const QString SubjectTextKey = QStringLiteral("subjects/text");
const QString SequenceKey = QStringLiteral("run/sequenceFile");
const QString AutoAdvanceKey = QStringLiteral("run/autoAdvance");
const QString GeometryGroup = QStringLiteral("geometry");

} // namespace

bool operator==(const KeptState& a, const KeptState& b)
{
    return a.subjects == b.subjects && a.subjectIndex == b.subjectIndex && a.subjectText == b.subjectText &&
           a.sequenceFile == b.sequenceFile && a.autoAdvance == b.autoAdvance && a.geometries == b.geometries;
}

KeptSettings::KeptSettings()
    : filePath(QSettings(QSettings::NativeFormat, QSettings::UserScope, programidentity::Organisation,
                         programidentity::Application)
                   .fileName())
{
}

KeptState KeptSettings::Read(QString& problem) const
{
    problem.clear();
    const QSettings settings(filePath, QSettings::NativeFormat);
    if (settings.status() != QSettings::NoError) {
        problem = QDir::toNativeSeparators(settings.fileName());
        return {};
    }
    KeptState state;
    state.subjects = settings.value(SubjectsKey).toStringList();
    state.subjectIndex = settings.value(SubjectIndexKey, -1).toInt();
    state.subjectText = settings.value(SubjectTextKey).toString();
    state.sequenceFile = settings.value(SequenceKey).toString();
    state.autoAdvance = settings.value(AutoAdvanceKey, false).toBool();
    const QString prefix = GeometryGroup + QLatin1Char('/');
    for (const QString& key : settings.allKeys()) {
        if (key.startsWith(prefix))
            state.geometries.insert(key.mid(prefix.size()), settings.value(key).toByteArray());
    }
    return state;
}

void KeptSettings::Write(const KeptState& state, QString& problem) const
{
    problem.clear();
    QSettings settings(filePath, QSettings::NativeFormat);
    // A file that could not be read is not written over: what it holds may still be good.
    if (settings.status() == QSettings::NoError) {
        settings.setValue(SubjectsKey, state.subjects);
        settings.setValue(SubjectIndexKey, state.subjectIndex);
        settings.setValue(SubjectTextKey, state.subjectText);
        settings.setValue(SequenceKey, state.sequenceFile);
        settings.setValue(AutoAdvanceKey, state.autoAdvance);
        for (auto it = state.geometries.cbegin(); it != state.geometries.cend(); ++it)
            settings.setValue(GeometryGroup + QLatin1Char('/') + it.key(), it.value());
        settings.sync();
    }
    if (settings.status() != QSettings::NoError)
        problem = QDir::toNativeSeparators(settings.fileName());
}
