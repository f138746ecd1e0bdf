#pragma once
// One transfer from its start to what it leaves behind, as every front end
// runs it. A write asked to keep a backup first reads what the radio holds
// and keeps that copy: nothing is written unless the read finished and its
// copy was kept. The image the radio held, or now holds, goes into the
// history. The user is told that a backup did not finish or could not be
// kept; a finished transfer whose copy could not be kept says so in its end,
// for the front end to tell once the end is shown.
#include <functional>
#include <optional>
#include <string>

#include "link/CloneEngine.h"
#include "res/Failure.h"

struct TransferPlan {
    CloneDirection direction = CloneDirection::Read;
    std::string port;
    RadioImage image{};   // what a write sends
    bool backup = false;  // a write reads the radio first
    bool history = true;  // finished transfers are kept; a backup, asked for, is kept either way
};

struct TransferEnd {
    // What the transfer came to, for its report and the write log: the read's
    // or the write's; for a backup that did not finish (BackupUnfinished, or
    // Cancelled when the user stopped it) or was not kept (BackupNotKept),
    // the radio's identification and no block sent.
    CloneResult result;
    // Why the finished transfer's copy is not in the history (told with
    // NotKeptText).
    std::optional<Failure> notKept;
};

// Keeps an image in the history; the failure when it could not.
using KeepImage =
    std::function<std::optional<Failure>(const RadioImage& image, bool write, const std::string& port, int radioType)>;
// Shows the step a write after a backup is at, "第 1 步（共 2 步）：…", and
// which way its data goes.
using ShowPhase = std::function<void(CloneDirection direction, const std::string& text)>;

// `user` is the engine's; `phase` may be empty.
TransferEnd RunTransfer(CloneEngine& engine, IUserInteraction& user, const TransferPlan& plan, const ShowPhase& phase,
                        const KeepImage& keep);
