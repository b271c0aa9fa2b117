#include "cli/compare_command.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/arg_reader.h"
#include "cli/cli_args.h"
#include "cli/exporter.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "runtime/utf8_text.h"
#include "design/design_file.h"
#include "form/extra_inputs.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring::cli {
namespace {

using namespace compare;

constexpr int kMaxSamples = 1000000;

using CompareArgs = CompareRequest;

std::string parseArgs(std::span<const std::string_view> args, CompareArgs& a, bool& help) {
  ArgReader reader(args);
  while (!reader.done()) {
    const std::string_view arg = reader.next();
    if (arg == "--help" || arg == "-h") {
      help = true;
      return {};
    }
    if (arg == "--json") {
      a.json = true;
      continue;
    }
    const bool takesValue = arg == "--design" || arg == "--set" || arg == "--measured" || arg == "--tolerance" ||
                            arg == "--samples" || arg == "--seed" || arg == "--chart" || arg == "--report" ||
                            arg == "--scale";
    if (!takesValue) return "unexpected argument " + quoteText(arg) + "; see compare --help";
    const std::optional<std::string_view> given = reader.value();
    if (!given) return std::string(arg) + " needs a value";
    const std::string_view value = *given;
    if (!isValidUtf8(value)) return std::string(arg) + ": the text is not valid UTF-8";
    std::string error;
    if (arg == "--design") a.designs.emplace_back(value);
    else if (arg == "--measured") a.measured.emplace_back(value);
    else if (arg == "--tolerance") a.tolerances.emplace_back(value);
    else if (arg == "--chart") a.chart = std::string(value);
    else if (arg == "--report") {
      const std::string ext = std::filesystem::path(value).extension().string();
      if (ext.size() != 4 || (ext[1] | 0x20) != 'p' || (ext[2] | 0x20) != 'd' || (ext[3] | 0x20) != 'f')
        return "--report " + quoteText(value) + ": the file name must end in .pdf";
      a.report = std::string(value);
    }
    else if (arg == "--samples") error = readWholeIn("--samples", value, 0, kMaxSamples, a.samples);
    else if (arg == "--scale") error = readWholeIn("--scale", value, kMinChartScale, kMaxChartScale, a.scale);
    else if (arg == "--seed")
      error = readWholeIn<std::uint64_t>("--seed", value, 0, UINT64_MAX, a.seed);
    else {
      const std::size_t eq = value.find('=');
      if (eq == std::string_view::npos) return "--set " + quoteText(value) + ": expected NAME=TEXT";
      a.sets.emplace_back(value.substr(0, eq), value.substr(eq + 1));
    }
    if (!error.empty()) return error;
  }
  if (a.designs.size() + a.measured.size() + (a.designs.empty() ? 1 : 0) > static_cast<std::size_t>(kMaxCompared))
    return "at most " + std::to_string(kMaxCompared) + " curves (designs and measurements) are compared at once";
  // The files a run writes are two files, and neither is one it reads.
  const NamedPath outputs[] = {{"--chart", a.chart}, {"--report", a.report}};
  if (std::string e = sameFileError(outputs); !e.empty()) return e;
  for (const auto& [option, inputs] : {std::pair{"--design", &a.designs}, std::pair{"--measured", &a.measured}})
    for (const std::string& in : *inputs) {
      const NamedPath overInput[] = {{option, in}, {"--chart", a.chart}, {"--report", a.report}};
      if (std::string e = sameFileError(overInput); !e.empty()) return e;
    }
  return {};
}

std::string setInput(DesignInputs& in, const std::string& name, const std::string& text) {
  if (extraInputOfName(name) != nullptr) {
    in.setExtra(name, text);
    return {};
  }
  auto box = boxOfNamedInput(name);
  if (!box) {
    box = textBoxFromName(name);
    if (box && inputBoxKey(*box).empty()) box.reset();
  }
  if (!box) return "--set: unknown input " + quoteText(name) + " (an input name such as h or HoverH, or Text4 ...)";
  in.setText(*box, text);
  return {};
}

std::string stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }

