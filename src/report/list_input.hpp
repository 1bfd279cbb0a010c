#pragma once
// Free-format (list) input from a text held in memory: values separated by
// commas or blanks; a null value (nothing between two commas) leaves its item
// unchanged; a slash ends the list; r*value repeats a value, r* a null.

#include <span>
#include <string_view>

namespace adequacy::report {

enum class ListOutcome {
    complete,         // every item received a value or a null
    slash,            // a slash ended the list; the rest keep their values
    conversionError,  // text that is not a number of the item's kind
    endOfInput,       // the text ended before the last item
};

// Each item takes its value as soon as it is read.
ListOutcome readReals(std::string_view text, std::span<float* const> items);

// How many items the text gives before a slash or its end, repeat counts
// included; a read of more items than that meets the end of the text, and
// items beyond a read's last one are never taken.
long long countListItems(std::string_view text);

// True when every character is a blank (tabs and others do not count).
bool isBlank(std::string_view text);

}  // namespace adequacy::report
