// The sheet builders written so far, under their names, as the generation run calls them.
#pragma once

#include <vector>

#include "generator/generation_run.h"

std::vector<NamedBuilder> sheetBuilders();