// A member [a, b].
void pair(JsonList& members, std::string_view k, double a, double b) {
  members.array(k, [&](JsonList& ends) {
    ends.nextNumber(a);
    ends.nextNumber(b);
  });
}
void stats(JsonList& members, std::string_view k, const Stats& s) {
  members.object(k, [&](JsonList& m) { m.numbers({{"min", s.min}, {"max", s.max}, {"mean", s.mean}, {"sigma", s.sigma}}); });
}

// A figure with the pattern's decimals; "—" when it is undefined, and in
// the exponent form ("1.5E+300") beyond 15 digits rather than as hundreds.
std::string shownNumber(double v, std::string_view pattern) {
  if (!std::isfinite(v)) return "—";
  return std::fabs(v) >= 1e15 ? generalText(Num(v)) : format(v, pattern);
}
std::string n0(double v) { return shownNumber(v, "0"); }
std::string n1(double v) { return shownNumber(v, "0.0"); }
std::string n4(double v) { return shownNumber(v, "0.0000"); }
// A share in per cent; "—" for the share of no springs.
std::string percent(double share) { return std::isfinite(share) ? n1(100 * share) + " %" : "—"; }

std::string renderText(const ComparisonInput& in, const ComparisonResult& r) {
  std::string out;
  for (std::size_t i = 0; i < in.designs.size(); ++i) {
    const DesignCurve& d = in.designs[i];
    out += d.name + (i == 0 && d.name != "current" ? " (current)" : "") + ":";
    if (!d.ok()) {
      out += " " + d.error + "\n";
      continue;
    }
    for (std::size_t k = 0; k < 6; ++k)
      out += std::string("  ") + kPointNames[k] + " " + n4(d.points[k].first) + " mm " + n0(d.points[k].second) + " N";
    out += "\n";
  }
  for (std::size_t i = 0; i < r.measured.size(); ++i) {
    const MeasuredComparison& m = r.measured[i];
    out += "measured " + in.measured[i].name + ": at B " + n0(m.atB.newton) + " N (" + n1(m.atB.percent) + " %), at A " +
           n0(m.atA.newton) + " N (" + n1(m.atA.percent) + " %), RMS " + n0(m.rms) + " N over " +
           std::to_string(m.overlap) + " points\n";
    if (m.fit.converged)
      out += "  calibration of the idealised law: h = " + n4(m.fit.h) + " ± " + n4(m.fit.hSigma) + " mm, H = " +
             n4(m.fit.H) + " ± " + n4(m.fit.HSigma) + " mm (H/h = " + n4(m.fit.H / m.fit.h) + "), RMS " +
             n0(m.fit.rms) + " N\n";
    else
      out += "  calibration of the idealised law refused: " + m.fit.why + "\n";
  }
  if (r.hasScatter) {
    const Tolerances& t = in.tolerances;
    out += "tolerances: h ±" + n4(t.h) + " mm, l0 ±" + n4(t.l0) + " mm, R ±" + n4(t.R) + " mm, r ±" + n4(t.r) +
           " mm, E ±" + n1(t.Epercent) + " %, clamp load ±" + n1(t.clampPercent) + " %\n";
    out += "              worst case          Monte Carlo (" + std::to_string(r.monteCarlo.samples) + " springs, seed " +
           std::to_string(r.monteCarlo.seed) + ")\n";
    out += "              min      max        min      max      mean     sigma\n";
    const auto row = [&](const char* name, const Range& w, const Stats& s) {
      std::string line = name;
      std::size_t width = line.size();  // in characters: "—" is one
      const auto col = [&](const std::string& v, std::size_t at) {
        const std::size_t pad = std::max<std::size_t>(1, at > width ? at - width : 1);
        line.append(pad, ' ');
        line += v;
        width += pad + (v == "—" ? 1 : v.size());
      };
      col(n0(w.min), 14), col(n0(w.max), 23), col(n0(s.min), 34), col(n0(s.max), 43), col(n0(s.mean), 52),
          col(n1(s.sigma), 61);
      out += line + " N\n";
    };
    row("F1B", r.worst.F1B, r.monteCarlo.F1B);
    row("F1A", r.worst.F1A, r.monteCarlo.F1A);
    row("F1C", r.worst.F1C, r.monteCarlo.F1C);
    row("F2max", r.worst.releaseForceMax, r.monteCarlo.releaseForceMax);
    out += "within the clamp-load tolerance at B: " + percent(r.monteCarlo.withinClampTolerance) +
           "; F1A >= F1B: " + percent(r.monteCarlo.F1AatLeastF1B) + "\n";
    out += "production yield: " + shareText(r.production.overall.value) + " of " +
           yieldBasisText(r.production, false) + "\n";
    const Sensitivity& s = r.sensitivity;
    out += "sensitivity of F1B: " + n0(s.h) + " N/mm (h), " + n0(s.H) + " N/mm (H), " + n0(s.R) + " N/mm (R), " +
           n0(s.r) + " N/mm (r), " + n4(s.E) + " N/MPa (E)\n";
  }
  return out;
}

}  // namespace

