// The options form's choices for one generation run, and what builders publish for later ones.
// A plain record: every sheet builder reads it.
#pragma once

#include <array>
#include <string>

struct GenerationOptions {
    int SubwatershedCount = 1;  // N, 1..200
    int GullyCount = 0;         // 0..100
    int StreambankCount = 0;    // 0..100
    bool NonZeroStart = false;

    // Index 1..5: Urban, Cropland, Pastureland, Forest, User Defined (index 0 unused).
    std::array<int, 6> LandUseSelected{};
    // Index 1..8: Beef Cattle, Dairy Cattle, Swine (Hog), Sheep, Horse, Chicken, Turkey, Duck.
    std::array<int, 9> AnimalSelected{};
    // Index 1..4: Nitrogen, Phosphorus, BOD, Sediment; always 0.
    std::array<int, 5> PollutantSelected{};

    // Index 0 "Watershed", 1..5 the land-use names, 6 empty; filled by the information sheet.
    std::array<std::string, 7> LandUseNames{};
    int RunoffFirstRow = 0;      // 4N+27, set by the Land&Rain builder
    int PastureAeuFirstRow = 0;  // 2N+28, set by the Animal builder

    // The BMP list file the BMP list and BMP selection builders read; empty: the default,
    // support/allBMPkavro.csv under the current working folder.
    std::string BmpListPath;

    // The check-box rule of the initialisation option: non-zero mode ticks Urban, Cropland,
    // Pastureland, Forest and every animal; zero mode clears them all.
    void applyInitialisationMode(bool nonZero) {
        NonZeroStart = nonZero;
        for (int i = 1; i <= 5; ++i) LandUseSelected[i] = nonZero && i <= 4 ? 1 : 0;
        for (int i = 1; i <= 8; ++i) AnimalSelected[i] = nonZero ? 1 : 0;
        PollutantSelected = {};
    }
};
