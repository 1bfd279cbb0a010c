#include "results/json.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "report/escaped_text.hpp"
#include "report/fatal.hpp"
#include "results/interrupts_held.hpp"
#include "results/standard_error.hpp"

#ifndef ADEQUACY_VERSION
#define ADEQUACY_VERSION "unknown"
#endif

namespace adequacy::results {

namespace {

using json = nlohmann::ordered_json;

json grid(const MonthHourGrid& cells) {
    json months = json::array();
    for (int month = 0; month < monthsPerYear; ++month) {
        json hours = json::array();
        for (int hour = 0; hour < hoursPerDay; ++hour)
            hours.push_back(cells[static_cast<std::size_t>(month * hoursPerDay + hour)]);
        months.push_back(std::move(hours));
    }
    return months;
}

json loadParameters(const std::optional<LoadParameters>& parameters) {
    if (!parameters) return nullptr;
    static constexpr std::array<const char*, 7> names{"D1", "D2", "D3", "D4", "D5", "D6", "D7"};
    json d = json::object();
    for (std::size_t i = 0; i < names.size(); ++i) d[names[i]] = parameters->d[i];
    return d;
}

json indices(const AnnualIndices& i) {
    return {{"lolh", i.lolh},       {"lole", i.lole},      {"allr", i.allr},
            {"alolp", i.alolp},     {"mwh_eue", i.mwhEue}, {"mwh_total", i.mwhTotal},
            {"eue_ppm", i.puEueppm}};
}

json singleArea(const Results& results) {
    json entries = json::array();
    for (const SingleAreaEntry& entry : results.singleArea) {
        json e = indices(entry.indices);
        e["load_parameters"] = loadParameters(entry.loadParameters);
        e["peak_mw"] = entry.peakMw;
        e["reserve_margin_percent"] = entry.reserveMarginPercent;
        entries.push_back(std::move(e));
    }
    // The month x hour figures belong to the solution in force, the last one.
    if (!entries.empty())
        entries.back()["by_month_hour"] = {{"lol_hours", grid(results.singleAreaLolHours)}};
    return entries;
}

json area(const AreaSolution& solution) {
    json a = indices(solution.indices);
    a["reserve_margin_percent"] = solution.reserveMarginPercent;
    return a;
}

json asSimulated(const std::optional<Area1AsSimulated>& a) {
    if (!a) return nullptr;
    return {{"lolh", a->lolh}, {"lole", a->lole}, {"mwh_eue", a->mwhEue}, {"eue_ppm", a->puEueppm}};
}

json twoArea(const std::vector<TwoAreaEntry>& entries) {
    json result = json::array();
    for (const TwoAreaEntry& entry : entries) {
        json rows = json::array();
        for (std::size_t r = 0; r < entry.atc.mw.size(); ++r)
            rows.push_back({entry.atc.mw[r], entry.atc.probability[r]});
        json e = {{"atc", rows}, {"refused", entry.refused}};
        if (!entry.refused) {
            e["area1"] = area(entry.area1);
            e["area0"] = area(entry.area0);
        }
        e["area1_as_simulated"] = asSimulated(entry.area1AsSimulated);
        result.push_back(std::move(e));
    }
    return result;
}

json simulated(const SimulatedIndex& index) {
    const Interval ci = confidence95(index.estimate, index.standardError);
    json sd = index.sdPercent ? json(*index.sdPercent) : json(nullptr);
    return {{"estimate", index.estimate},
            {"sd_percent", sd},
            {"standard_error", index.standardError},
            {"ci95", {ci.low, ci.high}}};
}

json simulatedArea(const SimulatedArea& area) {
    return {{"lolh", simulated(area[0])},
            {"lole", simulated(area[1])},
            {"alolp", simulated(area[2])},
            {"mwh_eue", simulated(area[3])}};
}

json tie(const std::vector<TieRow>& rows) {
    json result = json::array();
    for (const TieRow& row : rows) {
        json perYear = simulated(row.limitedPerYear);
        result.push_back({{"row", row.row},
                          {"mw", row.mw},
                          {"probability", row.probability},
                          {"limited_lol_hours", row.limitedLolHours},
                          {"sd_percent", perYear["sd_percent"]},
                          {"share_of_hours", row.shareOfHours},
                          {"limited_lol_hours_per_year",
                           {{"estimate", perYear["estimate"]},
                            {"standard_error", perYear["standard_error"]},
                            {"ci95", perYear["ci95"]}}}});
    }
    return result;
}

json report(const SimulationReport& r) {
    return {{"years", r.years},
            {"system", simulatedArea(r.system)},
            {"area1", simulatedArea(r.area1)},
            {"area1_eue_ppm", r.area1EueppM},
            {"tie", tie(r.tie)}};
}

json byMonthHour(const AreaByMonthHour& area) {
    return {{"lol_hours", grid(area.lolHours)}, {"unserved_mwh", grid(area.unservedMwh)}};
}

json convergenceValues(const ConvergenceValues& v) {
    return {{"lolh", {{"estimate", v.lolh}, {"standard_error", v.lolhStandardError}}},
            {"mwh_eue", {{"estimate", v.mwhEue}, {"standard_error", v.mwhEueStandardError}}}};
}

json monteCarlo(const std::optional<MonteCarloResults>& monteCarlo) {
    if (!monteCarlo) return nullptr;
    json reports = json::array();
    for (const SimulationReport& r : monteCarlo->reports) reports.push_back(report(r));
    json convergence = json::array();
    for (const ConvergencePoint& point : monteCarlo->convergence) {
        convergence.push_back({{"years", point.years},
                               {"system", convergenceValues(point.system)},
                               {"area1", convergenceValues(point.area1)}});
    }
    return {{"seed", monteCarlo->seed},
            {"years_requested", monteCarlo->yearsRequested},
            {"reports", reports},
            {"by_month_hour",
             {{"system", byMonthHour(monteCarlo->systemByMonthHour)},
              {"area1", byMonthHour(monteCarlo->area1ByMonthHour)}}},
            {"convergence", convergence}};
}

[[noreturn]] void cannotWrite(const std::string& path, const char* what) {
    report::fatalIoError("results file " + path, std::string(what) + ": " + std::strerror(errno));
}

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

json toJson(const Results& results) {
    const SystemInfo& system = results.system;
    return {{"program", {{"name", "adequacy"}, {"version", ADEQUACY_VERSION}}},
            {"system",
             {{"source", report::asUtf8(system.source)},
              {"units", system.units},
              {"capacity_mw",
               {{"total", system.totalCapacityMw},
                {"area1", system.area1CapacityMw},
                {"area0", system.area0CapacityMw}}}}},
            {"single_area", singleArea(results)},
            {"two_area", twoArea(results.twoArea)},
            {"monte_carlo", monteCarlo(results.monteCarlo)}};
}

void writeResultsFile(const std::string& path, const Results& results) {
    // Texts from outside come in escaped (asUtf8); should one ever slip
    // through, a replacement character is better than an abort.
    const std::string text =
        toJson(results).dump(1, ' ', false, json::error_handler_t::replace) + "\n";
    // Neither a half-written file nor a stray temporary one is left behind.
    const InterruptsHeld held;
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) cannotWrite(path, "cannot be created");
    // mkstemp creates the file for its owner only; a results file is as
    // readable as any other file the user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        cannotWrite(path, "cannot be written");
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        cannotWrite(path, "cannot be renamed into place");
    }
}

}  // namespace adequacy::results
