// Keeps the item atom of every advise datum valid for its receiver.
//
// The DDE rule is one global-atom reference per posted message: the receiver of WM_DDE_DATA
// deletes the item atom it gets. Wine's DdePostAdvise adds a single reference and posts it to
// every link of the item, so once the first client has deleted it the others find no item
// name and drop the datum: with two map programs, most data never arrive. Where that is so,
// the server adds the missing reference for each further link itself.
#pragma once

#include <windows.h>
#include <ddeml.h>

// True where DdePostAdvise shares one atom reference among all links of an item (Wine).
bool PostAdviseSharesItemAtom();

// Called for each XTYP_ADVREQ of a DdePostAdvise: `remaining` is the low word of its first
// data value, the links of the item still to be served after this one. Adds one reference
// to the item's global atom unless this is the last link, where the sharing applies.
void KeepItemAtomForNextLink(DWORD instance, HSZ item, UINT remaining);
