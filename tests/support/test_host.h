// Shared test support: a substitute host with the module bound in-process.
#pragma once