std::string impossibleToleranceMessage(const ToleranceLimit& limit, std::span<const std::string> given) {
  // The --tolerance texts that set the inputs at fault (the last of each name).
  const auto named = [&](std::string_view name) {
    for (auto it = given.rbegin(); it != given.rend(); ++it)
      if (std::string_view(*it).substr(0, it->find('=')) == name) return "--tolerance " + quoteText(*it);
    return "the default tolerance of " + std::string(name);
  };
  const std::string who = limit.input == "R, r"    ? named("R") + " and " + named("r")
                          : limit.input == "h, l0" ? named("h") + " and " + named("l0")
                                                   : named(limit.input);
  const bool modulus = limit.input == "E";
  return who + ": " + limit.what + " would reach " + shownNumber(limit.lowest, "0.00") + (modulus ? " MPa" : " mm") +
         " within the sampled range (the springs reach ±" + format(maxDeviate() / 3, "0.00") +
         " × the tolerance); every dimension of a spring must stay above 0, so give a smaller tolerance";
}

std::string parseTolerance(std::string_view arg, const DesignCurve& d, Tolerances& tol) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) return "--tolerance " + quoteText(arg) + ": expected NAME=VALUE";
  const std::string_view name = arg.substr(0, eq);
  std::string_view value = arg.substr(eq + 1);
  if (value.substr(0, 2) == "\xC2\xB1") value.remove_prefix(2);  // ±
  bool percent = false;
  if (!value.empty() && value.back() == '%') percent = true, value.remove_suffix(1);
  double v = NAN;
  try {
    if (isWholeNumber(value)) v = val(value).value();
  } catch (const Fault&) {
  }
  if (!std::isfinite(v) || v < 0)
    return "--tolerance " + std::string(name) + ": " + quoteText(arg.substr(eq + 1)) +
           " is not a tolerance (a number at least 0, in the input's unit or with %)";
  struct Target {
    const char* name;
    double* mm;       // an input in mm
    double* percent;  // an input kept in per cent
    double nominal;
  };
  const Target targets[] = {{"h", &tol.h, nullptr, d.g.h},          {"l0", &tol.l0, nullptr, d.g.h + d.g.H},
                            {"R", &tol.R, nullptr, d.g.R},          {"r", &tol.r, nullptr, d.g.r},
                            {"E", nullptr, &tol.Epercent, d.clutch.E}, {"F", nullptr, &tol.clampPercent, d.clutch.F}};
  for (const Target& t : targets) {
    if (name != t.name) continue;
    if (t.mm) *t.mm = percent ? v / 100 * std::fabs(t.nominal) : v;
    else *t.percent = percent ? v : 100 * v / std::fabs(t.nominal);
    return {};
  }
  if (name == "H")
    return "--tolerance H: the height is toleranced as the free height l0 = h + H, as the disc-spring standard "
           "gives it (a made spring's H is l0 - h); give l0=VALUE";
  return "--tolerance: unknown input " + quoteText(name) + "; the tolerances are h, l0 (the free height h + H), R, r "
         "(mm), E (MPa or %) and F (the clamp load, N or %)";
}

