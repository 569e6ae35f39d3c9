#pragma once

#include <QString>

// A database of realistic size made through the schema script: 100 000
// customers, 500 variants, 50 bottle types, 1 000 000 sales spread over the
// last five years and 200 000 ledger rows.
void generateBigDatabase(const QString& path);

// A database with the tables only.
void createEmptyDatabase(const QString& path);
