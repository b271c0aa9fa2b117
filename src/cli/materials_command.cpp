#include "cli/materials_command.h"

#include <string>

#include "analysis/materials.h"
#include "cli/arg_reader.h"
#include "cli/json_writer.h"
#include "runtime/utf8_text.h"
#include "runtime/float_text.h"

namespace diaspring::cli {

Outcome runMaterialsCommand(std::span<const std::string_view> args) {
  bool json = false;
  for (ArgReader reader(args); !reader.done();) {
    const std::string_view arg = reader.next();
    if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      return {kExitOk,
              "Usage: diaspring-cli materials [--json]\n"
              "Lists the steels of the material library with the source of every number;\n"
              "a number no source gives is left empty (null in JSON). Choose one with\n"
              "--material NAME.\n",
              ""};
    } else {
      return usageError("materials: unknown argument " + quoteText(arg) + "; see materials --help");
    }
  }
  std::string out;
  if (json) {
    appendJsonObject(
        out,
        [](JsonList& members) {
          appendJsonLines(members.key("materials"), materials(),
                          [](std::string& line, const Material& m) { appendJsonMaterial(line, m); });
          members.text("limitsRule", kLimitsRule);
        },
        ",\n", ": ");
    out += '\n';
    return {kExitOk, out, ""};
  }
  for (const Material& m : materials()) {
    out += std::string(m.name) + " (" + m.standard + (*m.aliases != '\0' ? std::string(", also ") + m.aliases : "") + ")\n";
    for (const MaterialField& field : materialFields(m)) {
      std::string line = std::string("  ") + field.key;
      line.resize(18, ' ');
      if (!field.value->given()) {
        out += line + "empty: no source gives it\n";
        continue;
      }
      line += shortestText(field.value->value);
      if (std::string_view(field.unit) != "-") line += std::string(" ") + field.unit;
      line.append(line.size() - displayWidth(line) + 32 > line.size() ? line.size() - displayWidth(line) + 32 - line.size() : 1, ' ');
      out += line + field.value->source + "\n";
    }
    out += std::string("  note              ") + m.note + "\n";
  }
  out += std::string("Limits derived from Rm: ") + kLimitsRule + "\n";
  return {kExitOk, out, ""};
}

}  // namespace diaspring::cli
