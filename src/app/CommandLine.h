#pragma once

#include <QString>
#include <QStringList>

// The tool's own arguments. The login profile decides everything else, so the only arguments
// are --help and --version; anything else is refused before any window or connection exists.
namespace CommandLine {

struct Outcome {
    bool run = true; // start the tool; otherwise print and end with status
    int status = 0;  // exit status when run is false
    QString output;  // text for standard output
    QString error;   // text for standard error
};

// Decides what the arguments (without the program name) ask for: none runs the tool; exactly
// "--help" or "--version" prints and ends with 0; anything else is refused with status 2.
Outcome Parse(const QStringList& arguments);

} // namespace CommandLine
