// Whether this process runs on Wine, whose DDEML differs from Windows' in ways the server
// has to make up for (see advise_atom.h and advise_block.h).
#pragma once

bool RunningOnWine();
