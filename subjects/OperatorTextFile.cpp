#include "subjects/OperatorTextFile.h"

#include <QCoreApplication>

#include "platform/RegularFile.h"

#include <QFile>

OperatorTextFile readOperatorTextFile(const QString& path, const QString& kind)
{
    OperatorTextFile result;
    result.error = platform::notRegularFileReason(path);
    if (!result.error.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
    } else if (file.size() > OperatorTextFile::MaxBytes) {
        result.error =
            QCoreApplication::translate("OperatorTextFile", "the file is %1 MB; %2 is at most %3 MB")
                .arg(file.size() / (1024 * 1024))
                .arg(kind)
                .arg(OperatorTextFile::MaxBytes / (1024 * 1024));
    } else {
        result.bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.error = file.errorString();
            result.bytes.clear();
        }
    }
    return result;
}
