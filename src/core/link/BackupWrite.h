#pragma once
// A write that first reads what the radio holds, so that a copy is kept
// before anything is overwritten: the read and then the write, each a whole
// transfer on the same port. Nothing is written unless the read finished and
// its copy was kept.
#include <functional>

#include "link/CloneEngine.h"

struct BackupWriteResult {
    CloneResult backup;  // the read; after it finished, its image is what the radio held
    bool kept = false;   // the finished backup's copy was kept
    CloneResult write;   // left Cancelled with no block sent when the backup did not finish or was not kept
};

// `phase` is told 1 before the read and 2 before the write; `keep` gets the
// finished backup before the write starts and says whether it kept it.
BackupWriteResult WriteWithBackup(CloneEngine& engine, const std::string& port, const RadioImage& image,
                                  const std::function<void(int phase)>& phase,
                                  const std::function<bool(const CloneResult& backup)>& keep);
