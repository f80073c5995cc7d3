// The sample CD mastered as a disc image and the image's check: the same bytes from the same
// files whatever their times or place, both trees of names readable, and each fault of a
// disc image (a declared size, a missing file, a name ISO 9660 or Joliet cannot carry)
// reported in a line of its own.
#include "tools/mkcd/cd_check.h"
#include "tools/mkcd/cd_files.h"
#include "tools/mkcd/cd_image.h"
#include "tools/mkcd/cd_layout.h"
#include "tools/mkcd/disc_tree.h"
#include "tools/mkcd/iso_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// An image held in memory, read as the checks read a file.
struct MemoryImage {
    std::string bytes;
    mkcd::ImageReader Reader() const {
        return [this](std::uint64_t offset, std::size_t size, unsigned char* out) {
            if (offset > bytes.size() || size > bytes.size() - offset) {
                return false;
            }
            std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset + size), out);
            return true;
        };
    }
    std::vector<std::string> Check() const { return mkcd::CheckImage(Reader(), bytes.size()); }
};

class DiscImage : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("korva-mkcd-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        tree_ = root_ / "tree";
        MakeTree(tree_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // The sample CD as mkcd makes it, with small stand-ins for the built programs.
    static void MakeTree(const fs::path& tree) {
        for (const char* program : {"install.exe", "korva.exe", "POSINET.EXE", "delkorva.exe",
                                    "setup.exe", "film/ziziraz.exe", "kdemo/kdemo.exe"}) {
            Write(tree / program, std::string("MZ stand-in ") + program);
        }
        mkcd::WriteCdContents(tree);
    }

    MemoryImage Image(const fs::path& tree) {
        const fs::path iso = root_ / (tree.filename().string() + ".iso");
        mkcd::WriteImage(tree, iso);
        return MemoryImage{ReadAll(iso)};
    }

    // The check of the tree's image after `change` was made to the tree.
    template <typename Change> std::vector<std::string> FaultsAfter(Change change) {
        change(tree_);
        return Image(tree_).Check();
    }

    fs::path root_;
    fs::path tree_;
};

const mkcd::IsoEntry* Find(const mkcd::IsoEntry& dir, const std::string& name) {
    for (const mkcd::IsoEntry& child : dir.children) {
        if (child.name == name) {
            return &child;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(DiscImage, TheSameFilesGiveTheSameBytesWhateverTheirTimesAndPlace) {
    const MemoryImage first = Image(tree_);
    const fs::path other = root_ / "elsewhere";
    MakeTree(other);
    // Other times for every file of the second tree, and another order of creation.
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const auto& entry : fs::recursive_directory_iterator(other)) {
        fs::last_write_time(entry.path(), past);
    }
    const MemoryImage second = Image(other);
    EXPECT_EQ(first.bytes.size(), second.bytes.size());
    EXPECT_TRUE(first.bytes == second.bytes);
    EXPECT_EQ(first.bytes.size() % mkcd::kIsoBlock, 0u);
}

TEST_F(DiscImage, BothTreesOfNamesAndTheLabelAreRecorded) {
    const MemoryImage image = Image(tree_);
    std::string error;
    const auto volume = mkcd::ReadIsoVolume(image.Reader(), image.bytes.size(), error);
    ASSERT_TRUE(volume) << error;
    EXPECT_EQ(volume->plainVolumeId, mkcd::kPlainVolumeId);
    ASSERT_TRUE(volume->hasJoliet);
    EXPECT_EQ(volume->jolietVolumeId, mkcd::kVolumeLabel);
    EXPECT_EQ(volume->blocks * mkcd::kIsoBlock, image.bytes.size());

    // Plain names in 8.3 upper case, Joliet names as written, both leading to the same data.
    const mkcd::IsoEntry* plainEdition = Find(volume->plainRoot, "CD_ITA");
    const mkcd::IsoEntry* jolietEdition = Find(volume->jolietRoot, "cd_ita");
    ASSERT_TRUE(plainEdition && jolietEdition);
    const mkcd::IsoEntry* plainSetup = Find(*plainEdition, "SETUP.INF;1");
    const mkcd::IsoEntry* jolietSetup = Find(*jolietEdition, "Setup.inf;1");
    ASSERT_TRUE(plainSetup && jolietSetup);
    EXPECT_EQ(plainSetup->extent, jolietSetup->extent);
    const auto text = mkcd::ReadIsoFile(image.Reader(), *jolietSetup);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, ReadAll(tree_ / "cd_ita" / "Setup.inf"));

    const mkcd::IsoEntry* autorun = Find(volume->jolietRoot, "autorun.inf;1");
    ASSERT_TRUE(autorun);
    EXPECT_EQ(*mkcd::ReadIsoFile(image.Reader(), *autorun),
              "[autorun]\r\nopen=install.exe autorun\r\nicon=korva.ico\r\nlabel=KORVA '98 "
              "3.04\r\n");
}

TEST_F(DiscImage, TheSampleCdHasNoFault) {
    EXPECT_EQ(Lines(Image(tree_).Check()), "");
}

TEST_F(DiscImage, EachWrongDeclaredSizeIsOneLine) {
    const std::vector<std::string> faults = FaultsAfter([](const fs::path& tree) {
        const fs::path net = tree / "cd_ita" / "italia" / "rete" / "setup.inf";
        std::string text = ReadAll(net);
        const std::size_t at = text.find("sizeOfNetInBytes=") + 17;
        // One more than the files hold, the text keeping its length.
        std::string number = text.substr(at, text.find('\r', at) - at);
        number = std::to_string(std::stoul(number) + 1);
        text.replace(at, number.size(), number);
        Write(net, text);
        Write(tree / "info.txt", "[Cataloghi]\r\nNumero_di_bytes=999\r\n");
    });
    ASSERT_EQ(faults.size(), 2u) << Lines(faults);
    EXPECT_EQ(faults[0].rfind("/cd_ita/italia/rete/setup.inf: sizeOfNetInBytes=", 0), 0u)
        << faults[0];
    EXPECT_NE(faults[0].find(", but the files hold "), std::string::npos) << faults[0];
    // Every area's catalogues hold the same: the one value misses them all.
    EXPECT_EQ(faults[1], "/info.txt: Numero_di_bytes=999, but /cd_euro/europa/catalog, "
                         "/cd_ita/italia/catalog, /cd_ita/sicilia/catalog, "
                         "/cd_tori/torino/catalog, /cd_roma/roma/catalog hold 8200 bytes");
}

TEST_F(DiscImage, AMissingLauncherFileIsOneLine) {
    const auto faults = FaultsAfter([](const fs::path& tree) { fs::remove(tree / "setvars.inf"); });
    EXPECT_EQ(Lines(faults), "/setvars.inf: missing: the launcher's description of the editions\n");
}

TEST_F(DiscImage, TheFilesOfAnAreaAreNamedWhenMissing) {
    const auto faults = FaultsAfter([](const fs::path& tree) {
        const fs::path area = tree / "cd_tori" / "torino";
        fs::remove(area / "cartine" / "setup.inf");
        fs::remove(area / "torino.map");
        fs::remove(tree / "cd_roma" / "Setup.inf");
        fs::remove(tree / "korva.hlp");
    });
    // The root's Setup.inf stands in for a missing one of an edition.
    EXPECT_EQ(Lines(faults),
              "/korva.hlp: missing: a program file every installation copies\n"
              "/cd_tori/torino/torino.map: missing: a map file of the area\n"
              "/cd_tori/torino/cartine/setup.inf: missing: the sizes the installation asks for "
              "and shows\n");
}

TEST_F(DiscImage, AnUnreadableNetworkDescriptionIsNamed) {
    const auto faults = FaultsAfter([](const fs::path& tree) {
        const fs::path db = tree / "cd_roma" / "roma" / "rete" / "db.dat";
        // Version 3.4, then the edition's name with a length that runs past the end; the file
        // keeps its size.
        std::string bytes = std::string("\x04\x03\x02\x00\xFF\xFF", 6);
        bytes.resize(static_cast<std::size_t>(fs::file_size(db)), '\0');
        Write(db, bytes);
    });
    ASSERT_EQ(faults.size(), 1u) << Lines(faults);
    EXPECT_EQ(faults[0].rfind("/cd_roma/roma/rete/db.dat: the installation cannot read it", 0), 0u)
        << faults[0];
}

TEST_F(DiscImage, NamesThatDoNotFitBothTreesAreOneLineEach) {
    const auto faults = FaultsAfter([](const fs::path& tree) {
        Write(tree / "film" / "dimostrazione.dem", "long name");
        Write(tree / "film" / "la mia.dem", "blank");
        Write(tree / "film" / "Roma.dem", "one case");
        Write(tree / "film" / "ROMA.DEM", "another case");
    });
    EXPECT_EQ(Lines(faults),
              "/film/ROMA.DEM: differs from \"Roma.dem\" only in case, which Windows does not "
              "tell apart\n"
              "/film/dimostrazione.dem: does not fit ISO 9660 (8.3, upper case): a system without "
              "Joliet sees it as DIMOSTRA.DEM\n"
              "/film/la mia.dem: does not fit ISO 9660 (8.3, upper case): a system without Joliet "
              "sees it as LA_MIA.DEM\n");
}

TEST_F(DiscImage, ATreeNoDiscCanCarryAsItIsIsRefused) {
    Write(tree_ / "kdemo" / "a" / "b" / "c" / "d" / "e" / "f" / "g" / "fondo.txt", "x");
    try {
        Image(tree_);
        ADD_FAILURE() << "nine levels of directories were mastered";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  (fs::absolute(tree_) / "kdemo/a/b/c/d/e/f/g").string() +
                      " lies deeper than the 8 directory levels of ISO 9660");
    }
    fs::remove_all(tree_ / "kdemo" / "a" / "b" / "c" / "d" / "e" / "f" / "g");
    fs::create_symlink(tree_ / "korva.exe", tree_ / "kdemo" / "collegamento.exe");
    EXPECT_THROW(Image(tree_), std::runtime_error);
    EXPECT_FALSE(fs::exists(root_ / "tree.iso"));
    EXPECT_FALSE(fs::exists(root_ / "tree.iso.part"));
}

TEST_F(DiscImage, AnAutorunWithoutItsIconOrProgramIsNamed) {
    const auto faults = FaultsAfter([](const fs::path& tree) {
        Write(tree / "autorun.inf", "[autorun]\r\nopen=avvio.exe autorun\r\n");
    });
    EXPECT_EQ(Lines(faults), "/autorun.inf: \"open\" starts avvio.exe, which is not on the disc\n"
                             "/autorun.inf: no \"icon\" in [autorun]\n");
}

TEST_F(DiscImage, AnImageWithoutJolietNamesSaysSo) {
    MemoryImage image = Image(tree_);
    // The supplementary descriptor becomes one of a kind no reader knows.
    bool patched = false;
    for (std::size_t block = 17; block < 32 && !patched; ++block) {
        char& type = image.bytes[block * mkcd::kIsoBlock];
        if (type == 2) {
            type = 100;
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_EQ(Lines(image.Check()),
              "no Joliet names: Windows shows every name in 8.3 upper case\n");
}

TEST_F(DiscImage, DamagedImagesAreRefusedInOneLine) {
    const MemoryImage whole = Image(tree_);
    for (std::size_t size :
         {std::size_t{0}, std::size_t{32768}, std::size_t{40000}, whole.bytes.size() / 2}) {
        const MemoryImage cut{whole.bytes.substr(0, size)};
        const auto faults = cut.Check();
        ASSERT_EQ(faults.size(), 1u) << size << "\n" << Lines(faults);
        EXPECT_NE(faults[0][0], '/') << faults[0];
    }
    const MemoryImage zeros{std::string(64 * 1024, '\0')};
    EXPECT_EQ(Lines(zeros.Check()), "not an ISO 9660 image (no volume descriptor)\n");
}

namespace {

// Runs mkcd with `arguments`; its output and exit status.
int RunMkcd(const std::string& arguments, std::string& output) {
    output.clear();
    FILE* pipe = ::popen((std::string(KORVA_MKCD) + " " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) {
        output += buffer.data();
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(DiscImage, TheCommandMastersTwiceTheSameAndChecksWithItsExitStatus) {
    std::string output;
    const fs::path a = root_ / "a.iso";
    const fs::path b = root_ / "b.iso";
    ASSERT_EQ(RunMkcd("--image " + a.string(), output), 0) << output;
    ASSERT_EQ(RunMkcd("--out " + (root_ / "built").string() + " --image " + b.string(), output), 0)
        << output;
    EXPECT_TRUE(ReadAll(a) == ReadAll(b));
    // Only the image was asked for: no tree is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 4);

    const fs::path sound = root_ / "sound.iso";
    ASSERT_EQ(RunMkcd("--image " + sound.string() + " --from " + tree_.string(), output), 0);
    EXPECT_EQ(RunMkcd("--check " + sound.string(), output), 0) << output;
    EXPECT_EQ(output, "mkcd: " + sound.string() + ": no faults\n");

    fs::remove(tree_ / "setvars.inf");
    const fs::path faulty = root_ / "faulty.iso";
    ASSERT_EQ(RunMkcd("--image " + faulty.string() + " --from " + tree_.string(), output), 0);
    EXPECT_EQ(RunMkcd("--check " + faulty.string(), output), 1);
    EXPECT_EQ(output, faulty.string() +
                          ": /setvars.inf: missing: the launcher's description of the editions\n"
                          "mkcd: " +
                          faulty.string() + ": 1 fault\n");

    EXPECT_EQ(RunMkcd("--check " + (root_ / "none.iso").string(), output), 2);
    EXPECT_EQ(RunMkcd("--check", output), 2);
    EXPECT_EQ(RunMkcd("--from " + tree_.string(), output), 2);
}
