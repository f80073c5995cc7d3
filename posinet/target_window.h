// Finding the map program's window from a DDE conversation with it.
#pragma once

#include <windows.h>
#include <ddeml.h>

// The main window of the process at the other end of the conversation: its first visible
// top-level window without an owner. Null when there is none (or the client is this process).
HWND MainWindowOfPartner(HCONV conversation);

// The process at the other end of the conversation; 0 when it cannot be told.
DWORD PartnerProcessId(HCONV conversation);
