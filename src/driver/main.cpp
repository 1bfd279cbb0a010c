// adequacy: generating-capacity adequacy of a two-area power system.
#include <iostream>

#include "driver/capacity_run.hpp"
#include "driver/options.hpp"
#include "driver/output_clash.hpp"
#include "driver/program.hpp"
#include "driver/safeguards.hpp"
#include "driver/system_choice.hpp"
#include "driver/unattended_answers.hpp"
#include "results/merge.hpp"

int main(int argc, char** argv) {
    adequacy::installSafeguards();
    const adequacy::CommandLine line = adequacy::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exitStatus) return *line.exitStatus;
    if (line.merge)
        return adequacy::results::mergeResultsFiles(line.merge->inputs, line.merge->output,
                                                    std::cerr);
    if (line.options.capacity)
        return adequacy::runCapacityCommand(*line.options.capacity, std::cout, std::cerr);
    const std::optional<adequacy::StudySystem> system =
        adequacy::chooseStudySystem(line.options, std::cerr);
    if (!system) return adequacy::systemFileErrorStatus;
    if (const std::string fault = adequacy::unattendedAnswerFault(line.options, *system);
        !fault.empty()) {
        std::cerr << "adequacy: " << fault << '\n' << std::flush;
        return adequacy::usageErrorStatus;
    }
    if (const std::optional<std::string> clash = adequacy::outputClash(line.options, *system)) {
        std::cerr << "adequacy: " << *clash << '\n';
        return adequacy::usageErrorStatus;
    }
    return adequacy::runProgram(line.options, *system);
}
