// How the window's handlers treat failures: each step reports whether it
// worked, a step that fails is skipped and the next one runs, and nothing is
// reported. Only the size reading stops at its first failure.
#pragma once

namespace trevolo {

// Runs every step in order, whatever each one reports.
template <typename... Steps>
void RunEachStep(Steps&&... steps) {
    (static_cast<void>(steps()), ...);
}

// Runs the steps in order and stops at the first that fails; true when all ran.
template <typename... Steps>
bool RunStepsUntilFailure(Steps&&... steps) {
    return (static_cast<bool>(steps()) && ...);
}

}  // namespace trevolo
