// Progress reports and the cancel question of one compile, passed on to the user interaction.
#pragma once

#include <atomic>
#include <chrono>

#include "core/model/UserInteraction.h"

class CCompileProgress {
public:
    explicit CCompileProgress(IUserInteraction& ui) : m_ui(ui) {}

    // A new phase starts: reported at once with fraction 0. Thread of the operation only.
    void Enter(ProgressPhase phase);
    // How far the current phase is; passed on at most five times a second. Thread of the
    // operation only.
    void Update(double fraction);

    // Whether the person asked to stop; once true it stays true. Any thread.
    bool Cancelled();

private:
    IUserInteraction& m_ui;
    ProgressPhase m_phase = ProgressPhase::Counting;
    std::chrono::steady_clock::time_point m_last{};
    std::atomic<bool> m_bCancelled{false};
};
