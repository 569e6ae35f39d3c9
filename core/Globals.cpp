#include "Globals.h"

int ListPageSize = 0;
QString RefillBottleType = QStringLiteral("REFILL");
QString LoginUserName;
QString LoginFullName;
bool StartupDone = false;
