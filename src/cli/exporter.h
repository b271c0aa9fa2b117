#pragma once
// The files a run writes besides its output: the chart as an image or a
// vector drawing, and the design sheet. Writing them needs Qt, which the
// rest of the headless front end does without, so the run reaches them only
// through this interface; a build without Qt has no exporter.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "compare/comparison.h"
#include "design/design_file.h"
#include "form/fields.h"

namespace diaspring::cli {

// What the design sheet's title block says about the design: its
// metadata and its file's name (empty members are left out).
struct ReportHeading {
  std::string project, partNumber, designer, notes, fileName;
  // The release page: revision, the names and dates of 设计 (the designer),
  // 校核, 审核 and 批准, and the material's lines.
  std::string revision{};
  std::array<std::string, 4> signers{}, signDates{};
  std::vector<std::string> material{};
};
// The heading of a design's sheet: its metadata with the approval, and the
// lines of the material its inputs name.
ReportHeading reportHeadingOf(const DesignMetadata& about, const DesignInputs& inputs, const std::string& fileName);

class Exporter {
 public:
  virtual ~Exporter() = default;

  // The title block of the sheets written after this call.
  virtual void setReportHeading(const ReportHeading&) {}

  // Writes the chart to `path` in the format its extension names (.png at
  // `scale` times the window's size, .svg, .pdf). Returns why it could not,
  // on one line and without the file name; nothing on success.
  virtual std::optional<std::string> writeChart(const DisplayList& chart, const std::string& path, int scale) = 0;

  // Writes the design sheet of what the fields and the chart show as a PDF;
  // `inputsEdited`: the boxes no longer hold the inputs the fields show
  // (the sheet then says so at its top).
  virtual std::optional<std::string> writeReport(const Fields& fields, const DisplayList& chart,
                                                 const std::string& path, bool inputsEdited) = 0;
  // The same with a second page of the strength and release analysis; an
  // exporter that cannot draw it writes the one-page sheet.
  virtual std::optional<std::string> writeReportWithAnalysis(const Fields& fields, const DisplayList& chart,
                                                             const std::string& path, const AnalysisInput&,
                                                             bool inputsEdited) {
    return writeReport(fields, chart, path, inputsEdited);
  }
  // The sheet (with the analysis page when `analysis` is given) and, last,
  // the comparison page: the comparison, its results and what its chart
  // shows. An exporter that cannot draw that page writes the sheet without it.
  virtual std::optional<std::string> writeReportWithComparison(const Fields& fields, const DisplayList& chart,
                                                               const std::string& path, const AnalysisInput* analysis,
                                                               const compare::ComparisonInput&,
                                                               const compare::ComparisonResult&,
                                                               const compare::ComparisonScene&, bool inputsEdited) {
    return analysis ? writeReportWithAnalysis(fields, chart, path, *analysis, inputsEdited)
                    : writeReport(fields, chart, path, inputsEdited);
  }
};

}  // namespace diaspring::cli
