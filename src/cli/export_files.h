#pragma once
// The headless front end's exporter: the chart and the design sheet written
// with Qt's painters. It starts a windowless Qt application the first time a
// file is written, so a run that writes none never starts Qt.

#include <memory>

#include "cli/exporter.h"

namespace diaspring::cli {

std::unique_ptr<Exporter> makeFileExporter();

}  // namespace diaspring::cli
