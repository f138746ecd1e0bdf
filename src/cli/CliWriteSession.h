#pragma once
// `write` on one or several ports: the radios are written at the same time,
// one transfer per port on a thread of its own; each radio gets a line, the
// session a summary, and the log file a line per radio. With `repeat` the
// session goes on, one round per line read from standard input.
#include <optional>
#include <string>
#include <vector>

#include "image/RadioImage.h"
#include "res/Failure.h"

struct WriteSessionOptions {
    std::vector<std::string> ports;
    bool force = false;
    int retries = 0;
    bool repeat = false;
    std::string logFile;  // none when empty
    bool backup = false;  // each radio is read and its copy kept before it is written
};

// Why lines cannot be added to the log file `path`: a place that cannot be
// written, or a file there that is not a write log (a radio data file given
// by mistake, say).
std::optional<Failure> CheckWriteLogFile(const std::string& path);

// The exit code: 0 when every radio was written.
int RunWriteSession(const RadioImage& image, const WriteSessionOptions& options);
