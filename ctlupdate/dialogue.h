// The updater's dialogue with the user: message boxes only, no window of its own.
#pragma once

namespace korva {

// Runs the whole dialogue (platform check, two questions, the update and its outcome).
void RunUpdateDialogue();

} // namespace korva
