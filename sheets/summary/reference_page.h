// The sheet "Reference": typical animal masses and BOD production for thirteen animal kinds. The
// Feedlots and Animal sheets read the masses of column C (rows 5..17) by absolute reference, so
// the table never moves.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// The same sheet for every run; the BOD columns D..F are hidden.
void ReferencePage(wb::Workbook& wb, GenerationOptions& opt);
