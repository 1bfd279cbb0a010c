#include "studies/candidate_value.hpp"

#include "direct/single_area.hpp"
#include "report/channel.hpp"

namespace adequacy::studies {

double equivalentFirmMw(WholeSystemIndices& without, double indexWith, StudyIndex index,
                        int candidateMw) {
    // Taking firm capacity off the system is adding load with the demand
    // kept: search over that, where the index rises, for where it crosses
    // the index with the candidate.
    auto indexAt = [&](double lessFirm) {
        return valueOf(without.at(LoadChange{}, -lessFirm), index);
    };
    if (indexAt(0.0) <= indexWith) return 0.0;  // the candidate adds nothing here
    const SearchRange range{0.0, static_cast<double>(candidateMw), -without.peakMw(), 0.0};
    const std::optional<double> lessFirm = largestMeeting(indexAt, indexWith, range);
    return lessFirm ? -*lessFirm : static_cast<double>(candidateMw);
}

std::optional<CandidateValue> valueOfCandidate(const CandidateUnits& candidate,
                                               const SystemWithout& without, const Target& target,
                                               LoadForm form) {
    const UnitTypes units = withCandidate(without.system, candidate);
    auto tables = std::make_unique<CapacityTables>();
    report::Channel console = report::consoleChannel();
    if (buildCapacityTables(units, *tables, console) != BuildOutcome::built) return std::nullopt;
    const auto study = studyCases(withVariables(without.system, candidate), units, *tables,
                                  maintenanceWith(without.system, candidate));
    // A scaled load grows from the system's own peak, with the candidate or
    // without, so that both carry loads of one measure.
    study->totalPeakMw = without.indices.peakMw();
    WholeSystemIndices with(*study);
    const int mw = installedMw(candidate);
    // Adding capacity never lowers the load carried, and adds at most its
    // own MW: one step from the load carried without it brackets the answer.
    SearchRange range = loadSearch(with.peakMw(), with.installedMw(), without.carriedMw);
    range.step = mw + 1.0;
    const std::optional<double> carried = carriedMw(with, target, form, range);
    if (!carried) return std::nullopt;
    const double indexWith = valueOf(with.at(LoadChange{form, 0.0}), target.index);
    return CandidateValue{candidate.source, mw, *carried - without.carriedMw,
                          equivalentFirmMw(without.indices, indexWith, target.index, mw)};
}

}  // namespace adequacy::studies
