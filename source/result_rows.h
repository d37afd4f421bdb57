// Inside the results list: the record a row stands for, which the row source
// and the double-click both look up.
#pragma once

#include "results.h"

// The record a row stands for, or null when row does not point at a record of
// the store (no row, or one handed out before the store changed).
ResultRecord* recordAt(void* root, const void* row);
