#pragma once

#include <QString>

// One field of the program's CSV files (";" between fields, as a spreadsheet
// under Indonesian settings expects): quoted where it holds ";", a quote or a
// line break, and never read as a formula.
QString csvField(QString text);
