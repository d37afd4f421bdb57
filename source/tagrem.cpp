#include "tagrem.h"

bool registerCommand() { return false; }
