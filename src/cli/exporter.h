#pragma once
// The files a run writes besides its output: the chart as an image or a
// vector drawing, and the design sheet. Writing them needs Qt, which the
// rest of the headless front end does without, so the run reaches them only
// through this interface; a build without Qt has no exporter.

#include <optional>
#include <string>

#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "form/fields.h"

namespace diaspring::cli {

class Exporter {
 public:
  virtual ~Exporter() = default;

  // Writes the chart to `path` in the format its extension names (.png at
  // `scale` times the window's size, .svg, .pdf). Returns why it could not,
  // on one line and without the file name; nothing on success.
  virtual std::optional<std::string> writeChart(const DisplayList& chart, const std::string& path, int scale) = 0;

  // Writes the design sheet of what the fields and the chart show as a PDF.
  virtual std::optional<std::string> writeReport(const Fields& fields, const DisplayList& chart,
                                                 const std::string& path) = 0;
  // The same with a second page of the strength and release analysis; an
  // exporter that cannot draw it writes the one-page sheet.
  virtual std::optional<std::string> writeReportWithAnalysis(const Fields& fields, const DisplayList& chart,
                                                             const std::string& path, const AnalysisInput&) {
    return writeReport(fields, chart, path);
  }
};

}  // namespace diaspring::cli
