// The three procedures that draw the framed tables used on most sheets: a coloured title band,
// a grey bold header row, a grid of thin borders and, in subwatershed tables, one row per
// subwatershed labelled "W1", "W2", ... They draw, label and format only; the builders fill the
// body. Each acts on the given sheet (the builder's active sheet).
#pragma once

#include <string>
#include <vector>

#include "workbook/model/workbook.h"

namespace wb {

// Subwatershed table whose value columns come in pairs. FArray holds c / 2 + 1 headers (one for
// every even k from 0 to c); OrgR is the header row, OrgC the label column, R the number of rows
// including the header row, c the number of columns of the block.
void CreateTableVesk(Worksheet& ws, const std::string& Title, const std::vector<std::string>& FArray,
                     int OrgR, int OrgC, int R, int c, bool MergeYN, bool Dosum);

// Subwatershed table with one header per column: c + 1 columns, FArray indexed 0..c.
void CreateTableVesk2(Worksheet& ws, const std::string& Title,
                      const std::vector<std::string>& FArray, int OrgR, int OrgC, int R, int c,
                      bool MergeYN);

// Table with caller-supplied row labels: RArray indexed 1..R-1 (index 0 is never read), FArray
// indexed 0..c-1, c columns.
void CreateTableDunlo(Worksheet& ws, const std::string& Title,
                      const std::vector<std::string>& RArray,
                      const std::vector<std::string>& FArray, int OrgR, int OrgC, int R, int c);

}  // namespace wb
