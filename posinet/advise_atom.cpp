#include "posinet/advise_atom.h"

#include "framework/dde_handles.h"
#include "posinet/wine_dde.h"

namespace {

constexpr DWORD kItemNameSize = 256;

} // namespace

bool PostAdviseSharesItemAtom() {
    return RunningOnWine();
}

void KeepItemAtomForNextLink(DWORD instance, HSZ item, UINT remaining) {
    if (remaining == 0 || !PostAdviseSharesItemAtom()) {
        return;
    }
    const std::string name = fw::DdeQueryText(instance, item, kItemNameSize);
    if (!name.empty()) {
        GlobalAddAtomA(name.c_str());
    }
}
