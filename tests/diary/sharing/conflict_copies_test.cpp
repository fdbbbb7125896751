// The names sync engines give conflict copies, as their sources write them,
// and names that only come close.
#include "diary/sharing/conflict_copies.h"

#include <gtest/gtest.h>

TEST(ConflictCopyNames, EveryEnginesFormIsRecognisedForItsFileOnly)
{
    const char* copies[] = {
        "diary.sync-conflict-20261209-140853-VQSTP3N.tlg",
        "diary.sync-conflict-20261209-140853-.tlg", // Syncthing without a device id
        "diary (conflicted copy 2026-12-09 140853).tlg",
        "diary (conflicted copy Ana M. Sato 2026-12-09 140853).tlg",
        "diary_conflict-20261209-140853.tlg",
        "diary_conflict_ana-20261209-140853.tlg",
        "diary (Ana's conflicted copy 2026-12-09).tlg",
        "diary (Ana's conflicted copy 2026-12-09 (1)).tlg",
        "diary (DESKTOP-7 conflicted copy 2026-12-09).tlg",
    };
    for (const char* copy : copies) {
        EXPECT_TRUE(IsConflictCopyName(copy, "diary.tlg")) << copy;
        EXPECT_FALSE(IsConflictCopyName(copy, "dia.tlg")) << copy;
        EXPECT_FALSE(IsConflictCopyName(copy, "diary.tl")) << copy;
    }
    const char* others[] = {
        "diary.tlg",
        "diary.sync-conflict-20261209-140853-VQSTP3N.tlg.tmp",
        ".syncthing.diary.tlg.tmp",
        "diary.sync-conflict-2026129-140853-VQSTP3N.tlg",
        "diary.sync-conflict-20261209-140853-vqstp3n.tlg",
        "diary (copy).tlg",
        "diary (conflicted copy 2026-12-09 140853).tlg.bak",
        "diary2.sync-conflict-20261209-140853-VQSTP3N.tlg",
        "diary (Ana's conflicted copy 2026-12-09) (1).tlg",
    };
    for (const char* other : others)
        EXPECT_FALSE(IsConflictCopyName(other, "diary.tlg")) << other;
}

TEST(ConflictCopyNames, ANameWithoutExtensionTakesTheTagAtItsEnd)
{
    EXPECT_TRUE(IsConflictCopyName("diary.sync-conflict-20261209-140853-VQSTP3N", "diary"));
    EXPECT_TRUE(IsConflictCopyName("diary (conflicted copy 2026-12-09 140853)", "diary"));
    EXPECT_TRUE(IsConflictCopyName("my.diary.sync-conflict-20261209-140853-VQSTP3N.tlg", "my.diary.tlg"));
    EXPECT_FALSE(IsConflictCopyName("my.sync-conflict-20261209-140853-VQSTP3N.diary.tlg", "my.diary.tlg"));
}
