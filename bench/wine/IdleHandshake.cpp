// [5] The idle hand-shake with tools/bench-wine.

#include "WineBench.h"

#include <cstdio>
#include <cstring>

// The script counts the program's thread switches from Linux; this side holds the program
// idle, and on request sends mouse moves only (wakes the hook, not the engine) or a train.
void IdleHandshake(ProgramUnderTest& program) {
    std::wstring folder = program.Folder();
    folder = folder.substr(folder.find_last_of(L"\\/") + 1);
    Print("PROGRAM_READY %lu %s\n", static_cast<unsigned long>(GetProcessId(program.Process())), Narrow(folder).c_str());
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "moves", 5) == 0) {
            constexpr int Moves = 1000;
            const double start = QpcNowMs();
            for (int i = 0; i < Moves; ++i) {
                g_pacer->WaitUntil(start + i * 1.0);
                INPUT input = MoveInput(350 + (i & 1), 350);
                SendInput(1, &input, sizeof input);
            }
            g_target->PlaceCursor();
            Print("MOVES_DONE %d\n", Moves);
        } else if (std::strncmp(line, "train", 5) == 0) {
            TakeNew();
            const double first = SendNotch(120);
            g_pacer->WaitUntil(first + 100);
            SendNotch(120);
            g_pacer->WaitUntil(first + 200);
            const double last = SendNotch(120);
            WaitTrainEnd(last, DefaultDurationMs);
            const std::vector<ReceivedWheel> events = TakeNew();
            Print("TRAIN_DONE %zu %.0f\n", events.size(),
                  events.empty() ? 0.0 : events.back().timeMs - events.front().timeMs);
        } else {
            break; // "end"
        }
    }
}
