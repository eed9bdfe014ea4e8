#pragma once
// What a program that holds passwords in memory sets up before anything
// else: no core dump and no debugger attaching without privilege, and a
// plain message instead of an abort when memory runs out.
namespace morvane {

// `program` names the program in the out-of-memory message on standard error.
void GuardProcess(const char* program);

// The C library keeps a few released blocks of each small size aside for
// quick reuse, and overwrites none of them. This takes them out, zeroes them
// and gives them back: called once passwords have been let go.
void WipeReleasedSmallBlocks();

// The exit code of a program that ends on a system failure.
inline constexpr int kSystemFailureExit = 1;

}  // namespace morvane
