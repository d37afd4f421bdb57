#include "interface.h"

namespace substitute {

void Interface::fill(TableStorage&) {}
void Interface::shutDown() {}

}  // namespace substitute
