#pragma once

#include "Scene.h"

namespace kivo {

// The rule, display and More screens with each of their sheets.
std::vector<Scene> screenScenes();

} // namespace kivo
