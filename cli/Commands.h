// The modes of velmora-run, each from its options to its exit status, and
// what they share.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "Cli.h"
#include "CommandLine.h"

namespace Velmora::Cli {

inline constexpr const char* Program = "velmora-run";

int runOneSearch(const SearchOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
int runTestSuite(const SuiteOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
int runClassRuns(const ClassOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
int summariseCsv(const CsvSummaryOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
// The two kinds of csv summariseCsv reads, once it knows which the files hold.
int summariseClassCsv(const CsvSummaryOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
int summariseSuiteCsv(const CsvSummaryOptions& options, std::ostream& out, std::ostream& err, const Environment& env);
int listFormulas(const FormulaListing& listing, std::ostream& out, std::ostream& err, const Environment& env);

// The message of a bad argument; returns ExitBadInput.
int badInput(std::ostream& err, const std::string& message);
// Flushes out; false, with the message, when it could not be written.
bool outputWritten(std::ostream& out, std::ostream& err);
// The message of a picture that could not be written, if any; true when
// there was none.
bool pictureWritten(const std::optional<std::string>& failure, const char* option, std::ostream& err);

}  // namespace Velmora::Cli
