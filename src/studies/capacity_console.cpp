#include "studies/capacity_console.hpp"

#include <cstdarg>
#include <cstdio>

namespace adequacy::studies {
namespace {

void line(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void line(std::string& out, const char* format, ...) {
    char text[512];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    out.append(text).append("\n");
}

void heading(std::string& out, const CapacityResults& r) {
    const bool builtIn = r.system.source == "built-in";
    line(out, "Capacity study of %s%s: %d units, %d MW installed, %d MW of them in area 1",
         builtIn ? "the built-in system" : "", builtIn ? "" : r.system.source.c_str(),
         r.system.units, r.system.totalCapacityMw, r.system.area1CapacityMw);
    line(out, "Target: %s %g %s%s", std::string(titleOf(r.target.index)).c_str(), r.target.value,
         std::string(unitOf(r.target.index)).c_str(),
         r.target.index == StudyIndex::lole ? ", at each day's peak hour" : "");
    line(out, "%s",
         r.form == LoadForm::add
             ? "Load added: the same MW to every hour's load"
             : "Load added: every hour's load scaled by the same factor (MW: the peak's growth)");
}

void capabilityRow(std::string& out, const char* what, const std::optional<CarryingCapability>& c,
                   LoadForm form) {
    if (!c) {
        line(out,
             "  %-24s not found: the target is out of reach, or the simulated tie cannot "
             "run on the ATC table",
             what);
        return;
    }
    char scale[32] = "";
    if (form == LoadForm::scale) std::snprintf(scale, sizeof scale, " %12.6f", c->loadScale);
    line(out, "  %-24s %+10.1f %10.1f %13.2f %%%s", what, c->addedMw, c->peakMw,
         c->reserveMarginPercent, scale);
}

void capabilities(std::string& out, const CapacityResults& r) {
    line(out, "\nLoad carried at the target    added MW    peak MW  reserve margin%s",
         r.form == LoadForm::scale ? "   load scale" : "");
    capabilityRow(out, "whole system", r.wholeSystem, r.form);
    capabilityRow(out, "area 1, with the tie", r.area1, r.form);
    capabilityRow(out, "area 1, without the tie", r.area1WithoutTie, r.form);
    if (r.tieCapacityValueMw)
        line(out, "The tie's capacity value for area 1: %.1f MW", *r.tieCapacityValueMw);
}

void valueRows(std::string& out, const char* heading, const char* row,
               const std::vector<CandidateValue>& values) {
    if (values.empty()) return;
    line(out, "%s", heading);
    for (const CandidateValue& c : values)
        line(out, row, c.installedMw, c.elccMw, c.efcMw, c.file.c_str());
}

void checkRow(std::string& out, const char* what, const std::optional<SimulatedFigure>& f,
              const std::optional<CarryingCapability>& direct) {
    if (!f || !direct) return;
    line(out, "  %-24s %12.6f %12.6f  %.6f to %.6f", what, direct->indexAtLoad, f->estimate,
         f->estimate - 1.96 * f->standardError, f->estimate + 1.96 * f->standardError);
}

// The study against simulated years of the independent engine.
void simulated(std::string& out, const CapacityResults& r) {
    if (!r.simulated) return;
    const SimulatedChecks& s = *r.simulated;
    line(out, "\nSimulated check, %d independent years (seed %u): %s at the load found",
         s.request.years, s.request.seed, std::string(titleOf(r.target.index)).c_str());
    line(out, "                                 direct    simulated  95 %% interval");
    checkRow(out, "whole system", s.wholeSystem, r.wholeSystem);
    checkRow(out, "area 1, with the tie", s.area1, r.area1);
    for (std::size_t c = 0; c < s.elccMw.size() && c < r.candidates.size(); ++c) {
        if (!s.elccMw[c]) {
            line(out, "  ELCC simulated  %s: not found within the loads simulated",
                 r.candidates[c].file.c_str());
            continue;
        }
        line(out, "  ELCC simulated  %10.1f MW +- %.1f (standard error)  %s", s.elccMw[c]->estimate,
             s.elccMw[c]->standardError, r.candidates[c].file.c_str());
    }
}

// Every tenth point of the curve, the load carried among them.
void curve(std::string& out, const CapacityResults& r) {
    line(out, "\nReliability curve of the whole system (%zu points in the results file)",
         r.curve.size());
    line(out, "    added MW       LOLE       LOLH      MWHEUE");
    for (std::size_t i = 0; i < r.curve.size(); i += 10) {
        const CurvePoint& p = r.curve[i];
        line(out, "  %+10.1f %10.6f %10.6f %11.3f%s", p.addedMw, p.figures.lole, p.figures.lolh,
             p.figures.mwhEue, i == r.curve.size() / 2 ? "   <- target" : "");
    }
}

}  // namespace

std::string capacitySummary(const CapacityResults& r) {
    std::string out;
    heading(out, r);
    capabilities(out, r);
    valueRows(out, "\nCandidate units       MW    ELCC MW     EFC MW  file",
              "                 %6d %10.1f %10.1f  %s", r.candidates);
    valueRows(out, "\nVariable resources    peak MW    ELCC MW     EFC MW  name",
              "                   %8d %10.1f %10.1f  %s", r.resources);
    curve(out, r);
    simulated(out, r);
    line(out, "\nProcessor time: %.3f s", static_cast<double>(r.seconds));
    return out;
}

}  // namespace adequacy::studies
