#pragma once

#include "server/SqlConnection.h"

// The database's schema, built by numbered steps. Each step runs once, in order, in the
// transaction that records it, so that servers started together on one database build it once.
class Migrations {
public:
    // Applies the steps the database has not had yet; returns the schema's number. Raises SqlError,
    // also for a database whose schema is newer than this program knows.
    static int Apply(SqlConnection& connection);
    // The newest step's number.
    static int Latest();
};
