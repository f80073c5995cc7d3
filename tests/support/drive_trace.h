// What the programs a test starts do to one drive, as Wine itself records it. While the
// object lives, every program the test starts (and every program those start) runs with
// Wine's file and volume traces on; they go to the test's error output, which wine-run
// names in KORVA_WINE_STDERR and leaves out of what it prints. Read() then finds in them
// every open of a file or directory on the drive, every open that could change something
// there (write, append, attributes, delete or rename access, a create or overwrite, delete
// on close), and every free-space query of the drive: an attempt that the drive refused
// shows there too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace testfs {

class DriveAccessTrace {
public:
    // `letter`: the drive; `unixDirectory`: the Linux directory the drive shows, whose Z:
    // spelling is the same place.
    DriveAccessTrace(char letter, const std::string& unixDirectory);
    ~DriveAccessTrace();
    DriveAccessTrace(const DriveAccessTrace&) = delete;
    DriveAccessTrace& operator=(const DriveAccessTrace&) = delete;

    bool Available() const { return !tracePath_.empty(); }

    struct Findings {
        std::size_t opens = 0;              // opens of anything on the drive
        std::vector<std::string> changes;   // the trace lines of opens that could change it
        std::vector<std::string> freeSpace; // the trace lines of its free-space queries
        std::size_t freeSpaceElsewhere = 0; // free-space queries of other drives
    };
    // What the traces written since the object was made show.
    Findings Read() const;

private:
    bool OnTheDrive(const std::string& name) const;

    std::vector<std::string> spellings_; // upper case, without a trailing backslash
    std::string tracePath_;
    unsigned long long start_ = 0;
    std::string previousDebug_;
    bool hadDebug_ = false;
};

} // namespace testfs
