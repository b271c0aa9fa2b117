#include "cli/cli_run.h"

#include "analysis/materials.h"

#include <algorithm>

#include <exception>
#include <optional>

#include "cli/cli_args.h"
#include "cli/exporter.h"
#include "cli/json_writer.h"
#include "cli/report.h"
#include "cli/analysis_report.h"
#include "cli/session.h"
#include "runtime/utf8_text.h"
#include "compare/production_yield.h"
#include "design/design_file.h"

namespace diaspring::cli {

ReportHeading reportHeadingOf(const DesignMetadata& about, const DesignInputs& inputs, const std::string& fileName) {
  ReportHeading heading{about.project, about.partNumber, about.designer, about.notes, fileName};
  const DesignApproval& a = about.approval;
  heading.revision = a.revision;
  heading.signers = {about.designer, a.checker, a.reviewer, a.approver};
  heading.signDates = {a.designDate, a.checkDate, a.reviewDate, a.approveDate};
  heading.material = materialSheetLines(designMaterial(inputs), &inputs);
  return heading;
}
namespace {

// Runs one write; an exception from it is a failure like any other, so the
// run's output survives it.
template <class Write>
std::optional<std::string> guarded(Write&& write) {
  try {
    return write();
  } catch (const std::exception& e) {
    return std::string("internal error: ") + e.what();
  }
}

// The material chosen on the command line, as the window's choice: E and μ
// typed into their boxes, then the analysis inputs; --set of the same names
// still has the last word.
void chooseMaterial(Session& session, const Options& options) {
  if (const Material* m = options.ownMaterial ? nullptr : materialOfName(options.material)) {
    const MaterialTexts texts = materialTexts(*m);
    std::vector<Action> typing;
    for (const auto& [box, text] : texts.boxes) typing.emplace_back(SetText{box, text});
    session.applyAll(typing);
    for (const auto& [name, text] : texts.extras) session.setExtra(name, text);
  } else {
    session.setExtra(kMaterialKey, options.material);
  }
}

// --yield: the production yield of the last curve run's design added to
// the report `out` (or to its JSON object).
void addProductionYield(const Session& session, bool json, std::string& out) {
  // The design of the last curve run, with the analysis inputs of now.
  DesignInputs run = DesignInputs::fromFields(session.logic().lastRunFields());
  for (const auto& [name, text] : session.inputs().extras()) run.setExtra(name, text);
  const auto y = compare::defaultProductionYield(run, compare::kDefaultSamples, compare::kDefaultSeed);
  if (json) {
    // Inside the object, before its closing brace and line end.
    std::string member = ", \"production\": ";
    if (y) appendJsonProductionYield(member, *y);
    else member += "null";
    out.insert(out.size() - 2, member);
  } else {
    out += "\nProduction yield\n";
    if (!y) {
      out += "  not computed: the last curve run has no working point\n";
    } else {
      out += "  " + compare::yieldBasisText(*y, false) + "\n";
      for (const compare::YieldRow& row : compare::yieldRows(*y, false)) {
        std::string line = "  " + row.requirement;
        line.resize(std::max<std::size_t>(line.size() + 1, 46), ' ');
        std::string share = row.share;
        if (share.size() < 9) share.insert(0, 9 - share.size(), ' ');
        out += line + share + "   (" + row.interval + ")\n";
      }
    }
  }
}

// The files the options name, written after the actions; false when one
// could not be written (said in `err`).
bool writeFiles(const Session& session, const Options& options, Exporter* exporter, std::string& err) {
  bool allWritten = true;
  auto report = [&](const std::string& path, const std::optional<std::string>& failure) {
    if (!failure) return;
    err += "diaspring-cli: cannot write '" + printable(path) + "': " + printable(*failure) + "\n";
    allWritten = false;
  };
  if (!options.chartPath.empty()) {
    report(options.chartPath,
           guarded([&] { return exporter->writeChart(session.chart(), options.chartPath, options.chartScale); }));
  }
  if (!options.reportPath.empty()) {
    // The sheet of the last run, with a warning when the boxes were edited since.
    const MemoryFields run = session.logic().lastRunFields();
    const bool edited = session.logic().inputsEditedSinceRun();
    const DesignMetadata& about = session.design().metadata;
    const std::string designName = options.designPath.substr(options.designPath.find_last_of('/') + 1);
    exporter->setReportHeading(reportHeadingOf(about, session.inputs(), options.designPath.empty() ? "" : designName));
    report(options.reportPath, guarded([&] {
             const std::optional<AnalysisInput> input = session.analysisInput();
             return input ? exporter->writeReportWithAnalysis(run, session.chart(), options.reportPath, *input, edited)
                          : exporter->writeReport(run, session.chart(), options.reportPath, edited);
           }));
  }
  if (!options.savePath.empty()) {
    DesignDocument design = session.design();
    if (const auto failure = writeDesignFile(options.savePath, design)) {
      err += "diaspring-cli: " + printable(failure->english()) + "\n";
      allWritten = false;
    }
  }
  return allWritten;
}

}  // namespace

Outcome usageError(std::string_view what) { return {kExitUsage, "", "diaspring-cli: " + printable(what) + "\n"}; }

Outcome runCli(std::span<const std::string_view> args, Exporter* exporter) {
  Outcome outcome;
  ParseResult parsed = parseArgs(args);
  if (parsed.ok() && exporter == nullptr && !parsed.options.help && !parsed.options.version) {
    const char* option = !parsed.options.chartPath.empty()    ? "--chart"
                         : !parsed.options.reportPath.empty() ? "--report"
                                                              : nullptr;
    if (option != nullptr)
      parsed.error = std::string(option) + ": this build cannot write files (it was built without Qt)";
  }
  if (!parsed.ok()) return usageError(parsed.error);
  const Options& options = parsed.options;
  if (options.help) {
    outcome.out = usageText();
    return outcome;
  }
  if (options.version) {
    outcome.out = versionText();
    return outcome;
  }

  for (const std::string& warning : parsed.warnings) outcome.err += "diaspring-cli: warning: " + warning + "\n";

  Session session;
  if (!options.designPath.empty()) {
    // A design that cannot be read stops the run: nothing runs on a design
    // the user did not ask for, and nothing is written.
    const DesignRead read = readDesignFile(options.designPath);
    if (!read.ok()) {
      outcome.status = kExitFault;
      outcome.err = "diaspring-cli: " + printable(read.error->english()) + "\n";
      return outcome;
    }
    session.loadDesign(*read.document);
  }
  if (!options.material.empty()) chooseMaterial(session, options);
  for (const auto& [name, text] : options.extras) session.setExtra(name, text);
  // Without a press, the curve and the check run after the other actions:
  // `--set h=5` asks what that design does, not for an empty report.
  session.applyAll(options.actions);
  const bool pressed = std::any_of(options.actions.begin(), options.actions.end(),
                                   [](const Action& action) { return std::holds_alternative<Press>(action); });
  if (!pressed) session.applyAll(defaultActions());

  const std::optional<SpringAnalysis> analysis = session.analysis();
  const AnalysisParams params = analysisParams(session.inputs()).params;
  const DesignMaterial material = designMaterial(session.inputs());
  outcome.out = options.json ? renderJson(session.fields(), session.chart(), session.faults(),
                                          analysis ? &*analysis : nullptr, params, &material)
                             : renderReport(session.fields(), session.faults()) +
                                   (analysis ? "\n" + renderAnalysisReport(*analysis, params) : std::string());
  if (options.yield) addProductionYield(session, options.json, outcome.out);
  const bool allWritten = writeFiles(session, options, exporter, outcome.err);
  outcome.status = session.faults().empty() && allWritten ? kExitOk : kExitFault;
  return outcome;
}

}  // namespace diaspring::cli
