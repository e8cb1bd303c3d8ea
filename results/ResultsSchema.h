#pragma once

#include <QString>

class QSqlDatabase;

namespace results {

// The version this program writes. Each later version adds one step to the upgrade list.
constexpr int CurrentSchemaVersion = 1;

// The file's version (SQLite's user_version); -1 when it cannot be read (not a database, locked).
int SchemaVersion(QSqlDatabase& db, QString* error = nullptr);

// Brings a file of an older version (0: a new, empty file) up to CurrentSchemaVersion, each step
// in its own transaction. False, with *error, when a step fails; the file keeps the last version
// that was reached.
bool UpgradeSchema(QSqlDatabase& db, QString* error = nullptr);

} // namespace results
