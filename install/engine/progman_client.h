// The installer's DDE client of Program Manager: one conversation, the commands sent as
// execute transactions, the product's group created at the end of an installation and
// deleted by the removal.
#pragma once

#include "framework/dde_handles.h"
#include "install/engine/portable/progman_commands.h"
#include "install/shared/portable/install_state.h"

#include <string>

class CWnd;

namespace korva {

// Time a command may take before the next one is sent.
constexpr DWORD kProgmanTimeoutMs = 1000;

// Sends one command as an execute transaction, in a text block of kProgmanBlockSize bytes
// (a longer command in a block of its own length). The outcome is not examined.
void SendProgmanCommand(DWORD instance, HCONV conversation, const std::string& command);

// A client conversation with Program Manager. Whatever was set up is released in reverse
// order when the object goes, also when the connection failed half way.
class ProgmanConversation {
public:
    // False when the DDE instance cannot be initialised or no server answers. `service`
    // names the server; tests give their own.
    bool Connect(const char* service = kProgmanService);
    void Send(const std::string& command) const;

private:
    fw::DdeInstance instance_;
    fw::DdeStringHandle service_;
    fw::DdeStringHandle topic_;
    fw::UniqueDdeConversation conversation_;
};

// Asks message 6; on Yes creates the group "KORVA" and its items. True when the
// conversation took place, false when the user declined or Program Manager did not answer.
bool CreateProgramGroup(CWnd& owner, const InstallState& install,
                        const char* service = kProgmanService);

// Deletes the group "KORVA", with no question. 1 when the command was sent, 0 when no
// conversation could be set up.
int DeleteProgramGroup(const char* service = kProgmanService);

} // namespace korva
