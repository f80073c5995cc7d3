// Random inputs that can be replayed: every random test takes its seed from here.
#pragma once

namespace testseed {

// The seed of KORVA_TEST_SEED when it is set (to replay a run), otherwise a new one. Printed
// as "KORVA_TEST_SEED=<n>" so that a failing run shows how to replay it.
unsigned Seed();

} // namespace testseed
