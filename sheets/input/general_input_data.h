// The information sheet "General Input Data": when the workbook was made, the colour
// convention, the number of subwatersheds and the land-use, animal and pollutant selections.
#pragma once

#include "generator/generation_options.h"
#include "workbook/model/workbook.h"

// The check boxes of the options form, in their order: captions of land uses (1..5), animals
// (1..8) and pollutants (1..4), index 0 unused.
inline constexpr const char* kLandUseCaptions[6] = {"",          "Urban",  "Cropland",
                                                    "Pastureland", "Forest", "User Defined"};
inline constexpr const char* kAnimalCaptions[9] = {"",      "Beef Cattle", "Dairy Cattle",
                                                   "Swine (Hog)", "Sheep",  "Horse",
                                                   "Chicken", "Turkey",  "Duck"};
inline constexpr const char* kPollutantCaptions[5] = {"", "Nitrogen", "Phosphorus", "BOD",
                                                      "Sediment"};

// Fills the sheet from the selection flags in `opt` (the options form's check boxes) and
// publishes LandUseNames for the builders that follow.
void GeneralInputData(wb::Workbook& wb, GenerationOptions& opt);
