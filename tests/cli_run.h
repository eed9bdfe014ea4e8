#pragma once
// Runs morvane-cli as a user does, with its output, messages and exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cli_run {

struct Result {
    std::string out, err;
    int code = -1;
};

// Runs the program with `args`; `then` is a shell pipeline its output goes
// through, `before` what it runs under (env, for one).
inline Result Cli(const std::string& args, const std::string& then = "", const std::string& before = "") {
    static int calls = 0;
    const std::string err_file = testing::TempDir() + "/morvane-cli-err-" + std::to_string(getpid()) + "-" +
                                 std::to_string(++calls) + ".txt";
    // A hang ends after a minute with a failure instead of stalling the suite.
    std::string command = before + " timeout 60 " + std::string(MORVANE_CLI) + " " + args + " 2>" + err_file + then;
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    int status = pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err_file);
    std::stringstream s;
    s << in.rdbuf();
    r.err = s.str();
    std::remove(err_file.c_str());
    return r;
}

inline std::vector<std::string> Lines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t next; (next = text.find(end, at)) != std::string::npos; at = next + end.size())
        lines.push_back(text.substr(at, next - at));
    EXPECT_EQ(at, text.size()) << "the last line has no line end";
    return lines;
}

}  // namespace cli_run

using cli_run::Cli;
using cli_run::Lines;
using cli_run::Result;
