#pragma once

#include "reports/export_frame.h"

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

// The command-line front end: the score import and the three reports without the window, through
// the same code.
namespace batch {

struct ReportRequest {
    reports::ReportKind kind = reports::ReportKind::Class;
    std::string file;
    std::string classCodes; // student report: school, grade and class codes, "SSGGCC"
};

struct BatchOptions {
    bool help = false;
    std::string scores;
    std::string database = "Data.mdb";
    reports::ParticipationInput participation; // --percent 100 unless told otherwise
    std::vector<ReportRequest> reports;        // in the order given
};

// A command line that cannot be understood; its text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments (without the program name). Throws UsageError.
BatchOptions parseOptions(const std::vector<std::string>& arguments);

// The help text, in Chinese and English.
std::string helpText();

// Runs the command: exit status 0 when everything was done, 1 after a refusal or error (its text on
// `err`), 2 for a command line that cannot be understood (with the usage on `err`). Success
// messages go to `out`; with `progressBar` a text progress bar is drawn on `err`.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, bool progressBar);

} // namespace batch
