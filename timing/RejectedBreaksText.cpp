#include "timing/RejectedBreaksText.h"

#include <QStringList>

QString RejectedBreaksText(const std::map<int, int>& rejectedByGate)
{
    QStringList clauses;
    for (const auto& [gate, count] : rejectedByGate) {
        if (count <= 0)
            continue;
        clauses << QStringLiteral("%1 extra %2 at Gate %3 ignored")
                       .arg(count)
                       .arg(count == 1 ? QStringLiteral("break") : QStringLiteral("breaks"))
                       .arg(gate + 1);
    }
    return clauses.join(QStringLiteral("; "));
}
