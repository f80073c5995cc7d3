// The Program Manager commands of the product's group and the blocks they travel in, and the
// directories the removal may empty.
#include "install/engine/portable/progman_commands.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

ProgramGroupPlan Plan(bool demo, bool edition) {
    ProgramGroupPlan plan;
    plan.programDir = "C:\\korva";
    plan.programSourceDir = "D:";
    plan.demoPresent = demo;
    plan.editionInstall = edition;
    return plan;
}

} // namespace

TEST(ProgramGroupCommands, DemoAndEditionItemsOnlyWhenTheirConditionsHold) {
    auto has = [](const std::vector<std::string>& commands, const std::string& part) {
        int count = 0;
        for (const std::string& command : commands) {
            count += command.find(part) != std::string::npos ? 1 : 0;
        }
        return count;
    };
    const std::vector<std::string> plain = ProgramGroupCommands(Plan(false, false));
    ASSERT_EQ(plain.size(), 8u);
    EXPECT_EQ(has(plain, "Edizioni Korva"), 0);
    EXPECT_EQ(has(plain, "Installazioni Korva"), 0);
    EXPECT_EQ(plain[6], "[DeleteItem(Rimozione di KORVA)]");

    const std::vector<std::string> demo = ProgramGroupCommands(Plan(true, false));
    ASSERT_EQ(demo.size(), 10u);
    EXPECT_EQ(has(demo, "Edizioni Korva"), 2);
    EXPECT_EQ(has(demo, "Installazioni Korva"), 0);

    const std::vector<std::string> edition = ProgramGroupCommands(Plan(false, true));
    ASSERT_EQ(edition.size(), 10u);
    EXPECT_EQ(has(edition, "Edizioni Korva"), 0);
    EXPECT_EQ(edition[8], "[DeleteItem(Installazioni Korva)]");
    EXPECT_EQ(edition[9], "[AddItem(D:\\setup.exe,Installazioni Korva,D:\\setup.exe,0)]");
}

TEST(ProgmanCommandBlock, ShortCommandsTravelInOneHundredBytes) {
    const std::string command = "[DeleteItem(Guida)]";
    const std::vector<char> block = ProgmanCommandBlock(command);
    ASSERT_EQ(block.size(), 100u);
    EXPECT_EQ(std::string(block.data()), command);
    for (std::size_t i = command.size(); i < block.size(); ++i) {
        EXPECT_EQ(block[i], '\0') << "byte " << i;
    }
    EXPECT_EQ(ProgmanCommandBlock("").size(), 100u);
}

TEST(ProgmanCommandBlock, CommandsTooLongForTheBlockTravelWhole) {
    const std::string fits(99, 'x');
    ASSERT_EQ(ProgmanCommandBlock(fits).size(), 100u);
    EXPECT_EQ(std::string(ProgmanCommandBlock(fits).data()), fits);

    const std::string exact(100, 'y');
    std::vector<char> block = ProgmanCommandBlock(exact);
    ASSERT_EQ(block.size(), 101u);
    EXPECT_EQ(std::string(block.data()), exact);

    ProgramGroupPlan plan = Plan(true, true);
    plan.programDir = "C:\\" + std::string(250, 'p');
    for (const std::string& command : ProgramGroupCommands(plan)) {
        block = ProgmanCommandBlock(command);
        EXPECT_EQ(block.size(), std::max<std::size_t>(100, command.size() + 1));
        EXPECT_EQ(std::string(block.data()), command);
    }
}
