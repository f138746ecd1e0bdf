#include <gtest/gtest.h>

#include <algorithm>

#include "history/RadioHistory.h"
#include "link/TransferFlow.h"
#include "support/RandomImage.h"
#include "support/ScriptedLink.h"

namespace {

struct Kept {
    RadioImage image;
    bool write;
    std::string port;
    int radioType;
};

// The radio holds `memory`; a write sends NewDocumentImage(). Every image the
// flow keeps is listed, and keeping fails once `refuse` is set.
struct FlowRig {
    explicit FlowRig(SimFaults faults = {})
        : memory(RandomImage(7)),
          radio(memory, NewDocumentImage()[addr::kRadioType], faults),
          link(radio),
          engine(link, link, user) {}

    TransferEnd Run(CloneDirection direction, bool backup, bool history = true) {
        const TransferPlan plan{direction, "COM3", NewDocumentImage(), backup, history};
        return RunTransfer(
            engine, user, plan,
            [this](CloneDirection way, const std::string& text) {
                phases.push_back({way, text});
            },
            [this](const RadioImage& image, bool write, const std::string& port, int radioType) {
                if (refuse) return std::optional<Failure>(Fail(TextId::FileNoPermission));
                kept.push_back({image, write, port, radioType});
                return std::optional<Failure>();
            });
    }
    bool Told(const std::string& text) const {
        return std::find(user.asked.begin(), user.asked.end(), text) != user.asked.end();
    }

    RadioImage memory;
    RadioSim radio;
    ScriptedLink link;
    ScriptedUser user;
    CloneEngine engine;
    std::vector<std::pair<CloneDirection, std::string>> phases;
    std::vector<Kept> kept;
    bool refuse = false;
};

const std::pair<CloneDirection, std::string> kBackupRead{CloneDirection::Read,
                                                         "第 1 步（共 2 步）：读出对讲机数据备份"};
const std::pair<CloneDirection, std::string> kBackupWrite{CloneDirection::Write, "第 2 步（共 2 步）：写频"};

}  // namespace

TEST(TransferFlow, WhatTheRadioHeldOrNowHoldsIsKeptWhenTheHistoryIsOn) {
    FlowRig read;
    EXPECT_EQ(read.Run(CloneDirection::Read, false).result.outcome, CloneOutcome::Completed);
    ASSERT_EQ(read.kept.size(), 1u);
    EXPECT_EQ(read.kept[0].image, read.memory);
    EXPECT_FALSE(read.kept[0].write);
    EXPECT_EQ(read.kept[0].port, "COM3");
    EXPECT_EQ(read.kept[0].radioType, NewDocumentImage()[addr::kRadioType]);
    EXPECT_TRUE(read.phases.empty());
    EXPECT_TRUE(read.user.asked.empty());

    FlowRig write;
    EXPECT_EQ(write.Run(CloneDirection::Write, false).result.outcome, CloneOutcome::Completed);
    ASSERT_EQ(write.kept.size(), 1u);
    EXPECT_EQ(write.kept[0].image, NewDocumentImage());
    EXPECT_TRUE(write.kept[0].write);

    FlowRig off;
    EXPECT_EQ(off.Run(CloneDirection::Read, false, false).result.outcome, CloneOutcome::Completed);
    EXPECT_TRUE(off.kept.empty());

    // Not kept: the transfer itself still finished, and its end says why,
    // for the front end to tell once it has shown the end.
    FlowRig refused;
    refused.refuse = true;
    const TransferEnd end = refused.Run(CloneDirection::Read, false);
    EXPECT_EQ(end.result.outcome, CloneOutcome::Completed);
    ASSERT_TRUE(end.notKept);
    EXPECT_EQ(NotKeptText(*end.notKept), "这次的数据没有存入历史记录：没有权限");
    EXPECT_TRUE(refused.user.asked.empty());

    FlowRig failed(SimFaults{.shortReplyBlock = 3, .shortReplyBytes = 5});
    EXPECT_NE(failed.Run(CloneDirection::Read, false).result.outcome, CloneOutcome::Completed);
    EXPECT_TRUE(failed.kept.empty());
}

TEST(TransferFlow, ABackupIsReadAndKeptBeforeTheWriteWithTheHistoryOffToo) {
    FlowRig rig;
    const TransferEnd end = rig.Run(CloneDirection::Write, true, false);
    EXPECT_EQ(end.result.outcome, CloneOutcome::Completed);
    EXPECT_EQ(end.result.blocks, 264);
    EXPECT_EQ(rig.phases, (std::vector{kBackupRead, kBackupWrite}));
    ASSERT_EQ(rig.kept.size(), 1u);  // the backup only: the history is off
    EXPECT_EQ(rig.kept[0].image, rig.memory);
    EXPECT_FALSE(rig.kept[0].write);
    EXPECT_EQ(rig.radio.Memory(), NewDocumentImage());
    EXPECT_EQ(rig.link.opens, 2);

    FlowRig on;
    on.Run(CloneDirection::Write, true);
    ASSERT_EQ(on.kept.size(), 2u);
    EXPECT_EQ(on.kept[0].image, on.memory);
    EXPECT_EQ(on.kept[1].image, NewDocumentImage());
    EXPECT_TRUE(on.kept[1].write);
}

TEST(TransferFlow, ABackupThatDidNotFinishOrWasNotKeptWritesNothing) {
    FlowRig cut(SimFaults{.shortReplyBlock = 3, .shortReplyBytes = 5});
    TransferEnd end = cut.Run(CloneDirection::Write, true);
    EXPECT_EQ(end.result.outcome, CloneOutcome::BackupUnfinished);
    EXPECT_EQ(end.result.blocks, 0);  // written: the log counts the write's blocks, not the backup's
    EXPECT_TRUE(cut.Told("备份没有完成，没有写入任何数据。"));
    EXPECT_EQ(cut.phases, std::vector{kBackupRead});
    EXPECT_EQ(cut.radio.Memory(), cut.memory);
    EXPECT_TRUE(cut.kept.empty());

    // Stopped on purpose: that needs no word of its own.
    FlowRig stopped;
    stopped.user.cancelAtProgress = 5;
    end = stopped.Run(CloneDirection::Write, true);
    EXPECT_EQ(end.result.outcome, CloneOutcome::Cancelled);
    EXPECT_FALSE(stopped.Told("备份没有完成，没有写入任何数据。"));
    EXPECT_EQ(stopped.radio.Memory(), stopped.memory);

    FlowRig refused;
    refused.refuse = true;
    end = refused.Run(CloneDirection::Write, true);
    EXPECT_EQ(end.result.outcome, CloneOutcome::BackupNotKept);  // not a stop the user asked for
    EXPECT_EQ(end.result.radioType, NewDocumentImage()[addr::kRadioType]);
    EXPECT_EQ(end.result.blocks, 0);
    EXPECT_TRUE(refused.Told("这次的数据没有存入历史记录：没有权限\n备份无法保存，没有写入任何数据。"))
        << ::testing::PrintToString(refused.user.asked);
    EXPECT_EQ(refused.phases, std::vector{kBackupRead});
    EXPECT_EQ(refused.radio.Memory(), refused.memory);
    EXPECT_EQ(refused.link.opens, 1);
}
