#include "results/year_columns.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

#include "results/case_columns.hpp"

namespace adequacy::results {
namespace {

using json = nlohmann::ordered_json;
using independent::AreaYearFigures;
using independent::ExactMonthHour;
using independent::RunYears;
using independent::YearFigures;

// A column as text: the values in year order, separated by commas, a run
// of r equal values v written r*v (mostly 0 for years without a shortfall).
std::string encodeColumn(const std::vector<std::int64_t>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t run = 1;
        while (i + run < values.size() && values[i + run] == values[i]) ++run;
        if (!text.empty()) text.push_back(',');
        if (run > 1) text.append(std::to_string(run)).push_back('*');
        text.append(std::to_string(values[i]));
        i += run;
    }
    return text;
}

bool parseWhole(std::string_view text, std::int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// Empty when the text is no column of `years` values.
std::vector<std::int64_t> decodeColumn(const json& column, std::size_t years) {
    if (!column.is_string()) return {};
    const std::string& text = column.get_ref<const std::string&>();
    std::vector<std::int64_t> values;
    values.reserve(years);
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item(text.data() + start, comma - start);
        const std::size_t star = item.find('*');
        std::int64_t run = 1;
        std::int64_t value = 0;
        if (star != std::string_view::npos && (!parseWhole(item.substr(0, star), run) || run < 1))
            return {};
        if (!parseWhole(item.substr(star == std::string_view::npos ? 0 : star + 1), value))
            return {};
        if (static_cast<std::size_t>(run) > years - values.size()) return {};
        values.insert(values.end(), static_cast<std::size_t>(run), value);
        start = comma + 1;
    }
    if (values.size() != years) return {};
    return values;
}

// The fields of an area's year, as columns.
struct AreaField {
    const char* name;
    std::uint16_t AreaYearFigures::*field;
};
constexpr AreaField areaFields[] = {{"lol_hours", &AreaYearFigures::lolHours},
                                    {"lol_days", &AreaYearFigures::lolDays},
                                    {"peak_hour_days", &AreaYearFigures::peakHourDays},
                                    {"events", &AreaYearFigures::events}};

json areaColumns(const RunYears& run, AreaYearFigures YearFigures::*side,
                 const ExactMonthHour& byMonthHour) {
    json area = json::object();
    std::vector<std::int64_t> column(run.years.size());
    for (const AreaField& f : areaFields) {
        for (std::size_t y = 0; y < column.size(); ++y) column[y] = (run.years[y].*side).*(f.field);
        area[f.name] = encodeColumn(column);
    }
    for (std::size_t y = 0; y < column.size(); ++y) column[y] = (run.years[y].*side).unservedUnits;
    area["unserved_units"] = encodeColumn(column);
    json cells = json::array();
    json cellUnits = json::array();
    for (std::size_t c = 0; c < byMonthHour.lolHours.size(); ++c) {
        cells.push_back(byMonthHour.lolHours[c]);
        cellUnits.push_back(independent::toDecimal(byMonthHour.unservedUnits[c]));
    }
    area["month_hour_lol_hours"] = std::move(cells);
    area["month_hour_unserved_units"] = std::move(cellUnits);
    return area;
}

// Rows the tie never entered are left out.
json tieColumns(const RunYears& run) {
    json rows = json::array();
    for (std::size_t row = 0; row < atcTieStates; ++row) {
        bool entered = false;
        for (const YearFigures& year : run.years) entered = entered || year.tieHours[row] > 0;
        if (!entered) continue;
        std::vector<std::int64_t> hours;
        std::vector<std::int64_t> limited;
        for (const YearFigures& year : run.years) {
            hours.push_back(year.tieHours[row]);
            limited.push_back(year.tieLimitedHours[row]);
        }
        rows.push_back({{"row", row + 1},
                        {"hours", encodeColumn(hours)},
                        {"limited_lol_hours", encodeColumn(limited)}});
    }
    return rows;
}

template <typename Value>
bool readColumn(const json& column, std::size_t years, Value YearFigures::*base,
                std::vector<YearFigures>& into, auto&& store) {
    const std::vector<std::int64_t> values = decodeColumn(column, years);
    if (values.size() != years) return false;
    for (std::size_t y = 0; y < years; ++y)
        if (!store(into[y].*base, values[y])) return false;
    return true;
}

bool fitsU16(std::int64_t v, std::uint16_t& into) {
    if (v < 0 || v > std::numeric_limits<std::uint16_t>::max()) return false;
    into = static_cast<std::uint16_t>(v);
    return true;
}

std::string readArea(const json& area, std::size_t years, AreaYearFigures YearFigures::*side,
                     std::vector<YearFigures>& into, ExactMonthHour& byMonthHour) {
    if (!area.is_object()) return "an area's columns are missing";
    for (const AreaField& f : areaFields) {
        if (!area.contains(f.name) ||
            !readColumn(area[f.name], years, side, into, [&](AreaYearFigures& a, std::int64_t v) {
                return fitsU16(v, a.*(f.field));
            }))
            return std::string("column ") + f.name + " does not hold the years";
    }
    if (!area.contains("unserved_units") || !readColumn(area["unserved_units"], years, side, into,
                                                        [](AreaYearFigures& a, std::int64_t v) {
                                                            a.unservedUnits = v;
                                                            return v >= 0;
                                                        }))
        return "column unserved_units does not hold the years";
    const json& cells = area.value("month_hour_lol_hours", json());
    const json& units = area.value("month_hour_unserved_units", json());
    if (!cells.is_array() || !units.is_array() || cells.size() != monthHourCells ||
        units.size() != monthHourCells)
        return "the month x hour sums are missing";
    for (std::size_t c = 0; c < monthHourCells; ++c) {
        if (!cells[c].is_number_integer() || !units[c].is_string() ||
            !independent::fromDecimal(units[c].get<std::string>(), byMonthHour.unservedUnits[c]))
            return "the month x hour sums are not whole numbers";
        byMonthHour.lolHours[c] = cells[c].get<std::int64_t>();
    }
    return "";
}

std::string readTie(const json& rows, std::size_t years, std::vector<YearFigures>& into) {
    if (!rows.is_array()) return "the tie's columns are missing";
    for (const json& row : rows) {
        const int r = row.value("row", 0);
        if (r < 1 || r > atcTieStates) return "a tie row is out of range";
        const auto i = static_cast<std::size_t>(r - 1);
        const std::vector<std::int64_t> hours = decodeColumn(row.value("hours", json()), years);
        const std::vector<std::int64_t> limited =
            decodeColumn(row.value("limited_lol_hours", json()), years);
        if (hours.size() != years || limited.size() != years)
            return "a tie row's columns do not hold the years";
        for (std::size_t y = 0; y < years; ++y) {
            if (!fitsU16(hours[y], into[y].tieHours[i]) ||
                !fitsU16(limited[y], into[y].tieLimitedHours[i]))
                return "a tie row's columns are not whole numbers of hours";
        }
    }
    return "";
}

// Every step's columns as a run of a single step, the years put back
// together step by step, each step's month x hour sums its own.
std::string readStepColumns(const json& columns, RunYears& run) {
    const json& steps = columns["steps"];
    if (!steps.is_array() || steps.size() < 2 || steps.size() > maxForecastSteps)
        return "the forecast steps' columns are missing";
    run.firstYear = columns["first_year"].get<std::uint64_t>();
    const auto years = columns["count"].get<std::size_t>();
    run.years.assign(years * steps.size(), YearFigures{});
    run.stepTotals.assign(steps.size(), independent::StepTotals{});
    for (std::size_t s = 0; s < steps.size(); ++s) {
        json step = steps[s];
        if (!step.is_object()) return "a forecast step's columns are missing";
        step["first_year"] = run.firstYear;
        step["count"] = years;
        RunYears one;
        if (std::string fault = readYearColumns(step, one); !fault.empty())
            return "forecast step " + std::to_string(s + 1) + ": " + fault;
        for (std::size_t y = 0; y < years; ++y) run.years[y * steps.size() + s] = one.years[y];
        run.stepTotals[s].systemByMonthHour = one.systemByMonthHour;
        run.stepTotals[s].area1ByMonthHour = one.area1ByMonthHour;
    }
    return readCaseColumns(columns, run);
}

}  // namespace