namespace {

// The members of a measured curve's comparison with the design.
void measuredMembers(JsonList& curve, std::string_view name, const MeasuredComparison& m) {
  curve.text("name", name);
  for (const auto& point : {std::pair{"deviationB", m.atB}, std::pair{"deviationA", m.atA}}) {
    const auto& dev = point.second;  // a named local: a lambda cannot capture a structured binding in clang 14
    curve.object(point.first, [&](JsonList& deviation) {
      deviation.numbers({{"N", dev.newton}, {"percent", dev.percent}});
    });
  }
  curve.number("rms", m.rms);
  curve.count("points", m.overlap);
  curve.object("fit", [&](JsonList& fit) {
    fit.numbers({{"h", m.fit.h}, {"H", m.fit.H}});
    fit.object("uncertainty", [&](JsonList& u) { u.numbers({{"h", m.fit.hSigma}, {"H", m.fit.HSigma}}); });
    fit.number("rms", m.fit.rms);
    fit.flag("converged", m.fit.converged);
    if (!m.fit.converged) fit.text("reason", m.fit.why);
    fit.text("law", "idealised");
  });
}

// The members of the tolerance study: its inputs, the worst case, the
// Monte Carlo run and the sensitivities.
void toleranceMembers(JsonList& tolerance, const Tolerances& t, const ComparisonResult& r) {
  tolerance.object("inputs", [&](JsonList& inputs) {
    inputs.numbers({{"h", t.h}, {"l0", t.l0}, {"R", t.R}, {"r", t.r}, {"Epercent", t.Epercent}, {"clampPercent", t.clampPercent}});
  });
  tolerance.object("worstCase", [&](JsonList& worst) {
    for (const auto& [k, range] : {std::pair{"F1B", &r.worst.F1B}, std::pair{"F1A", &r.worst.F1A},
                                   std::pair{"F1C", &r.worst.F1C}, std::pair{"releaseForceMax", &r.worst.releaseForceMax}})
      pair(worst, k, range->min, range->max);
  });
  tolerance.object("monteCarlo", [&](JsonList& monteCarlo) {
    monteCarlo.count("samples", r.monteCarlo.samples);
    monteCarlo.key("seed") += std::to_string(r.monteCarlo.seed);  // unsigned 64 bits
    for (const auto& [k, s] : {std::pair{"F1B", &r.monteCarlo.F1B}, std::pair{"F1A", &r.monteCarlo.F1A},
                               std::pair{"F1C", &r.monteCarlo.F1C}, std::pair{"releaseForceMax", &r.monteCarlo.releaseForceMax}})
      stats(monteCarlo, k, *s);
    monteCarlo.numbers({{"withinClampTolerance", r.monteCarlo.withinClampTolerance},
                        {"F1AatLeastF1B", r.monteCarlo.F1AatLeastF1B},
                        {"productionYield", r.production.overall.value}});
    monteCarlo.object("productionYieldBy", [&](JsonList& shares) {
      for (int k = 0; k < kRequirementCount; ++k)
        if (r.production.checked[static_cast<std::size_t>(k)])
          shares.number(requirementInfo(k).key, r.production.by[static_cast<std::size_t>(k)].value);
    });
    appendJsonProductionYield(monteCarlo.key("production"), r.production);
  });
  tolerance.object("sensitivity", [&](JsonList& sensitivity) {
    sensitivity.numbers({{"h", r.sensitivity.h}, {"H", r.sensitivity.H}, {"R", r.sensitivity.R},
                         {"r", r.sensitivity.r}, {"E", r.sensitivity.E}});
  });
}

}  // namespace

