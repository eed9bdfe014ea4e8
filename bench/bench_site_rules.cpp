// Site rules against plain passwords: the CPU time of 10^6 passwords of
// ubisoft.com's rule (16 characters of 74, five required sets), drawn with
// their exact share, against 10^6 plain passwords of the same length and
// pool, both through the generator as morvane-cli uses it; and, as the
// yardstick, the least loop that draws 16 characters of 74 from the same
// random source. Each is run several times; the medians are compared.
//   morvane_bench_site_rules [RUNS]
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "engine/generator.h"
#include "engine/rand.h"
#include "engine/site_rules.h"

using namespace morvane;

namespace {

constexpr int kPasswords = 1000000;
constexpr int kLength = 16;

using bench::CpuSeconds;
using bench::Median;

// The CPU seconds of making kPasswords lines with the generator.
double GeneratorRun(const GenerationSettings& settings) {
    Generator generator(settings);
    if (!generator.ready()) {
        std::fprintf(stderr, "the generator refuses: %s\n", generator.problem().c_str());
        std::exit(1);
    }
    std::string out;
    const double start = CpuSeconds();
    for (int done = 0; done < kPasswords;) {
        out.clear();
        done += generator.AppendLinesUtf8(out, std::min(Generator::kLinesAtOnce, kPasswords - done), "\n");
    }
    return CpuSeconds() - start;
}

double YardstickRun() {
    uint32_t digits[kLength];
    std::string out;
    const double start = CpuSeconds();
    for (int i = 0; i < kPasswords; ++i) {
        if (i % Generator::kLinesAtOnce == 0) out.clear();
        DrawManyBelow(74, digits, kLength);
        for (uint32_t d : digits) out += static_cast<char>('!' + d);
        out += '\n';
    }
    return CpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    TableProblem problem;
    const auto sites = ReadSiteTable(BundledSiteTableText(), problem);
    GenerationSettings rule;
    rule.mode = GenerationMode::kSiteRules;
    rule.rules = sites->at("ubisoft.com").rule;
    rule.site = "ubisoft.com";
    rule.min_length = rule.max_length = kLength;
    rule.variable_length = false;
    rule.length_given = true;
    GenerationSettings plain;  // the same 74: letters, digits, '-' and the rule's ten symbols
    plain.special = false;
    plain.other_in = true;
    plain.other_in_text = U"- ! @ # $ % ^ & * ( ) +";
    plain.min_length = plain.max_length = kLength;
    plain.variable_length = false;
    std::vector<double> rules, plains, yardsticks;
    for (int run = 0; run < runs; ++run) {
        yardsticks.push_back(YardstickRun());
        plains.push_back(GeneratorRun(plain));
        rules.push_back(GeneratorRun(rule));
        std::printf("run %d: yardstick %.3f s, plain %.3f s, ubisoft.com %.3f s, ratio to plain %.2f\n", run + 1,
                    yardsticks.back(), plains.back(), rules.back(), rules.back() / plains.back());
    }
    const double r = Median(rules), p = Median(plains), y = Median(yardsticks);
    std::printf("medians of %d: yardstick %.3f s, plain %.3f s (%.2f of the yardstick), ubisoft.com %.3f s "
                "(%.2f of the yardstick): site rules / plain = %.2f\n",
                runs, y, p, p / y, r, r / y, r / p);
}
