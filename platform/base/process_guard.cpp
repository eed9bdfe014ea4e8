#include "platform/base/process_guard.h"

#include <malloc.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string.h>
#include <new>

namespace morvane {
namespace {

const char* g_program = "morvane";
// What released memory is overwritten with; memory handed out reads as its
// complement until written.
constexpr int kReleasedMemoryFill = 0xA5;

// Allocates nothing: memory has just run out.
[[noreturn]] void EndOutOfMemory() {
    const char message[] = ": out of memory\n";
    ssize_t ignored = ::write(STDERR_FILENO, g_program, std::strlen(g_program));
    ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    ::_exit(kSystemFailureExit);
}

}  // namespace

void WipeReleasedSmallBlocks() {
    // The sizes kept aside (usable sizes 24 to 1032 in steps of 16), and
    // more of each than are kept (7) unless the C library is tuned so.
    constexpr size_t kSmallest = 24, kLargest = 1032, kStep = 16;
    constexpr int kTakenPerSize = 16;
    void* blocks[kTakenPerSize];
    for (size_t size = kSmallest; size <= kLargest; size += kStep) {
        for (void*& block : blocks) {
            block = std::malloc(size);
            if (block) ::explicit_bzero(block, size);
        }
        for (void* block : blocks) std::free(block);
    }
}

void GuardProcess(const char* program) {
    g_program = program;
    // Not dumpable: no core file that holds the passwords, and only a
    // privileged process may attach to read them.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    std::set_new_handler(EndOutOfMemory);
    // Memory given back to the C library is overwritten at once, so the
    // copies of passwords that the toolkit keeps in its own buffers (the
    // list's text, its layouts, the fields) do not linger after their use.
    ::mallopt(M_PERTURB, kReleasedMemoryFill);
}

}  // namespace morvane