std::string renderCompareJson(const ComparisonInput& in, const ComparisonResult& r) {
  return jsonObject([&](JsonList& root) {
           root.array("curves", [&](JsonList& curves) {
             for (const DesignCurve& d : in.designs)
               curves.nextObject([&](JsonList& curve) {
                 curve.text("name", d.name);
                 if (!d.ok()) {
                   curve.text("error", d.error);
                   return;
                 }
                 curve.object("points", [&](JsonList& points) {
                   for (std::size_t k = 0; k < 6; ++k) pair(points, kPointNames[k], d.points[k].first, d.points[k].second);
                 });
               });
           });
           root.array("measured", [&](JsonList& measured) {
             for (std::size_t i = 0; i < r.measured.size(); ++i)
               measured.nextObject([&](JsonList& curve) { measuredMembers(curve, in.measured[i].name, r.measured[i]); });
           });
           if (r.hasScatter) root.object("tolerance", [&](JsonList& t) { toleranceMembers(t, in.tolerances, r); });
           else root.null("tolerance");
         }) +
         "\n";
}

Outcome runCompareCommand(std::span<const std::string_view> args, Exporter* exporter) {
  return runCompareCommand(args, exporter, CompareFiles{}).outcome;
}

CompareRun runCompareCommand(std::span<const std::string_view> args, Exporter* exporter, const CompareFiles& files) {
  CompareRun run;
  Outcome& o = run.outcome;
  CompareArgs a;
  bool help = false;
  if (std::string e = parseArgs(args, a, help); !e.empty()) {
    o.status = kExitUsage;
    o.err = "diaspring-cli compare: " + printable(e) + "\n";
    return run;
  }
  if (help) {
    o.out =
        "usage: diaspring-cli compare [--design FILE ...] [--set NAME=TEXT ...] [--measured FILE ...]\n"
        "                             [--tolerance NAME=VALUE ...] [--samples N] [--seed S]\n"
        "                             [--chart OUT.png|svg|pdf] [--scale N]\n"
        "                             [--report OUT.pdf] [--json]\n"
        "  The current design is the window's default, or the first --design, with the --set texts\n"
        "  typed over it; further --design files are drawn beside it (at most 8 curves in all).\n"
        "  --measured FILE   a measured curve: λ1 in mm and F1 in N, one pair a row (CSV or blanks),\n"
        "                    a loading branch and optionally an unloading branch; deviations at B and A,\n"
        "                    the RMS deviation and the calibration of h and H (the idealised law)\n"
        "  --tolerance N=V   ± V in the unit of input N (h, l0, R, r in mm; E in MPa; F in N) or in per\n"
        "                    cent with % (E=2%); l0 is the free height h + H (a made spring's H is\n"
        "                    l0 - h); F is the clamp-load tolerance (default 5 %); h, l0, R and r\n"
        "                    default to the disc-spring standard's tolerances (DIN EN 16983),\n"
        "                    E to 0 %; one that lets a sampled spring (nominal ± 2.86 × the tolerance)\n"
        "                    reach h, H, R, r, E or R1 - r1 of 0 or below is refused\n"
        "  --samples N       Monte Carlo springs (0 ... 1000000, default 10000); --seed S (default 19)\n"
        "  --chart FILE      the comparison chart with the scatter band\n"
        "  --report FILE.pdf the current design's sheet with the comparison as its last page\n";
    return run;
  }
  a.files = files;
  return runCompare(a, exporter);
}

