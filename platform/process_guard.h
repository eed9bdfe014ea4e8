#pragma once
// What a program that holds passwords in memory sets up before anything
// else: no core dump and no debugger attaching without privilege, and a
// plain message instead of an abort when memory runs out.
namespace morvane {

// `program` names the program in the out-of-memory message on standard error.
void GuardProcess(const char* program);

// The exit code of a program that ends on a system failure.
inline constexpr int kSystemFailureExit = 1;

}  // namespace morvane
