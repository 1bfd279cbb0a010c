#include "results/merge.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "montecarlo/independent/run.hpp"
#include "montecarlo/independent/year_steps.hpp"
#include "montecarlo/year.hpp"
#include "report/channel.hpp"
#include "results/json.hpp"
#include "results/recorder.hpp"
#include "results/year_columns.hpp"
#include "system/file_text.hpp"

namespace adequacy::results {
namespace {

using json = nlohmann::ordered_json;
using independent::RunYears;

inline constexpr long maxResultsFileBytes = 1L << 32;

struct Part {
    std::string path;
    json document;
    RunYears years;
};

struct MergeFault {
    std::string line;
};

Part readPart(const std::string& path) {
    const system::FileText file = system::readFileText(path, maxResultsFileBytes);
    if (!file.problem.empty()) throw MergeFault{path + ": " + file.problem};
    Part part{path, json::parse(file.text, nullptr, false), {}};
    if (part.document.is_discarded()) throw MergeFault{path + ": not a results file (not JSON)"};
    const json& mc = part.document.value("monte_carlo", json());
    if (!mc.is_object() || mc.value("engine", "") != "independent" || !mc.contains("years"))
        throw MergeFault{path +
                         ": holds no years of the independent engine (--engine independent)"};
    if (std::string fault = readYearColumns(mc["years"], part.years); !fault.empty())
        throw MergeFault{path + ": " + fault};
    return part;
}

// The same system, loads, tie, answers and seed: the parts of one study.
void checkSameStudy(const Part& first, const Part& other) {
    for (const char* key : {"system", "single_area", "two_area"})
        if (first.document.value(key, json()) != other.document.value(key, json()))
            throw MergeFault{other.path + ": another study than " + first.path + " (its " + key +
                             " differs)"};
    if (first.document["monte_carlo"].value("seed", json()) !=
        other.document["monte_carlo"].value("seed", json()))
        throw MergeFault{other.path + ": another seed than " + first.path};
    const json& firstYears = first.document["monte_carlo"]["years"];
    const json& otherYears = other.document["monte_carlo"]["years"];
    if (firstYears.value("cases", json()) != otherYears.value("cases", json()))
        throw MergeFault{other.path + ": another study than " + first.path +
                         " (its weather years differ)"};
}

std::string yearRange(const Part& part) {
    return std::to_string(part.years.firstYear) + " to " +
           std::to_string(part.years.firstYear + part.years.yearCount() - 1);
}

void checkDisjoint(const std::vector<Part>& parts) {
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const Part& a = parts[i - 1];
        if (parts[i].years.firstYear < a.years.firstYear + a.years.yearCount())
            throw MergeFault{"years " + yearRange(parts[i]) + " of " + parts[i].path +
                             " overlap years " + yearRange(a) + " of " + a.path};
    }
}

// What the run's report read from the session: the tie's table as last
// tried and area 1's energy demand from its last solution.
struct StudyFigures {
    AtcTable atc{};
    float area1EnergyDemand = 0.0f;
};

StudyFigures studyFigures(const json& document) {
    StudyFigures figures;
    const json& entries = document.value("two_area", json::array());
    if (!entries.is_array() || entries.empty()) return figures;
    const json& rows = entries.back()["atc"];
    for (std::size_t r = 0; r < rows.size() && r < atcRows; ++r) {
        figures.atc.mw[r] = rows[r][0].get<float>();
        figures.atc.probability[r] = rows[r][1].get<float>();
    }
    for (const json& entry : entries)
        if (!entry.value("refused", true))
            figures.area1EnergyDemand = entry["area1"]["mwh_total"].get<float>();
    return figures;
}

void addMonthHour(const independent::ExactMonthHour& from, independent::ExactMonthHour& into) {
    for (std::size_t c = 0; c < from.lolHours.size(); ++c) {
        into.lolHours[c] += from.lolHours[c];
        into.unservedUnits[c] += from.unservedUnits[c];
    }
}

// Adds every year in order and reports where one run over them would.
json replay(const std::vector<Part>& parts) {
    std::size_t total = 0;
    for (const Part& part : parts) total += part.years.yearCount();
    const auto years = static_cast<int>(total);
    const StudyFigures study = studyFigures(parts.front().document);
    const UnitTypes noUnits;
    const auto noLoads = std::make_unique<HourlyLoads>();
    Recorder recorder;  // no path: the document is written whole at the end
    const auto seed = parts.front().document["monte_carlo"]["seed"].get<std::uint32_t>();
    recordSimulationStart(recorder, seed, years);
    recorder.results.monteCarlo->engine = "independent";
    recorder.results.monteCarlo->firstYear = parts.front().years.firstYear;
    SimulationContext context{
        noUnits, *noLoads, study.atc, 0.0f,      study.area1EnergyDemand,
        0.0f,    seed,     false,     &recorder, parts.front().years.firstYear};
    RunYears run =
        independent::runYears(parts.front().years.firstYear, years, parts.front().years.cases);
    for (const Part& part : parts) {
        addMonthHour(part.years.systemByMonthHour, run.systemByMonthHour);
        addMonthHour(part.years.area1ByMonthHour, run.area1ByMonthHour);
        for (std::size_t s = 0; s < run.stepTotals.size(); ++s) {
            addMonthHour(part.years.stepTotals[s].systemByMonthHour,
                         run.stepTotals[s].systemByMonthHour);
            addMonthHour(part.years.stepTotals[s].area1ByMonthHour,
                         run.stepTotals[s].area1ByMonthHour);
        }
    }
    ScratchFiles files = openScratchFiles();
    report::Channel console = report::captureChannel("merge");
    report::Channel reportFile = report::captureChannel("merge");
    SimulationState state{};
    long long reportPoint = minimumYears;
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    for (const Part& part : parts) {
        const std::span<const independent::YearFigures> all(part.years.years);
        for (std::size_t y = 0; y < part.years.yearCount(); ++y) {
            independent::addYear(all.subspan(y * steps, steps), run, state);
            append(files, yearRecords(state));
            if (state.yearCount < reportPoint && state.yearCount < years) continue;
            independent::reportYears(context, run, state, files, console, reportFile);
            console.captured.clear();
            reportFile.captured.clear();
            reportPoint *= 10;
        }
    }
    closeScratchFiles(files);
    return monteCarloJson(*recorder.results.monteCarlo);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

int mergeResultsFiles(const std::vector<std::string>& inputs, const std::string& output,
                      std::ostream& errors) {
    try {
        std::vector<Part> parts;
        for (const std::string& path : inputs) {
            if (sameFile(path, output))
                throw MergeFault{output + ": the merged file would replace " + path};
            parts.push_back(readPart(path));
        }
        for (const Part& part : parts) checkSameStudy(parts.front(), part);
        std::stable_sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
            return a.years.firstYear < b.years.firstYear;
        });
        checkDisjoint(parts);
        json document = parts.front().document;
        document["monte_carlo"] = replay(parts);
        writeJsonFile(output, document);
    } catch (const MergeFault& fault) {
        errors << "adequacy: merge: " << fault.line << '\n' << std::flush;
        return 2;
    }
    return 0;
}

}  // namespace adequacy::results
