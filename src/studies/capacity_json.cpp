#include "studies/capacity_json.hpp"

#include "report/escaped_text.hpp"
#include "results/json.hpp"
#include "results/standard_error.hpp"

namespace adequacy::studies {
namespace {

using json = nlohmann::ordered_json;

json capability(const std::optional<CarryingCapability>& c, LoadForm form) {
    if (!c) return nullptr;
    json j = {{"added_mw", c->addedMw},
              {"peak_mw", c->peakMw},
              {"reserve_margin_percent", c->reserveMarginPercent},
              {"index_at_load", c->indexAtLoad}};
    if (form == LoadForm::scale) j["load_scale"] = c->loadScale;
    return j;
}

// Candidates are named by their file and their installed MW, resources by
// their name and their largest hour's output.
json valueList(const std::vector<CandidateValue>& values, const char* nameKey, const char* mwKey) {
    json list = json::array();
    for (const CandidateValue& v : values)
        list.push_back({{nameKey, report::asUtf8(v.file)},
                        {mwKey, v.installedMw},
                        {"elcc_mw", v.elccMw},
                        {"efc_mw", v.efcMw}});
    return list;
}

json curve(const std::vector<CurvePoint>& points) {
    json rows = json::array();
    for (const CurvePoint& p : points)
        rows.push_back({{"added_mw", p.addedMw},
                        {"lole", p.figures.lole},
                        {"lolh", p.figures.lolh},
                        {"mwh_eue", p.figures.mwhEue},
                        {"eue_ppm", p.figures.eueppm}});
    return rows;
}

json simulatedFigure(const std::optional<SimulatedFigure>& f) {
    if (!f) return nullptr;
    const results::Interval ci = results::confidence95(f->estimate, f->standardError);
    return {{"estimate", f->estimate},
            {"standard_error", f->standardError},
            {"ci95", {ci.low, ci.high}}};
}

// With --years: the simulated index at each load found, the simulated ELCCs.
void addSimulated(const CapacityResults& r, json& capacity) {
    if (!r.simulated) return;
    const SimulatedChecks& s = *r.simulated;
    capacity["simulation"] = {
        {"engine", "independent"}, {"years", s.request.years}, {"seed", s.request.seed}};
    if (capacity["whole_system"].is_object())
        capacity["whole_system"]["simulated"] = simulatedFigure(s.wholeSystem);
    if (capacity["area1"].is_object()) capacity["area1"]["simulated"] = simulatedFigure(s.area1);
    for (std::size_t c = 0; c < s.elccMw.size() && c < capacity["candidates"].size(); ++c) {
        json& entry = capacity["candidates"][c];
        entry["elcc_simulated_mw"] = s.elccMw[c] ? json(s.elccMw[c]->estimate) : json(nullptr);
        entry["standard_error"] = s.elccMw[c] ? json(s.elccMw[c]->standardError) : json(nullptr);
    }
}

json optionalNumber(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

}  // namespace

json capacityDocument(const CapacityResults& r) {
    json capacity = {
        {"target", {{"index", std::string(nameOf(r.target.index))}, {"value", r.target.value}}},
        {"form", r.form == LoadForm::add ? "add" : "scale"},
        {"whole_system", capability(r.wholeSystem, r.form)},
        {"area1", capability(r.area1, r.form)},
        {"area1_without_tie", capability(r.area1WithoutTie, r.form)},
        {"candidates", valueList(r.candidates, "file", "installed_mw")},
        {"tie_capacity_value_mw", optionalNumber(r.tieCapacityValueMw)},
        {"curve", curve(r.curve)}};
    if (!r.resources.empty()) capacity["resources"] = valueList(r.resources, "name", "peak_mw");
    addSimulated(r, capacity);
    return {{"program", results::programJson()},
            {"system", results::systemJson(r.system)},
            {"capacity", capacity}};
}

}  // namespace adequacy::studies
