// The one list of sheet builders. A builder joins the run by one line here, under its name
// (the run's step table fixes the order, so the lines may stand in any order):
//     {"DataInput", DataInput},
// A builder that reports its own failures and lets the run go on is marked so:
//     {"BMPListPage", [](wb::Workbook& b, GenerationOptions& o) { BMPListPage(b, o, ...); }, true},
#include "generator/builders.h"

#include "sheets/input/data_input.h"
#include "sheets/input/general_input_data.h"
#include "sheets/land/animal_page.h"
#include "sheets/land/landuse_page.h"
#include "sheets/land/urban_page.h"
#include "sheets/sources/feedlots_page.h"
#include "sheets/sources/gully_streambank.h"
#include "sheets/sources/sediment_page.h"
#include "sheets/sources/septic_page.h"
#include "sheets/summary/bmp_list_page.h"
#include "sheets/summary/bmp_page.h"
#include "sheets/summary/graph_page.h"
#include "sheets/summary/reference_page.h"
#include "sheets/summary/total_load_page.h"

std::vector<NamedBuilder> sheetBuilders() {
    return {
        {"GeneralInputData", GeneralInputData},
        {"DataInput", DataInput},
        {"LandusePage", LandusePage},
        {"AnimalPage", AnimalPage},
        {"UrbanPage", UrbanPage},
        {"FeedlotsPage", FeedlotsPage},
        {"SepticPage", SepticPage},
        {"SedimentPage", SedimentPage},
        {"GullyStreamBank", GullyStreamBank},
        {"TotalLoadPage", TotalLoadPage},
        {"GraphPage", GraphPage},
        {"ReferencePage", ReferencePage},
        {"BMPListPage", [](wb::Workbook& b, GenerationOptions& o) { BMPListPage(b, o); }, true},
        {"BMPPage", [](wb::Workbook& b, GenerationOptions& o) { BMPPage(b, o); }, true},
    };
}
