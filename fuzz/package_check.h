// What both package targets ask of a package: it opens or is refused with a WorkbookError that
// says why; every sheet loads or is refused the same way; and a workbook that opened with all its
// sheets is saved to a file that opens to the same sheets and cells.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

namespace kavro::fuzz {

// Every non-empty cell of a sheet as (row, column, kind, formula or constant as typed).
using CellList = std::vector<std::tuple<int, int, int, std::string>>;

inline CellList cellsOf(wb::Worksheet& ws) {
    CellList cells;
    ws.forEachCell([&](int row, const wb::Cell& c) {
        if (c.type == wb::CellType::Empty) return;
        cells.emplace_back(row, c.col, static_cast<int>(c.type), ws.cells(row, c.col).formula());
    });
    return cells;
}

// Loads every sheet; false, with the reason in `why`, when one is refused.
inline bool loadAll(wb::Workbook& book, std::vector<CellList>& cells, std::string& why) {
    cells.clear();
    for (int i = 0; i < book.sheetCount(); ++i) {
        try {
            cells.push_back(cellsOf(book.sheet(book.sheet(i).name())));
        } catch (const wb::WorkbookError& e) {
            why = e.what();
            expect(!why.empty(), "a sheet refused without a reason");
            return false;
        }
    }
    return true;
}

inline void checkPackage(const std::string& path) {
    std::unique_ptr<wb::Workbook> book;
    try {
        book = wb::ooxml::openWorkbook(path);
    } catch (const wb::WorkbookError& e) {
        expect(std::strlen(e.what()) > 0, "a package refused without a reason");
        return;
    }
    std::vector<CellList> cells;
    std::string why;
    if (!loadAll(*book, cells, why)) return;

    const std::string saved = scratchPath("saved.xlsm");
    try {
        wb::ooxml::saveWorkbook(*book, saved);
    } catch (const wb::WorkbookError& e) {
        broken("a workbook that opened with all its sheets cannot be saved", e.what());
    }
    std::unique_ptr<wb::Workbook> back = wb::ooxml::openWorkbook(saved);
    std::vector<CellList> cellsBack;
    expect(loadAll(*back, cellsBack, why), "a sheet we saved cannot be read back", why);
    expect(back->sheetCount() == book->sheetCount(), "the saved workbook lost sheets");
    for (int i = 0; i < book->sheetCount(); ++i) {
        const std::string& name = book->sheet(i).name();
        // Bytes that are not UTF-8 cannot be written as they are (see below).
        expect(back->sheet(i).name() == name || !isUtf8(name), "a sheet came back renamed", name);
        const CellList& a = cells[static_cast<std::size_t>(i)];
        const CellList& b = cellsBack[static_cast<std::size_t>(i)];
        expect(a.size() == b.size(), "the saved sheet lost or gained cells",
               name + ": " + std::to_string(a.size()) + " / " + std::to_string(b.size()));
        for (std::size_t k = 0; k < a.size(); ++k) {
            const auto& [r, c, t, f] = a[k];
            // Bytes that are not UTF-8 cannot be written as they are.
            if (a[k] == b[k] || (!isUtf8(f) && std::get<0>(b[k]) == r && std::get<1>(b[k]) == c))
                continue;
            broken("a cell changed on the way through the file",
                   name + " row " + std::to_string(r) + " column " + std::to_string(c) + ": \"" +
                       f + "\" became \"" + std::get<3>(b[k]) + "\"");
        }
    }
}

}  // namespace kavro::fuzz
