#include "advise_atom.h"

#include "dde_handles.h"

namespace {

constexpr DWORD kItemNameSize = 256;

bool DetectSharing() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace

bool PostAdviseSharesItemAtom() {
    static const bool shares = DetectSharing();
    return shares;
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
