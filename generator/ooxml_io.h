// The run's file access through the Open XML package reader and writer.
#pragma once

#include "generator/generation_run.h"

// Both save formats write the same package: the workbook's own format is the template's, a
// macro-enabled Open XML workbook, so a name ending in "xls" gets that content under the name
// the user chose.
class OoxmlWorkbookIO : public WorkbookIO {
public:
    std::unique_ptr<wb::Workbook> open(const std::string& path) override;
    void saveAs(wb::Workbook& book, const std::string& path, SaveFormat format) override;
};
