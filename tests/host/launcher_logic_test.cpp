#include "install/launcher/portable/launcher_logic.h"
#include "install/shared/portable/paths.h"
#include "resources/install/resource.h"

#include <gtest/gtest.h>

#include <string>

using namespace korva;

TEST(CommandLine, OnlyTheWholeExactKeywordsAreRecognised) {
    EXPECT_TRUE(ParseCommandLine("autorun").autorun);
    EXPECT_TRUE(ParseCommandLine("AUTORUN").autorun);
    for (const char* other : {"Autorun", "autorun ", " autorun", "autorun del", "", "AutoRun"}) {
        EXPECT_FALSE(ParseCommandLine(other).autorun) << '"' << other << '"';
    }
    EXPECT_TRUE(ParseCommandLine("del").removeMode);
    for (const char* other : {"DEL", "del ", "Del", "autorun", ""}) {
        EXPECT_FALSE(ParseCommandLine(other).removeMode) << '"' << other << '"';
    }
    EXPECT_FALSE(ParseCommandLine("del").autorun);
}

TEST(Editions, OnlyTheFiveEditionCommandsFindAnEdition) {
    for (int id = IDC_EDITION_MILANO; id <= IDC_EDITION_ROMA; ++id) {
        const EditionEntry* edition = FindEdition(id);
        ASSERT_NE(edition, nullptr) << id;
        EXPECT_EQ(edition->commandId, id);
    }
    EXPECT_EQ(FindEdition(IDC_EDITION_MILANO - 1), nullptr);
    EXPECT_EQ(FindEdition(IDC_EDITION_ROMA + 1), nullptr);
    EXPECT_EQ(FindEdition(IDC_DEMONSTRATION), nullptr);
    EXPECT_EQ(FindEdition(2), nullptr);
}

TEST(Editions, PresenceIsAbsentOnlyWhenItBeginsWithZero) {
    EXPECT_TRUE(IsEditionAbsent("0"));
    EXPECT_TRUE(IsEditionAbsent("01"));
    EXPECT_TRUE(IsEditionAbsent("0 no"));
    EXPECT_FALSE(IsEditionAbsent("1"));
    EXPECT_FALSE(IsEditionAbsent("no"));
    EXPECT_FALSE(IsEditionAbsent(" 0"));
    EXPECT_FALSE(IsEditionAbsent(""));
}

TEST(Editions, FirstDirWithLeadingBackslashIsUnderTheInstallerDirectory) {
    EXPECT_EQ(ResolveFirstDir("E:", "\\cd_ita"), "E:\\cd_ita");
    EXPECT_EQ(ResolveFirstDir("E:\\setup", "\\cd_ita"), "E:\\setup\\cd_ita");
    EXPECT_EQ(ResolveFirstDir("E:", "D:\\maps"), "D:\\maps");
    EXPECT_EQ(ResolveFirstDir("E:", ""), "");
}

TEST(Editions, ARelativeFirstDirIsTheCdsNotTheCurrentDirectorys) {
    EXPECT_EQ(ResolveFirstDir("E:", "cd_ita"), "E:\\cd_ita");
    EXPECT_EQ(ResolveFirstDir("E:\\setup", "cd_ita\\dati"), "E:\\setup\\cd_ita\\dati");
    EXPECT_EQ(ResolveFirstDir("E:", "d:\\maps"), "d:\\maps");
}

TEST(Demonstration, PathsAndCommandLinesAreBuiltFromTheInstallerDirectory) {
    EXPECT_EQ(DirectoryOfModule("E:\\install.exe"), "E:");
    EXPECT_EQ(DirectoryOfModule("E:\\cd\\sub\\install.exe"), "E:\\cd\\sub");
    EXPECT_EQ(SetvarsPath("E:"), "E:\\setvars.inf");
    EXPECT_EQ(FilmPlayerPath("E:"), "E:\\film\\ziziraz.exe");
    EXPECT_EQ(FilmPlayerCommand("E:", "roma.dem"), "E:\\film\\ziziraz roma.dem");
    EXPECT_EQ(FilmFilePath("E:", "europa.dem"), "E:\\film\\europa.dem");
    EXPECT_EQ(DemoProgramPath("E:"), "E:\\kdemo\\kdemo.exe");
}

TEST(FinalMessage, ChosenByTheRunAndTheCompletionFlags) {
    CoverOutcome done{true, false, 1, 1, 0};
    EXPECT_EQ(FinalMessageId(done), unsigned(IDS_DONE));
    CoverOutcome doneEvenIfIncompatible{true, false, 1, 1, 1};
    EXPECT_EQ(FinalMessageId(doneEvenIfIncompatible), unsigned(IDS_DONE));
    CoverOutcome restart{true, false, 1, 0, 0};
    EXPECT_EQ(FinalMessageId(restart), unsigned(IDS_DONE_RESTART));
    CoverOutcome incompatible{true, false, 1, 0, 1};
    EXPECT_EQ(FinalMessageId(incompatible), unsigned(IDS_DONE_INCOMPATIBLE));
}

TEST(FinalMessage, ExitAbandonAndRemovalHaveTheirOwnEndings) {
    CoverOutcome exited{false, false, 0, 1, 0};
    EXPECT_EQ(FinalMessageId(exited), 0u);
    CoverOutcome exitedRemoval{false, true, 0, 1, 0};
    EXPECT_EQ(FinalMessageId(exitedRemoval), 0u);
    CoverOutcome abandoned{true, false, 0, 0, 1};
    EXPECT_EQ(FinalMessageId(abandoned), unsigned(IDS_INSTALL_NOT_COMPLETED));
    CoverOutcome removed{true, true, 1, 1, 0};
    EXPECT_EQ(FinalMessageId(removed), unsigned(IDS_REMOVAL_DONE));
    CoverOutcome nothingRemoved{true, true, 0, 1, 0};
    EXPECT_EQ(FinalMessageId(nothingRemoved), unsigned(IDS_REMOVAL_NOTHING));
}

TEST(PathField, CopiesAreBoundedToTheField) {
    PathField field;
    std::string longest(kPathSize - 1, 'x');
    EXPECT_TRUE(CopyToField(field, longest));
    EXPECT_EQ(std::string(field), longest);
    std::string tooLong(kPathSize, 'y');
    EXPECT_FALSE(CopyToField(field, tooLong));
    EXPECT_STREQ(field, "");
    EXPECT_EQ(JoinPath("C:\\korva", "korva.exe"), "C:\\korva\\korva.exe");
}
