#include "link/TransferFlow.h"

#include "history/RadioHistory.h"
#include "res/Texts.h"

namespace {

// The transfer itself: the read, the write, or the backup's read and then the
// write on the same port.
TransferEnd Transfer(CloneEngine& engine, IUserInteraction& user, const TransferPlan& plan, const ShowPhase& phase,
                     const KeepImage& keep) {
    TransferEnd end;
    if (!plan.backup || plan.direction != CloneDirection::Write) {
        end.result = engine.Run(plan.direction, plan.port, plan.image);
        return end;
    }
    if (phase) phase(CloneDirection::Read, Tr(TextId::BackupPhaseRead));
    const CloneResult backup = engine.Run(CloneDirection::Read, plan.port, plan.image);
    if (backup.outcome != CloneOutcome::Completed) {
        const bool stopped = backup.outcome == CloneOutcome::Cancelled;
        if (!stopped) user.Ask(Tr(TextId::BackupFailed), Buttons::Ok);
        // The write's log and summary tell of the write: no block of it went
        // out, whatever number of blocks the backup's read had come to.
        end.result.outcome = stopped ? CloneOutcome::Cancelled : CloneOutcome::BackupUnfinished;
        end.result.radioType = backup.radioType;
        return end;
    }
    if (const auto notKept = keep(backup.image, false, plan.port, backup.radioType)) {
        user.Ask(BackupNotKeptText(*notKept), Buttons::Ok);
        end.result.outcome = CloneOutcome::BackupNotKept;
        end.result.radioType = backup.radioType;
        return end;
    }
    if (phase) phase(CloneDirection::Write, Tr(TextId::BackupPhaseWrite));
    end.result = engine.Run(CloneDirection::Write, plan.port, plan.image);
    return end;
}

}  // namespace

TransferEnd RunTransfer(CloneEngine& engine, IUserInteraction& user, const TransferPlan& plan, const ShowPhase& phase,
                        const KeepImage& keep) {
    TransferEnd end = Transfer(engine, user, plan, phase, keep);
    if (end.result.outcome != CloneOutcome::Completed || !plan.history) return end;
    const bool write = plan.direction == CloneDirection::Write;
    end.notKept = keep(write ? plan.image : end.result.image, write, plan.port, end.result.radioType);
    return end;
}
