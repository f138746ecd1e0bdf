#pragma once
// A write that first reads what the radio holds, so that a copy is kept
// before anything is overwritten: the read and then the write, each a whole
// transfer on the same port. Nothing is written unless the read finished.
#include <functional>

#include "link/CloneEngine.h"

struct BackupWriteResult {
    CloneResult backup;  // the read; after it finished, its image is what the radio held
    CloneResult write;   // left Cancelled with no block sent when the backup did not finish
};

// `phase` is told 1 before the read and 2 before the write; `kept` gets the
// finished backup before the write starts.
BackupWriteResult WriteWithBackup(CloneEngine& engine, const std::string& port, const RadioImage& image,
                                  const std::function<void(int phase)>& phase,
                                  const std::function<void(const CloneResult& backup)>& kept);
