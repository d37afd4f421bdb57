// The dialog's codes by their bare names, as the tests speak of them.
#pragma once

#include "dialog_contract.h"

using enum PluginType;
using enum Action;
