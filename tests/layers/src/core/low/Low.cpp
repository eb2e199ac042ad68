#include "high/High.h"
#include <QString>
