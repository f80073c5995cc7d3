// Frees the server's copy of each advise datum where the platform keeps it.
//
// Posting WM_DDE_DATA to another process copies the datum into the message. Wine's DdePostAdvise
// then keeps the moveable block it made for the datum (a 4-byte header and the 12-byte record)
// and never frees it, and a Wine process has 65 536 moveable handles at most: after some
// 65 000 data every further datum would arrive empty, about half an hour of one map program.
// Where that is so, the server names the block before it is made (the next moveable block
// takes the handle freed last) and frees it once DdePostAdvise has returned, if it still holds
// exactly the datum sent.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

class AdviseBlockReclaimer {
public:
    using Record = std::array<std::uint8_t, 12>;

    // True where DdePostAdvise keeps the blocks it posts to other processes (Wine).
    static bool PlatformKeepsBlocks();

    // In the advise callback, just before the datum is handed back: the record, its
    // clipboard format and the process of the link's client.
    void ExpectBlock(const Record& record, UINT format, DWORD partnerProcessId);
    // After DdePostAdvise has returned: frees every expected block that holds its datum.
    // Returns how many were freed.
    int Reclaim();

private:
    struct Expected {
        HGLOBAL handle;
        Record record;
        UINT format;
    };
    std::vector<Expected> expected_;
};