json yearColumns(const RunYears& run) {
    if (run.cases.stepCount() > 1) {
        // Every step's years as columns of their own.
        json steps = json::array();
        for (std::size_t s = 0; s < run.stepTotals.size(); ++s) {
            json step = yearColumns(stepYears(run, s));
            step.erase("first_year");
            step.erase("count");
            steps.push_back(std::move(step));
        }
        json columns = {
            {"first_year", run.firstYear}, {"count", run.yearCount()}, {"steps", steps}};
        addCaseColumns(run, columns);
        return columns;
    }
    json columns = {{"first_year", run.firstYear},
                    {"count", run.years.size()},
                    {"system", areaColumns(run, &YearFigures::system, run.systemByMonthHour)},
                    {"area1", areaColumns(run, &YearFigures::area1, run.area1ByMonthHour)},
                    {"tie", tieColumns(run)}};
    if (run.cases.varying()) addCaseColumns(run, columns);
    return columns;
}

std::string readYearColumns(const json& columns, RunYears& run) {
    if (!columns.is_object() || !columns.value("first_year", json()).is_number_unsigned() ||
        !columns.value("count", json()).is_number_unsigned())
        return "no years of the independent engine";
    if (columns.contains("steps")) return readStepColumns(columns, run);
    run.firstYear = columns["first_year"].get<std::uint64_t>();
    const auto years = columns["count"].get<std::size_t>();
    if (run.firstYear < 1) return "the first year is below 1";
    run.years.assign(years, YearFigures{});
    for (const auto& [name, side, byMonthHour] :
         {std::tuple{"system", &YearFigures::system, &run.systemByMonthHour},
          std::tuple{"area1", &YearFigures::area1, &run.area1ByMonthHour}}) {
        if (std::string fault =
                readArea(columns.value(name, json()), years, side, run.years, *byMonthHour);
            !fault.empty())
            return std::string(name) + ": " + fault;
    }
    if (std::string fault = readTie(columns.value("tie", json()), years, run.years); !fault.empty())
        return fault;
    return readCaseColumns(columns, run);
}

}  // namespace adequacy::results
