// The workbook package the run opens as its template, as raw bytes: the zip container and
// everything in it. See package_check.h for what is asked of it.
#include "package_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavro::fuzz;
    checkPackage(writeScratch("template.xlsm", asText(data, size)));
    return 0;
}
