#include "cli/cli_run.h"

#include "cli/cli_args.h"
#include "cli/json_writer.h"
#include "cli/report.h"
#include "cli/session.h"

namespace diaspring::cli {

Outcome runCli(std::span<const std::string_view> args) {
  Outcome outcome;
  ParseResult parsed = parseArgs(args);
  if (!parsed.ok()) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: " + parsed.error + "\n";
    return outcome;
  }
  const Options& options = parsed.options;
  if (options.help) {
    outcome.out = usageText();
    return outcome;
  }

  Session session;
  session.applyAll(options.actions.empty() ? defaultActions() : options.actions);

  outcome.out = options.json ? renderJson(session.fields(), session.chart(), session.faults())
                             : renderReport(session.fields(), session.faults());
  outcome.status = session.faults().empty() ? kExitOk : kExitFault;
  return outcome;
}

}  // namespace diaspring::cli
