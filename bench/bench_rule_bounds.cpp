// Rules that few passwords keep, as an audit found them: each rule's count
// at its length and one password drawn from it, each in a child process of
// its own so that its CPU time and peak memory are its alone, against the
// yardstick of 10^5 plain passwords of 128 characters from the same random
// source. Medians of several runs; the bounds are 1 s and 64 MiB for a
// count, 10 ms for a password (the sampler built for it aside).
//   morvane_bench_rule_bounds [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "engine/password_rule.h"
#include "engine/rand.h"
#include "engine/rule_count.h"
#include "engine/rule_sampler.h"
#include "engine/rule_states.h"

using namespace morvane;

namespace {

struct AuditRule {
    const char* text;
    int length;
};

constexpr AuditRule kRules[] = {
    {"allowed: digit; max-consecutive: 1", 64},
    {"allowed: digit; max-consecutive: 1", 128},
    {"max-repeating: 1; allowed: [ab]", 40},
    {"max-repeating: 1; allowed: [ab]", 128},
    {"allowed: ascii-printable; required: [a]; required: [b]; required: [c]; required: [d]; required: [e]; "
     "required: [f]; required: [g]; required: [h]; required: [i]; required: [j]",
     20},
    {"allowed: ascii-printable; required: [a]; required: [b]; required: [c]; required: [d]; required: [e]; "
     "required: [f]; required: [g]; required: [h]; required: [i]; required: [j]",
     128},
    {"required: upper; required: lower; required: digit; required: special; required: [abc]; required: [XYZ]; "
     "max-consecutive: 2",
     128},
    {"allowed: [abcdef0123456789]; required: [a]; required: [b]; required: [0]; required: [1]; required: [2]; required: [3]; "
     "max-consecutive: 1",
     128},
    {"required: [abcdef]; required: [bcdefg]; required: [cdefgh]; required: [defghi]; required: [efghij]; "
     "required: [fghijk]; required: [ghijkl]; required: [hijklm]; required: [ijklmn]; required: [jklmno]",
     128},
    {"allowed: upper, lower; required: [abcdef]; required: [bcdefg]; required: [cdefgh]; required: [defghi]; "
     "required: [efghij]; required: [fghijk]; required: [ghijkl]; required: [hijklm]; required: [ijklmn]; "
     "required: [jklmno]; max-consecutive: 2",
     128},
};

using bench::CpuSeconds;
using bench::Median;

struct Measure {
    double count_seconds = 0, draw_seconds = 0, yardstick_seconds = 0;
    double peak_mib = 0;
};

// Runs `work` in a child, which writes its seconds to a pipe; the peak
// memory is the child's own.
template <class Work>
Measure InChild(Work work) {
    int ends[2];
    if (pipe(ends) != 0) std::exit(1);
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const Measure m = work();
        if (write(ends[1], &m, sizeof m) != sizeof m) _exit(1);
        _exit(0);
    }
    close(ends[1]);
    Measure m;
    if (read(ends[0], &m, sizeof m) != sizeof m) std::exit(1);
    close(ends[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    m.peak_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return m;
}

Measure RuleRun(const AuditRule& audit) {
    return InChild([&] {
        Measure m;
        const PasswordRule rule = std::get<PasswordRule>(ParsePasswordRule(audit.text));
        double start = CpuSeconds();
        if (!TooIntricateToCount(rule).empty()) {  // refused, in bounded time
            m.count_seconds = CpuSeconds() - start;
            m.draw_seconds = -1;
            return m;
        }
        const BigCount count = CountRulePasswords(rule, audit.length);
        m.count_seconds = CpuSeconds() - start;
        RuleSampler sampler(rule, audit.length, RuleDrawing::kBest, &count);
        constexpr int kDraws = 100;
        std::string out;
        start = CpuSeconds();
        for (int i = 0; i < kDraws; ++i) sampler.AppendTo(out);
        m.draw_seconds = (CpuSeconds() - start) / kDraws;
        return m;
    });
}

Measure YardstickRun() {
    return InChild([] {
        Measure m;
        const double start = CpuSeconds();
        uint32_t digits[128];
        uint64_t sink = 0;
        for (int i = 0; i < 100000; ++i) {
            DrawManyBelow(94, digits, 128);
            sink += digits[0];
        }
        m.yardstick_seconds = CpuSeconds() - start + static_cast<double>(sink & 1) * 1e-12;
        return m;
    });
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> yardstick;
    std::printf("%-70s %4s %10s %10s %9s %8s\n", "rule", "len", "count s", "draw ms", "peak MiB", "draw/yd");
    bool within = true;
    for (const AuditRule& audit : kRules) {
        std::vector<double> counts, draws, peaks;
        for (int run = 0; run < runs; ++run) {
            yardstick.push_back(YardstickRun().yardstick_seconds);
            const Measure m = RuleRun(audit);
            counts.push_back(m.count_seconds);
            draws.push_back(m.draw_seconds);
            peaks.push_back(m.peak_mib);
        }
        const double count = Median(counts), draw = Median(draws), peak = Median(peaks);
        // The yardstick's time for one password of 128 characters.
        const double yard = Median(yardstick) / 100000;
        if (draw < 0)
            std::printf("%-70.70s %4d %10.3f %10s %9.1f refused as too intricate\n", audit.text, audit.length, count,
                        "-", peak);
        else
            std::printf("%-70.70s %4d %10.3f %10.3f %9.1f %8.0f\n", audit.text, audit.length, count, draw * 1e3, peak,
                        draw / yard);
        within = within && count <= 1.0 && peak <= 64.0 && draw <= 0.010;
    }
    std::printf("yardstick: %.3f s for 10^5 passwords of 128 characters (median of %zu)\n", Median(yardstick),
                yardstick.size());
    std::printf("%s\n", within ? "every rule within its bounds" : "A RULE IS OUT OF ITS BOUNDS");
    return within ? 0 : 1;
}
