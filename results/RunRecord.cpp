#include "results/RunRecord.h"

QString ReportRowKey(const QString& reportFileName, int rowNumber, const QStringList& fields)
{
    // A unit separator cannot occur in a report field, so different rows never share a key.
    return reportFileName + QLatin1Char(':') + QString::number(rowNumber) + QLatin1Char(':') +
           fields.join(QChar(0x1f));
}
