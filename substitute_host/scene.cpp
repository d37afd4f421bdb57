#include "scene.h"

namespace substitute {

void Scene::fill(TableStorage&) {}
void Scene::clear() {}

}  // namespace substitute