CompareRun runCompare(const CompareRequest& a, Exporter* exporter) {
  CompareRun run;
  Outcome& o = run.outcome;
  const auto usage = [&](const std::string& message) {
    o.status = kExitUsage;
    o.err = "diaspring-cli compare: " + printable(message) + "\n";
    return run;
  };
  const auto readDesign = a.files.design ? a.files.design : readDesignFile;
  const auto readMeasured = a.files.measured ? a.files.measured : readMeasuredFile;
  if (!a.chart.empty() && !exporter) return usage("--chart needs the build with Qt");
  if (!a.report.empty() && !exporter) return usage("--report needs the build with Qt");

  DesignInputs current;
  DesignDocument currentDocument;  // its metadata heads the design sheet
  std::string currentName = "current";
  std::vector<DesignCurve> others;
  for (std::size_t i = 0; i < a.designs.size(); ++i) {
    const DesignRead read = readDesign(a.designs[i]);
    if (!read.ok()) {
      o.status = kExitFault;
      o.err = "diaspring-cli compare: " + printable(read.error->english()) + "\n";
      return run;
    }
    if (i == 0) {
      current = read.document->inputs;
      currentDocument = *read.document;
      currentName = stem(a.designs[i]);
    } else {
      others.push_back(designCurve(read.document->inputs, stem(a.designs[i])));
    }
  }
  for (const auto& [name, text] : a.sets)
    if (std::string e = setInput(current, name, text); !e.empty()) return usage(e);

  ComparisonInput in;
  in.designs.push_back(designCurve(current, currentName));
  for (DesignCurve& d : others) in.designs.push_back(std::move(d));
  for (const std::string& path : a.measured) {
    MeasuredRead read = readMeasured(path);
    if (!read.curve) {
      o.status = kExitFault;
      o.err = "diaspring-cli compare: cannot read measured curve: " + printable(read.error) + "\n";
      run.faultLine = read.line;
      return run;
    }
    in.measured.push_back(std::move(*read.curve));
  }
  const DesignCurve& nominal = in.designs.front();
  if (nominal.ok()) in.tolerances = defaultTolerances(nominal.g);
  for (const std::string& t : a.tolerances)
    if (std::string e = parseTolerance(t, nominal, in.tolerances); !e.empty()) return usage(e);
  if (nominal.ok())
    if (const auto limit = impossibleTolerance(nominal, in.tolerances)) return usage(impossibleToleranceMessage(*limit, a.tolerances));
  in.samples = a.samples;
  in.seed = a.seed;
  // A clamp-load tolerance given is the yield's band too; else the standard's.
  for (const std::string& t : a.tolerances)
    if (t.rfind("F=", 0) == 0) in.band = userLoadBand(in.tolerances.clampPercent);
  if (const ParamsResult params = analysisParams(current); params.error.empty()) in.strength = params.params;

  const ComparisonResult r = runComparison(in);
  o.out = a.json ? renderCompareJson(in, r) : renderText(in, r);
  for (const DesignCurve& d : in.designs)
    if (!d.ok()) {
      o.status = kExitFault;
      o.err += "diaspring-cli compare: " + printable(d.name + ": " + d.error) + "\n";
    }
  const ComparisonScene scene = sceneOf(in, r);
  if (!a.chart.empty() || !a.report.empty()) {
    // The chart draws what it can; what it leaves out is said, and the run fails.
    std::string missing;
    for (const std::string& name : undrawable(scene)) missing += (missing.empty() ? "" : ", ") + name;
    if (!missing.empty()) {
      o.status = kExitFault;
      o.err += "diaspring-cli compare: the chart leaves out the points of " + printable(missing) + " (not a number, or beyond ±" +
               generalText(Num(kMaxDrawn)) + ", more than a chart can draw)\n";
    }
  }
  if (!a.chart.empty()) {
    DisplayList chart;
    drawComparison(chart, scene);
    if (auto why = exporter->writeChart(chart, a.chart, a.scale)) {
      o.status = kExitFault;
      o.err += "diaspring-cli compare: " + printable("cannot write " + a.chart + ": " + *why) + "\n";
    }
  }
  if (!a.report.empty()) {
    // The current design's sheet as the window's curve and check leave it,
    // with the comparison as its last page.
    Session session;
    currentDocument.inputs = current;
    session.loadDesign(currentDocument);
    session.applyAll(defaultActions());
    const DesignMetadata& about = currentDocument.metadata;
    exporter->setReportHeading(reportHeadingOf(
        about, current, a.designs.empty() ? "" : std::filesystem::path(a.designs[0]).filename().string()));
    const std::optional<AnalysisInput> analysis = session.analysisInput();
    if (auto why = exporter->writeReportWithComparison(session.logic().lastRunFields(), session.chart(), a.report,
                                                       analysis ? &*analysis : nullptr, in, r, scene,
                                                       session.logic().inputsEditedSinceRun())) {
      o.status = kExitFault;
      o.err += "diaspring-cli compare: " + printable("cannot write " + a.report + ": " + *why) + "\n";
    }
  }
  return run;
}

}  // namespace diaspring::cli
