// The dbdat tool as a user or the CD builder runs it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun Dbdat(const std::string& arguments) {
    std::string command = std::string(KORVA_DBDAT) + " " + arguments + " 2>&1";
    ToolRun run{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[512];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class DbdatTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korva-dbdat-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void WriteBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) const {
        std::ifstream file(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    fs::path dir_;
};

} // namespace

TEST_F(DbdatTool, ShowPrintsResultValuesAndTheEditionLine) {
    WriteBytes("two.dat", std::string("\x04\x03", 2));
    ToolRun run = Dbdat("show " + Path("two.dat"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "result: 0\nedition: \nupdate: 0 0\nversion: 3.4\n"
                          "Edizione: \nAggiorn.: 00/00\nVersione:  3. 4.\n");

    WriteBytes("old.dat", std::string("\x09\x02\x02\x00\x01\x00x", 7));
    run = Dbdat("show " + Path("old.dat"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("result: 25\n", 0), 0u) << run.output;

    run = Dbdat("show " + Path("no/such/dir"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("result: 4\n", 0), 0u) << run.output;

    WriteBytes("cut.dat", std::string("\x04\x03\x02", 3));
    EXPECT_EQ(Dbdat("show " + Path("cut.dat")).output.rfind("result: 5\n", 0), 0u);
}

TEST_F(DbdatTool, WriteMakesADescriptionTheReaderShows) {
    fs::create_directories(Path("italia/rete"));
    ToolRun run = Dbdat("write " + Path("italia/rete") +
                        " --minor 4 --major 3 --edition 'Citt\xC3\xA0 di Roma' --update1 1"
                        " --update2 12 --tag 40= --tag 39=01020304 --tag 35=4142");
    ASSERT_EQ(run.status, 0) << run.output;
    const char bytes[] = "\x04\x03"
                         "\x02\x00\x0D\x00"
                         "Citt\xE0 di Roma"
                         "\x03\x00\x01"
                         "\x04\x00\x0C"
                         "\x28\x00"
                         "\x27\x00\x01\x02\x03\x04"
                         "\x23\x00\x02\x00"
                         "AB";
    const std::string expected(bytes, sizeof bytes - 1);
    EXPECT_EQ(ReadBytes("italia/rete/db.dat"), expected);
    run = Dbdat("show " + Path("italia/rete"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "result: 0\nedition: Citt\xC3\xA0 di Roma\nupdate: 1 12\nversion: 3.4\n"
                          "Edizione: Citt\xC3\xA0 di Roma\nAggiorn.: 01/12\nVersione:  3. 4.\n");
}

TEST_F(DbdatTool, BadArgumentsGetUsageAndStatusTwo) {
    const std::string file = Path("x.dat");
    const std::string bad[] = {
        "",
        "show",
        "show a b",
        "list " + file,
        "write",
        "write " + file + " --minor 4",
        "write " + file + " --minor 4 --major 256",
        "write " + file + " --minor -1 --major 3",
        "write " + file + " --minor 4 --major 3 --update1",
        "write " + file + " --minor 4 --major 3 --tag 3=0102",
        "write " + file + " --minor 4 --major 3 --tag 41=00",
        "write " + file + " --minor 4 --major 3 --tag 70000=",
        "write " + file + " --minor 4 --major 3 --tag 2=zz",
        "write " + file + " --minor 4 --major 3 --edition \"$(printf '\\377')\"",
        "write " + file + " --minor 4 --major 3 --colour red",
    };
    for (const std::string& arguments : bad) {
        ToolRun run = Dbdat(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.output.find("usage: dbdat"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(fs::exists(file));
}
