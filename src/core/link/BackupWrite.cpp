#include "link/BackupWrite.h"

BackupWriteResult WriteWithBackup(CloneEngine& engine, const std::string& port, const RadioImage& image,
                                  const std::function<void(int phase)>& phase,
                                  const std::function<bool(const CloneResult& backup)>& keep) {
    BackupWriteResult result;
    phase(1);
    result.backup = engine.Run(CloneDirection::Read, port, image);
    if (result.backup.outcome != CloneOutcome::Completed) return result;
    result.kept = keep(result.backup);
    if (!result.kept) return result;
    phase(2);
    result.write = engine.Run(CloneDirection::Write, port, image);
    return result;
}
